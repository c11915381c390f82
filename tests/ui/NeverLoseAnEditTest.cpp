// What keeps work from being lost: the save question, the modified flag of
// every command, a file changed by another writer, boxes above the window
// they came from, and the keys that must not send typing elsewhere.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QWindow>
#include <functional>

#include "AboutBox.h"
#include "ColumnWidthsDialog.h"
#include "DialogDriver.h"
#include "FindDialog.h"
#include "FoundCellsWindow.h"
#include "FoundRecordsWindow.h"
#include "HtmlExportDialog.h"
#include "ItemNamesDialog.h"
#include "MainWindowFixture.h"
#include "RowHeightDialog.h"
#include "SortDialog.h"
#include "WindowInput.h"

namespace {

using NeverLoseAnEditTest = MainWindowFixture;

const QString kSaveQuestion = QStringLiteral("内容が変更されています。変更を保存しますか？");

void FillSmall(MainWindowFixture& t) {
    t.Fill({{"名前", "年齢"}, {"山田", "30"}, {"佐藤", "41"}});
}

TEST_F(NeverLoseAnEditTest, EscAtTheSaveQuestionCancelsCloseNewAndOpen) {
    const QString other = PathOf(QStringLiteral("other.csv"));
    WriteFile(other, "a\r\n");
    const struct {
        const char* what;
        std::function<void(NeverLoseAnEditTest&)> ask;
    } cases[] = {
        {"close",
         [](NeverLoseAnEditTest& t) {
             t.prompts_.Dismiss();
             EXPECT_FALSE(t.Close());
         }},
        {"new",
         [](NeverLoseAnEditTest& t) {
             t.prompts_.Dismiss();
             t.action("newAction")->trigger();
         }},
        {"open",
         [&other](NeverLoseAnEditTest& t) {
             t.prompts_.OpenFile(other).Dismiss();
             t.action("openAction")->trigger();
         }},
    };
    Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FillSmall(*this);
        Select(1, 1);
        Type(QStringLiteral("x"));
        c.ask(*this);
        EXPECT_EQ(prompts_.AskedTexts().back(), kSaveQuestion);
        EXPECT_TRUE(mainWindow()->isVisible());
        EXPECT_EQ(Cell(1, 1), QStringLiteral("x"));
        EXPECT_TRUE(model().Modified());
    }
}

