// New, Open, Save and Save As with the save prompt, the caption, the text
// pane and the common error box, answered by scripted prompts.

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>

#include "MainWindowFixture.h"
#include "files/TextViewFile.h"
#include "text/ErrorText.h"

namespace {

using FileCommandsTest = MainWindowFixture;

const QString kSaveQuestion = QStringLiteral("内容が変更されています。変更を保存しますか？");

// A native table of one item column: name and two records.
QByteArray NativeTable(const QString& name, const QString& first, const QString& second) {
    return Cp932(
        QStringLiteral("2\r\n4\r\n15\r\n64\r\n%1\r\n%2\r\n%3\r\n\r\n").arg(name, first, second));
}

TEST_F(FileCommandsTest, NewAfterChangesAnsweredNoEmptiesTheTableAndForgetsTheName) {
    Start();
    Fill({{"名前"}, {"山田"}});
    model().SetCurrentFileName(PathOf(QStringLiteral("old.tbn")).toStdString());
    MarkChanged();
    prompts_.No();
    action("newAction")->trigger();
    EXPECT_EQ(prompts_.AskedTexts(), QStringList{kSaveQuestion});
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("NoName - Tabulon"));
    EXPECT_EQ(model().ColCount(), 2);
    EXPECT_EQ(model().RowCount(), 3);
    EXPECT_EQ(Row(1), QStringLiteral("→|"));
    EXPECT_FALSE(model().Modified());
    // Save of a document without a file goes to Save As.
    prompts_.CancelSave();
    action("saveAction")->trigger();
    EXPECT_EQ(prompts_.asked().back().kind, ScriptedPrompts::Kind::SaveFile);
}

TEST_F(FileCommandsTest, OpenAfterChangesAnsweredYesSavesTheOldTableFirst) {
    const QString other = PathOf(QStringLiteral("住所録.tbn"));
    WriteFile(other,
              NativeTable(QStringLiteral("氏名"), QStringLiteral("佐藤"), QStringLiteral("鈴木")));
    Start();
    Fill({{"名前"}, {"山田"}});
    MarkChanged();
    const QString old = PathOf(QStringLiteral("old.csv"));
    prompts_.OpenFile(other).Yes().SaveFile(old);
    action("openAction")->trigger();
    EXPECT_EQ(ReadFile(old), QStringLiteral("山田\r\n"));
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("住所録 - Tabulon"));
    EXPECT_EQ(Row(0), QStringLiteral("|氏名"));
    EXPECT_EQ(Row(2), QStringLiteral("|鈴木"));
    EXPECT_EQ(model().CurrentFileName(), other.toStdString());
    EXPECT_FALSE(model().Modified());
    EXPECT_EQ(Panel(2), QStringLiteral("佐藤"));
    EXPECT_EQ(editor()->text(), QStringLiteral("佐藤"));
}

TEST_F(FileCommandsTest, AnotherExtensionIsShownAsTextAfterTheQuestion) {
    const QString path = PathOf(QStringLiteral("data.CSV"));
    WriteFile(path, Cp932(QStringLiteral("一行目\r二行目\n三行目")) + QByteArray("\0tail", 5));
    Start();
    auto* textPane = mainWindow()->findChild<QPlainTextEdit*>(QStringLiteral("textPane"));
    prompts_.OpenFile(path).Cancel();
    action("openAction")->trigger();
    EXPECT_FALSE(textPane->isVisible());
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("NoName - Tabulon"));

    prompts_.OpenFile(path).Ok();
    action("openAction")->trigger();
    EXPECT_EQ(prompts_.AskedTexts().last(),
              QStringLiteral("未対応の拡張子を検出したためテキストファイルとして表示します"));
    EXPECT_TRUE(textPane->isVisible());
    EXPECT_EQ(textPane->toPlainText(), QStringLiteral("一行目\n二行目\n三行目"));
    EXPECT_EQ(textPane->width(), 185);
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("data - Tabulon"));
    // Save keeps to the text file's name and refuses its extension.
    prompts_.Notice();
    action("saveAction")->trigger();
    EXPECT_EQ(
        prompts_.AskedTexts().last(),
        QStringLiteral(
            "未対応の拡張子を検出しました\r\n「名前を付けて保存」から別形式で保存してください"));
    // New hides the pane again.
    action("newAction")->trigger();
    EXPECT_FALSE(textPane->isVisible());

    // UTF-8 is recognised as in the table files, not shown as cp932.
    WriteFile(path, QStringLiteral("〜é😀\n二行目").toUtf8());
    prompts_.OpenFile(path).Ok();
    action("openAction")->trigger();
    EXPECT_EQ(textPane->toPlainText(), QStringLiteral("〜é😀\n二行目"));
}

