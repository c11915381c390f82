// The menus: captions, keys and hints, the hint panel, enabling, the edit
// actions on whichever text box has the focus, the font and help commands,
// and the two ways of opening a secondary window.

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QUrl>

#include "AboutBox.h"
#include "FindDialog.h"
#include "HtmlExportDialog.h"
#include "ItemNamesDialog.h"
#include "MainWindowFixture.h"
#include "SecondaryWindow.h"
#include "SortDialog.h"

namespace {

using CommandTableTest = MainWindowFixture;

QStringList Items(const QMenu* menu) {
    QStringList items;
    for (const QAction* a : menu->actions()) {
        items.append(a->isSeparator() ? QStringLiteral("-")
                                      : a->text() + QLatin1Char('|') + a->shortcut().toString() +
                                            QLatin1Char('|') + a->statusTip());
    }
    return items;
}

TEST_F(CommandTableTest, TheMenusCarryTheirCaptionsKeysAndHints) {
    Start();
    QStringList bar;
    for (const QAction* a : mainWindow()->menuBar()->actions()) {
        bar.append(a->text());
    }
    EXPECT_EQ(bar, (QStringList{"ファイル(&F)", "編集(&E)", "検索(&F)", "表(&T)", "ヘルプ(&H)"}));
    const auto menu = [](const char* name) {
        return Items(mainWindow()->findChild<QMenu*>(QString::fromLatin1(name)));
    };
    EXPECT_EQ(menu("fileMenu"),
              (QStringList{"新規作成(&N)|Ctrl+N|新しく表を作ります",
                           "開く(&O)...|Ctrl+O|既存のファイルを開きます",
                           "上書き保存(&S)||編集中のファイルが存在していれば上書き保存します",
                           "名前を付けて保存(&A)...||編集中の表に名前を付けて保存します",
                           "HTML形式で保存(&H)...||編集中の表をＨＴＭＬ形式で保存します",
                           "PDF形式で保存(&D)...||編集中の表をＰＤＦ形式で保存します", "-",
                           "印刷プレビュー(&V)...||印刷される姿を画面で確かめます",
                           "印刷(&P)...|Ctrl+P|編集中の表を印刷します", "-",
                           "最近使ったファイル(&R)||", "-", "終了(&E)||Tabulunを終了します"}));
    const QStringList editItems{"元に戻す(&U)|Ctrl+Z|直前の変更を元に戻します",
                                "やり直し(&R)|Ctrl+Y|元に戻した変更をやり直します",
                                "-",
                                "切り取り(&T)|Ctrl+X|選択部分を切り取り、クリップボードに送ります",
                                "コピー(&C)|Ctrl+C|選択部分をコピーし、クリップボードに送ります",
                                "貼り付け(&P)|Ctrl+V|クリップボードの内容を貼り付けます",
                                "削除(&D)|Del|選択部分を削除します",
                                "-",
                                "行の挿入|Ctrl+Ins|編集中のセルの上に新たに行を追加します",
                                "列の挿入|Shift+Ins|編集中のセルの左に新たに列を追加します",
                                "行の削除|Ctrl+Del|編集中の行を削除します",
                                "列の削除|Shift+Del|編集中の列を削除します"};
    const QStringList fontItems{"-", "フォントの設定(&F)...||フォントの設定を行います"};
    EXPECT_EQ(menu("editMenu"), editItems + fontItems);
    const QString clearFilter = "絞り込みの解除(&K)|Ctrl+Shift+L|すべてのレコードを表示します";
    const QStringList filterItems{"-",
                                  "この値で絞り込み(&V)||"
                                  "編集中のセルと同じ値のレコードだけを表示します",
                                  clearFilter};
    EXPECT_EQ(menu("gridMenu"), editItems + filterItems);
    EXPECT_EQ(menu("searchMenu"),
              (QStringList{"検索(&F)...|Ctrl+F|表内から検索を行います",
                           "次を検索(&S)|F3|直前の検索条件で検索を行います", "-",
                           "絞り込み(&L)...|Ctrl+L|"
                           "条件に合うレコードだけを表示します",
                           clearFilter}));
    EXPECT_EQ(menu("tableMenu"),
              (QStringList{"カード表示(&C)|F4|編集中のレコードをカードで表示します", "-",
                           "整列(&S)...|Ctrl+S|表を行ごとに整列します", "-",
                           "項目編集(&E)...|Ctrl+I|項目名を編集します",
                           "高さの変更(&H),,,|Ctrl+H|全セルの高さを設定します",
                           "横幅の変更(&W)...|Ctrl+W|各列ごとに横幅を設定します"}));
    EXPECT_EQ(menu("helpMenu"),
              (QStringList{"Tabulonのヘルプ(&H)||ヘルプを表示します", "-",
                           "バージョン情報(&A)...||Tabulunのバージョン情報を表示します"}));
}

TEST_F(CommandTableTest, AHighlightedItemShowsItsHintInTheFirstPanel) {
    Start();
    for (const char* name : {"editMenu", "gridMenu"}) {
        SCOPED_TRACE(name);
        auto* menu = mainWindow()->findChild<QMenu*>(QString::fromLatin1(name));
        menu->popup(mainWindow()->mapToGlobal(QPoint(20, 20)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QAction* lineDelete = nullptr;
        for (QAction* a : menu->actions()) {
            if (a->text() == QStringLiteral("行の削除")) {
                lineDelete = a;
            }
        }
        menu->setActiveAction(lineDelete);
        EXPECT_EQ(Panel(0), QStringLiteral("編集中の行を削除します"));
        EXPECT_EQ(mainWindow()->statusBar()->currentMessage(), QString());
        menu->close();
        EXPECT_EQ(Panel(0), QString());
    }
}

TEST_F(CommandTableTest, EditActionsFollowTheFocusedTextBox) {
    const QString path = PathOf(QStringLiteral("notes.txt"));
    WriteFile(path, QByteArray("hello world"));
    prompts_.Ok();
    Start({path});
    auto* textPane = mainWindow()->findChild<QPlainTextEdit*>(QStringLiteral("textPane"));
    auto* menu = mainWindow()->findChild<QMenu*>(QStringLiteral("editMenu"));
    ASSERT_TRUE(textPane->isVisible());
    QApplication::clipboard()->setText(QStringLiteral("clip"));

    textPane->setFocus();
    QTextCursor cursor = textPane->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    textPane->setTextCursor(cursor);
    emit menu->aboutToShow();
    EXPECT_TRUE(action("copyAction")->isEnabled());
    // The pane is for reading: its text can be copied, not changed.
    EXPECT_FALSE(action("pasteAction")->isEnabled());
    EXPECT_FALSE(action("cutAction")->isEnabled());
    EXPECT_FALSE(action("undoAction")->isEnabled());
    QTest::keyClick(textPane, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("hello"));
    // The row command still answers its key and works on the table.
    QTest::keyClick(textPane, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(model().RowCount(), 4);
    EXPECT_EQ(textPane->toPlainText(), QStringLiteral("hello world"));
    QTest::keyClick(textPane, Qt::Key_Delete);
    QTest::keyClicks(textPane, QStringLiteral("x"));
    EXPECT_EQ(textPane->toPlainText(), QStringLiteral("hello world"));

    // With the focus nowhere in a text box, all five are disabled.
    mainWindow()->menuBar()->setFocus();
    mainWindow()->findChild<QWidget*>(QStringLiteral("menuBar"))->setFocusPolicy(Qt::StrongFocus);
    mainWindow()->menuBar()->setFocus();
    emit menu->aboutToShow();
    for (const char* name : {"cutAction", "copyAction", "pasteAction", "deleteAction"}) {
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    }
    // Undo then takes the table's own steps.
    EXPECT_EQ(action("undoAction")->isEnabled(), model().Modified());
}

TEST_F(CommandTableTest, TheFontCommandSetsTheMarkerColumnEvenWhenCancelled) {
    Start();
    model().SetColWidth(0, 40);
    prompts_.CancelFont();
    action("fontAction")->trigger();
    EXPECT_EQ(model().GetColWidth(0), 15);

    QFont chosen(QStringLiteral("IPAGothic"));
    chosen.setPointSize(12);
    chosen.setItalic(true);
    chosen.setUnderline(true);
    prompts_.ChooseFont(chosen);
    MarkSaved();
    action("fontAction")->trigger();
    EXPECT_EQ(model().Font().Size(), 12);
    EXPECT_EQ(model().Font().style, unsigned{tabulon::kItalic | tabulon::kUnderline});
    EXPECT_EQ(model().Font().faceName, "IPAGothic");
    EXPECT_EQ(model().GetColWidth(0), 18);
    EXPECT_EQ(model().RowHeight(), 18);
    EXPECT_TRUE(grid()->font().italic());
    EXPECT_TRUE(model().Modified()) << "the file holds the marker column's width";
}

// Records the links handed to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
  public slots:
    void open(const QUrl& url) { urls.append(url); }
};

TEST_F(CommandTableTest, HelpOpensTheGuideOnTheDesktopOrSaysItIsMissing) {
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    Start();
    action("helpAction")->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls[0].toLocalFile(), HelpGuide());
    EXPECT_TRUE(prompts_.asked().empty());

    QFile::remove(HelpGuide());
    prompts_.ErrorBox();
    action("helpAction")->trigger();
    EXPECT_EQ(prompts_.AskedTexts().back(),
              QStringLiteral("ファイル %1 は開けません.").arg(HelpGuide()));
}

TEST_F(CommandTableTest, SecondaryWindowsOpenCentredAndBlockingOrWhereTheyStood) {
    Start();
    mainWindow()->move(200, 100);
    mainWindow()->resize(600, 400);
    const QRect frame = mainWindow()->frameGeometry();
    const struct {
        const char* command;
        QWidget* window;
        bool blocks;
    } cases[] = {
        {"sortAction", window<SortDialog>(), true},
        {"itemNamesAction", window<ItemNamesDialog>(), true},
        {"aboutAction", window<AboutBox>(), true},
        {"findAction", window<FindDialog>(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        c.window->resize(200, 100);
        action(c.command)->trigger();
        EXPECT_TRUE(c.window->isVisible());
        const QSize size = c.window->frameGeometry().size();
        EXPECT_EQ(c.window->pos(), QPoint(frame.x() + (frame.width() - size.width()) / 2,
                                          frame.y() + (frame.height() - size.height()) / 2));
        EXPECT_EQ(QApplication::activeModalWidget() == c.window, c.blocks);
        c.window->close();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    // Ctrl+S is the sort, not a save.
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(window<SortDialog>()->isVisible());
    EXPECT_TRUE(prompts_.asked().empty());
    window<SortDialog>()->close();

    // The HTML window opens where it last stood; F3 shows the find window so.
    window<HtmlExportDialog>()->move(30, 40);
    action("exportHtmlAction")->trigger();
    EXPECT_EQ(window<HtmlExportDialog>()->pos(), QPoint(30, 40));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    window<FindDialog>()->move(50, 60);
    Key(Qt::Key_F3);
    EXPECT_TRUE(window<FindDialog>()->isVisible());
    EXPECT_EQ(window<FindDialog>()->pos(), QPoint(50, 60));

    // A window wider than the main window starts at the screen's edge.
    QWidget wide(mainWindow(), Qt::Window);
    wide.resize(1400, 900);
    ShowSecondaryWindow(*mainWindow(), wide, WindowPlacement::Centred, MainWindowInput::Blocked);
    EXPECT_EQ(wide.pos(), QPoint(0, 0));
    wide.hide();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace

#include "CommandTableTest.moc"
