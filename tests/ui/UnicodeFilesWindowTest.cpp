// UTF-8 files in the window: the question before characters are replaced,
// the encoding in the status bar, Save keeping it and Save As choosing it.

#include <QFile>
#include <QLabel>

#include "MainWindowFixture.h"

namespace {

using UnicodeFilesWindowTest = MainWindowFixture;

QString EncodingShown() {
    return mainWindow()->findChild<QLabel*>(QStringLiteral("encodingLabel"))->text();
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(UnicodeFilesWindowTest, AUtf8FileOpensAndSavesAsUtf8) {
    const QString path = PathOf(QStringLiteral("u.csv"));
    const QByteArray utf8 = QStringLiteral("名前,〜\r\n山田,30\r\n").toUtf8();
    WriteFile(path, utf8);
    Start({path});
    EXPECT_EQ(EncodingShown(), QStringLiteral("UTF-8"));
    EXPECT_EQ(Cell(2, 1), QStringLiteral("～")) << "the Linux wave dash is held as cp932's";
    action("saveAction")->trigger();
    EXPECT_EQ(Bytes(path), utf8);

    const QString bom = PathOf(QStringLiteral("bom.csv"));
    prompts_.SaveFile(bom, 3);  // CSV UTF-8 BOM
    action("saveAsAction")->trigger();
    EXPECT_EQ(Bytes(bom), QByteArray("\xEF\xBB\xBF") + utf8);
    EXPECT_EQ(EncodingShown(), QStringLiteral("UTF-8 BOM"));
}

TEST_F(UnicodeFilesWindowTest, CharactersShiftJisLacksAreReplacedOnlyWhenTheUserAgrees) {
    const QString path = PathOf(QStringLiteral("e.csv"));
    WriteFile(path, QStringLiteral("名前,絵\r\n山田,😀\r\n").toUtf8());
    Start();
    Fill({{"元"}, {"そのまま"}});
    prompts_.Cancel();
    Start({path});
    EXPECT_EQ(prompts_.asked().back().kind, ScriptedPrompts::Kind::OkCancel);
    EXPECT_TRUE(prompts_.AskedTexts().back().contains(QStringLiteral("「😀」 2行 2列")));
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("NoName - Tabulon"));

    prompts_.Ok();
    ASSERT_TRUE(Close());
    Start({path});
    EXPECT_EQ(Cell(2, 2), QStringLiteral("〓"));
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("NoName - Tabulon"))
        << "a replaced file keeps no name, so Save cannot overwrite it";
}

}  // namespace