TEST_F(FileCommandsTest, ATextTooLargeForThePaneIsRefused) {
    const QString path = PathOf(QStringLiteral("huge.log"));
    WriteFile(path, QByteArray(static_cast<qsizetype>(tabulon::kTextViewLimit) + 1, 'x'));
    Start();
    prompts_.OpenFile(path).Ok().ErrorBox();
    action("openAction")->trigger();
    EXPECT_EQ(prompts_.asked().back().text,
              QStringLiteral("文字列の大きさが メモ の制限を越えました."));
    EXPECT_EQ(mainWindow()->findChild<QPlainTextEdit*>(QStringLiteral("textPane"))->toPlainText(),
              QString());
}

TEST_F(FileCommandsTest, OpeningAMissingFileShowsTheErrorWithTheNewNameAlreadySet) {
    Start();
    Fill({{"名前"}, {"山田"}});
    const QString path = PathOf(QStringLiteral("ない.tbn"));
    prompts_.OpenFile(path).ErrorBox();
    action("openAction")->trigger();
    const auto& error = prompts_.asked().back();
    EXPECT_EQ(error.text, QStringLiteral("ファイル %1 は開けません.").arg(path));
    EXPECT_EQ(error.title, QStringLiteral("ない - Tabulon"));
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("ない - Tabulon"));
    EXPECT_EQ(Row(1), QStringLiteral("→|"));
}

TEST_F(FileCommandsTest, TheBackupOfAnUnfinishedSaveIsOfferedBackWhenOpening) {
    const QString path = PathOf(QStringLiteral("t.csv"));
    Start();
    for (const bool restore : {false, true}) {
        WriteFile(path, Cp932(QStringLiteral("途中\r\n")));
        WriteFile(path + u'~', Cp932(QStringLiteral("元\r\n")));
        (restore ? prompts_.OpenFile(path).Yes() : prompts_.OpenFile(path).No());
        action("openAction")->trigger();
        EXPECT_EQ(
            prompts_.asked().back().text,
            QStringLiteral("ファイル %1 の保存は完了していません。元の内容が %1~ に残っています。\n"
                           "元の内容に戻しますか？")
                .arg(path));
        EXPECT_EQ(Row(1), restore ? QStringLiteral("→|元") : QStringLiteral("→|途中"));
        EXPECT_EQ(QFile::exists(path + u'~'), !restore);
    }
}

// NUL bytes cannot stand in a cell: the rest of the file opens, the user is
// told, and the table counts as changed, since a save would leave them out.
TEST_F(FileCommandsTest, NulBytesAreLeftOutAloudAndTheTableCountsAsChanged) {
    const QString path = PathOf(QStringLiteral("n.csv"));
    WriteFile(path, QByteArray("a\0b,c\r\nd,e\r\n", 12));
    Start();
    prompts_.OpenFile(path).Notice();
    action("openAction")->trigger();
    const QString notice = QStringLiteral("ファイル %1 に含まれていた NUL 文字 1 個").arg(path);
    EXPECT_TRUE(prompts_.asked().back().text.startsWith(notice));
    EXPECT_EQ(Row(2), QStringLiteral("|d|e"));
    EXPECT_TRUE(model().Modified());
}

TEST_F(FileCommandsTest, SaveAsWithAnotherExtensionWritesCsvAndSaveThenRefuses) {
    Start();
    Fill({{"名前", "年齢"}, {"山田", "30"}});
    const QString path = PathOf(QStringLiteral("list.txt"));
    prompts_.SaveFile(path).Cancel();
    action("saveAsAction")->trigger();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(model().CurrentFileName(), "");

    prompts_.SaveFile(path).Ok();
    action("saveAsAction")->trigger();
    EXPECT_EQ(prompts_.AskedTexts().last(),
              QStringLiteral("未対応の拡張子を検出したためＣＳＶ形式で保存します"));
    EXPECT_EQ(ReadFile(path), QStringLiteral("山田,30\r\n"));
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("list - Tabulon"));

    model().SetCell(1, 1, "x");
    prompts_.Notice();
    action("saveAction")->trigger();
    EXPECT_EQ(ReadFile(path), QStringLiteral("山田,30\r\n"));
}