// Every change a save would write sets the flag, so closing asks; searching,
// moving, the row height and the HTML page do not.
TEST_F(NeverLoseAnEditTest, ClosingAsksAfterExactlyTheCommandsThatChangeTheFile) {
    const QString page = PathOf(QStringLiteral("page.htm"));
    const struct {
        const char* what;
        bool asks;
        std::function<void(NeverLoseAnEditTest&)> run;
    } cases[] = {
        {"typing", true, [](auto& t) { t.Type(QStringLiteral("x")); }},
        {"paste", true,
         [](auto& t) {
             QApplication::clipboard()->setText(QStringLiteral("貼"));
             t.Key(Qt::Key_V, Qt::ControlModifier);
         }},
        {"delete", true,
         [](auto& t) {
             t.editor()->selectAll();
             t.Key(Qt::Key_Delete);
         }},
        {"insert row", true, [](auto& t) { t.action("insertRowAction")->trigger(); }},
        {"insert column", true, [](auto& t) { t.action("insertColumnAction")->trigger(); }},
        {"delete row", true, [](auto& t) { t.action("deleteRowAction")->trigger(); }},
        {"delete column", true, [](auto& t) { t.action("deleteColumnAction")->trigger(); }},
        {"row drag", true, [](auto& t) { t.grid()->verticalHeader()->moveSection(0, 1); }},
        {"column drag", true, [](auto& t) { t.grid()->horizontalHeader()->moveSection(0, 1); }},
        {"item names", true,
         [](auto&) {
             emit window<ItemNamesDialog>()->namesAccepted({"甲", "乙"});
         }},
        {"sort", true,
         [](auto&) {
             emit window<SortDialog>()->sortRequested(0, tabulon::SortOrder::TextAscending);
         }},
        {"column widths", true,
         [](auto&) { emit window<ColumnWidthsDialog>()->widthsApplied({"99"}); }},
        {"font", true,
         [](auto& t) {
             QFont font(QStringLiteral("IPAGothic"));
             font.setPointSize(14);
             t.prompts_.ChooseFont(font);
             t.action("fontAction")->trigger();
         }},
        {"find next", false,
         [](auto&) {
             SearchRequest request;
             request.text = QStringLiteral("佐藤");
             emit window<FindDialog>()->searchRequested(SearchKind::FindNext, request);
         }},
        {"moving", false, [](auto& t) { t.Key(Qt::Key_Down); }},
        {"row height", false, [](auto&) { emit window<RowHeightDialog>()->heightAccepted(30); }},
        {"HTML export", false,
         [&page](auto&) {
             emit window<HtmlExportDialog>()->exportRequested({page, "t", true, false});
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Start();
        FillSmall(*this);
        Select(1, 1);
        c.run(*this);
        if (c.asks) {
            prompts_.Dismiss();
            EXPECT_FALSE(Close());
            EXPECT_EQ(prompts_.AskedTexts().back(), kSaveQuestion);
            prompts_.No();
        }
        EXPECT_TRUE(Close());
        prompts_ = ScriptedPrompts();
    }
}

TEST_F(NeverLoseAnEditTest, SaveAsksBeforeOverwritingAFileAnotherProgramChanged) {
    const QString path = PathOf(QStringLiteral("t.csv"));
    WriteFile(path, "a\r\n");
    Start({path});
    Type(QStringLiteral("b"));
    WriteFile(path, "other program\r\n");
    const QString question =
        QStringLiteral(
            "ファイル %1 は、読み込んだ後にほかのプログラムで変更されています。\r\n"
            "上書き保存しますか？（「いいえ」で名前を付けて保存します）")
            .arg(path);

    prompts_.Dismiss();
    action("saveAction")->trigger();
    EXPECT_EQ(prompts_.AskedTexts().back(), question);
    EXPECT_EQ(ReadFile(path), QStringLiteral("other program\r\n"));

    prompts_.No().CancelSave();
    action("saveAction")->trigger();
    EXPECT_EQ(prompts_.asked().back().kind, ScriptedPrompts::Kind::SaveFile);
    EXPECT_EQ(ReadFile(path), QStringLiteral("other program\r\n"));

    prompts_.Yes();
    action("saveAction")->trigger();
    EXPECT_EQ(ReadFile(path), QStringLiteral("b\r\n"));
    EXPECT_FALSE(model().Modified());
    // Our own save is no change by another program.
    Type(QStringLiteral("c"));
    action("saveAction")->trigger();
    EXPECT_EQ(ReadFile(path), QStringLiteral("bc\r\n"));

    // Closing, はい, and the Save As dialog's own name: the same question.
    WriteFile(path, "other again\r\n");
    Type(QStringLiteral("d"));
    prompts_.Yes().SaveFile(path).Dismiss();
    EXPECT_FALSE(Close());
    EXPECT_EQ(prompts_.AskedTexts().back(), question);
    EXPECT_TRUE(prompts_.asked().back().warning);
    EXPECT_EQ(ReadFile(path), QStringLiteral("other again\r\n"));
}

TEST_F(NeverLoseAnEditTest, WritersAskBeforeReplacingAFile) {
    const QString path = PathOf(QStringLiteral("t.csv"));
    const QString question = QStringLiteral("%1 は既に存在します。上書きしますか？").arg(path);
    Start();
    WriteFile(path, "old");
    // いいえ, the default, and Esc go back to the dialog; はい replaces the file.
    prompts_.SaveFile(path).No().SaveFile(path).Dismiss().SaveFile(path).Yes();
    action("saveAsAction")->trigger();
    EXPECT_EQ(prompts_.AskedTexts()[1], question);
    EXPECT_TRUE(prompts_.asked()[1].noByDefault);
    EXPECT_NE(ReadFile(path), QStringLiteral("old"));
    // The HTML window stays open on いいえ.
    window<HtmlExportDialog>()->show();
    prompts_.No();
    emit window<HtmlExportDialog>()->exportRequested({path, "t", true, false});
    EXPECT_EQ(prompts_.AskedTexts().back(), question);
    EXPECT_TRUE(window<HtmlExportDialog>()->isVisible());
}

TEST_F(NeverLoseAnEditTest, SecondaryWindowsStayAboveTheMainWindowAndKeepTheirBoxes) {
    Start();
    QWidget* const windows[] = {
        window<AboutBox>(),         window<ItemNamesDialog>(),  window<RowHeightDialog>(),
        window<SortDialog>(),       window<FindDialog>(),       window<ColumnWidthsDialog>(),
        window<FoundCellsWindow>(), window<HtmlExportDialog>(), window<FoundRecordsWindow>()};
    for (QWidget* secondary : windows) {
        SCOPED_TRACE(secondary->objectName().toStdString());
        EXPECT_EQ(secondary->windowType(), Qt::Dialog);
        secondary->show();
        EXPECT_EQ(secondary->windowHandle()->transientParent(), mainWindow()->windowHandle());
        secondary->hide();
    }

    // An error box of the width dialog belongs to it, so the keyboard goes back there.
    FillSmall(*this);
    OpenWith(window<ColumnWidthsDialog>(), editor(), Qt::Key_W);
    QApplication::setActiveWindow(window<ColumnWidthsDialog>());
    ASSERT_TRUE(
        WaitUntil([] { return QApplication::activeWindow() == window<ColumnWidthsDialog>(); }));
    ReplaceEntry(Child<EntryList>(window<ColumnWidthsDialog>(), "widthList"), 0,
                 QStringLiteral("x"));
    prompts_.ErrorBox();
    ClickButton(window<ColumnWidthsDialog>(), "applyButton");
    ASSERT_EQ(prompts_.asked().size(), 1u);
    EXPECT_EQ(prompts_.asked()[0].parent, window<ColumnWidthsDialog>());
}

TEST_F(NeverLoseAnEditTest, AltFAlwaysOpensTheFileMenuAndKeysCloseTheSmallWindows) {
    Start();
    QMenuBar* bar = mainWindow()->menuBar();
    for (int press = 0; press < 2; ++press) {
        PressIn(mainWindow(), Qt::Key_F, Qt::AltModifier);
        ASSERT_NE(bar->activeAction(), nullptr);
        EXPECT_EQ(bar->activeAction()->text(), QStringLiteral("ファイル(&F)")) << press;
        bar->setActiveAction(nullptr);
        QApplication::processEvents();
    }

    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space}) {
        action("aboutAction")->trigger();
        ASSERT_TRUE(window<AboutBox>()->isVisible());
        QTest::keyClick(window<AboutBox>(), key);
        EXPECT_FALSE(window<AboutBox>()->isVisible()) << key;
    }
}

TEST_F(NeverLoseAnEditTest, TheDefaultWindowShowsAllPanelsAndFindNextShowsWhatItFound) {
    Start();
    auto* panels = mainWindow()->findChild<QWidget*>(QStringLiteral("statusPanels"));
    const QList<QLabel*> labels = panels->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 3);
    for (const QLabel* label : labels) {
        EXPECT_LE(label->geometry().left() + 40, panels->width()) << "a panel out of view";
    }

    const QString head(300, u'あ');
    SearchRequest request;
    request.text = QStringLiteral("東京");
    Fill({{"項目"}, {"x"}, {head + QStringLiteral("東京都") + QString(300, u'い')}});
    Select(1, 1);
    emit window<FindDialog>()->searchRequested(SearchKind::FindNext, request);
    EXPECT_EQ(model().CurrentRow(), 2);
    EXPECT_EQ(editor()->selectedText(), QStringLiteral("東京"));
    EXPECT_EQ(editor()->selectionStart(), head.size());
}

}  // namespace