TEST_F(FileCommandsTest, SaveWritesTheFileOfItsNameOrAsksWhenItIsGone) {
    Start();
    Fill({{"名前"}, {"山田"}});
    const QString path = PathOf(QStringLiteral("table.tbn"));
    prompts_.SaveFile(path);
    action("saveAsAction")->trigger();
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("table - Tabulon"));
    model().SetCell(1, 1, Cp932(QStringLiteral("田中")).toStdString());
    MarkChanged();
    action("saveAction")->trigger();
    EXPECT_TRUE(ReadFile(path).contains(QStringLiteral("田中")));
    EXPECT_FALSE(model().Modified());

    QFile::remove(path);
    prompts_.CancelSave();
    action("saveAction")->trigger();
    EXPECT_EQ(prompts_.asked().back().kind, ScriptedPrompts::Kind::SaveFile);
}

TEST_F(FileCommandsTest, AFailedSaveKeepsTheChangesMarked) {
    Start();
    Fill({{"名前"}, {"山田"}});
    MarkChanged();
    const QString path = PathOf(QStringLiteral("no-such-folder/x.tbn"));
    prompts_.SaveFile(path).ErrorBox();
    action("saveAsAction")->trigger();
    EXPECT_EQ(prompts_.asked().back().text,
              QStringLiteral("ファイル %1 を作成できません.").arg(path));
    EXPECT_TRUE(model().Modified());
    EXPECT_EQ(model().CurrentFileName(), path.toStdString());
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("NoName - Tabulon"));
}

TEST_F(FileCommandsTest, CancellingTheSavePromptsDialogStopsTheCommandThatAsked) {
    Start();
    Fill({{"名前"}, {"山田"}});
    MarkChanged();
    prompts_.Yes().CancelSave();
    action("newAction")->trigger();
    EXPECT_EQ(Row(1), QStringLiteral("→|山田"));

    const QString other = PathOf(QStringLiteral("other.tbn"));
    WriteFile(other, NativeTable(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")));
    prompts_.OpenFile(other).Yes().CancelSave();
    action("openAction")->trigger();
    EXPECT_EQ(Row(1), QStringLiteral("→|山田"));

    prompts_.Yes().CancelSave();
    EXPECT_FALSE(mainWindow()->close());
    EXPECT_TRUE(mainWindow()->isVisible());
    EXPECT_FALSE(QFile::exists(DataDir() + QStringLiteral("/form.ini")));

    prompts_.No();
    EXPECT_TRUE(Close());
    EXPECT_TRUE(QFile::exists(DataDir() + QStringLiteral("/form.ini")));
}

TEST_F(FileCommandsTest, ErrorsEndWithAPeriodOnlyAfterACharacterThatSortsAfterIt) {
    const struct {
        QByteArray file;
        QString message;  // %1 is the path
    } cases[] = {
        {QByteArray(), QStringLiteral("ファイル %1 は開けません.")},
        {QByteArray("x\r\n"), QStringLiteral("'x' は整数ではありません.")},
        {QByteArray("3\r\n"), QStringLiteral("リストのインデックスが範囲を超えています (1)")},
        {QByteArray("2\r\n2\r\n15\r\n64\r\nname\r\n"),
         QStringLiteral("リストのインデックスが範囲を超えています (5)")},
    };
    Start();
    int n = 0;
    for (const auto& c : cases) {
        const QString path = PathOf(QStringLiteral("t%1.tbn").arg(n++));
        if (!c.file.isNull()) {
            WriteFile(path, c.file);
        }
        prompts_.OpenFile(path).ErrorBox();
        action("openAction")->trigger();
        const QString expected =
            c.message.contains(QStringLiteral("%1")) ? c.message.arg(path) : c.message;
        EXPECT_EQ(prompts_.asked().back().text, expected);
    }
    const std::pair<const char*, const char*> texts[] = {
        {"a.", "a."},  {"a)", "a)"},  {"a ", "a "},          {"", ""},
        {"a1", "a1."}, {"a/", "a/."}, {"データ", "データ."},
    };
    for (const auto& [message, shown] : texts) {
        EXPECT_EQ(tabulon::ErrorBoxText(message), shown);
    }
}

}  // namespace
