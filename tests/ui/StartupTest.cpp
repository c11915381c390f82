// Starting with and without a file on the command line, and the settings
// read at start and written at close.

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>

#include "MainWindowFixture.h"
#include "QtTranslation.h"
#include "text/Cp932.h"

namespace {

using StartupTest = MainWindowFixture;

TEST_F(StartupTest, WithoutAFileTheWindowHoldsTheEmptyTable) {
    Start();
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("NoName - Tabulon"));
    EXPECT_EQ(model().ColCount(), 2);
    EXPECT_EQ(model().RowCount(), 3);
    EXPECT_EQ(MarkerRows(), std::vector<int>{1});
    EXPECT_EQ(Panel(1), QStringLiteral("1,1"));
    EXPECT_EQ(Panel(0), QString());
    EXPECT_EQ(mainWindow()->pos(), QPoint(245, 100));
    EXPECT_EQ(mainWindow()->size(), QSize(383, 283));
    EXPECT_EQ(model().GetColWidth(0), 15);
    EXPECT_EQ(grid()->verticalHeader()->width(), 15);
    EXPECT_EQ(grid()->verticalHeader()->defaultSectionSize(), 18);
    EXPECT_EQ(grid()->horizontalHeader()->height(), 18);
    EXPECT_EQ(grid()->columnWidth(0), 64);
    EXPECT_TRUE(editor()->hasFocus());
}

TEST_F(StartupTest, TheParametersAreOneFileNameOpenedByItsExtension) {
    QDir(PathOf({})).mkpath(QStringLiteral("My Data"));
    const QString table = PathOf(QStringLiteral("My Data/list.tbn"));
    WriteFile(table, Cp932(QStringLiteral("2\r\n3\r\n15\r\n70\r\n品名\r\nりんご\r\n\r\n")));
    Start({PathOf(QStringLiteral("My")), QStringLiteral("Data/list.tbn")});
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("list - Tabulon"));
    EXPECT_EQ(Row(1), QStringLiteral("→|りんご"));
    EXPECT_EQ(model().GetColWidth(1), 70);
    EXPECT_EQ(Panel(2), QStringLiteral("りんご"));
    EXPECT_FALSE(model().Modified());
}

TEST_F(StartupTest, ARelativeNameIsTakenFromTheWorkingFolder) {
    const QString table = PathOf(QStringLiteral("rel.csv"));
    WriteFile(table, Cp932(QStringLiteral("a,b\r\n")));
    const QString before = QDir::currentPath();
    QDir::setCurrent(PathOf({}));
    Start({QStringLiteral("rel.csv")});
    QDir::setCurrent(before);
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("rel - Tabulon"));
    EXPECT_EQ(Row(1), QStringLiteral("→|a|b"));
}

TEST_F(StartupTest, AnUnknownExtensionAsksFirstAndCaseMatters) {
    const QString path = PathOf(QStringLiteral("LIST.TBN"));
    WriteFile(path, QByteArray("2\r\n3\r\n"));
    prompts_.Cancel();
    Start({path});
    EXPECT_EQ(prompts_.AskedTexts(),
              QStringList{
                  QStringLiteral("未対応の拡張子を検出したためテキストファイルとして表示します")});
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("NoName - Tabulon"));
    ASSERT_TRUE(Close());

    prompts_.Ok();
    Start({path});
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("LIST - Tabulon"));
    EXPECT_TRUE(mainWindow()->findChild<QWidget*>(QStringLiteral("textPane"))->isVisible());
}

TEST_F(StartupTest, AMissingTableIsReportedAndItsNameKept) {
    const QString path = PathOf(QStringLiteral("gone.tbn"));
    prompts_.ErrorBox();
    Start({path});
    EXPECT_EQ(prompts_.asked().front().text, QStringLiteral("ファイル %1 は開けません.").arg(path));
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("gone - Tabulon"));
    EXPECT_EQ(model().RowCount(), 3);
    prompts_.CancelSave();
    action("saveAction")->trigger();
}

TEST_F(StartupTest, SettingsAreWrittenAtCloseAndReadAtTheNextStart) {
    Start();
    mainWindow()->move(300, 150);
    mainWindow()->resize(500, 400);
    tabulon::FontDesc font = model().Font();
    font.SetSize(12);
    font.style = tabulon::kBold;
    model().SetFont(font);
    model().SetRowHeight(25);
    MarkChanged();
    prompts_.No();
    ASSERT_TRUE(Close());
    EXPECT_EQ(ReadFile(DataDir() + QStringLiteral("/form.ini")),
              QStringLiteral("500\r\n400\r\n300\r\n150\r\n"));
    EXPECT_EQ(ReadFile(DataDir() + QStringLiteral("/font.ini")),
              QStringLiteral("128\r\nFF000008\r\n-16\r\nＭＳ Ｐゴシック\r\n12\r\n10001\r\n"));
    EXPECT_EQ(ReadFile(DataDir() + QStringLiteral("/height.ini")), QStringLiteral("25\r\n"));

    Start();
    EXPECT_EQ(mainWindow()->pos(), QPoint(300, 150));
    EXPECT_EQ(mainWindow()->size(), QSize(500, 400));
    EXPECT_EQ(model().Font(), font);
    EXPECT_EQ(model().GetColWidth(0), 18);
    EXPECT_EQ(grid()->verticalHeader()->width(), 18);
    EXPECT_EQ(model().RowHeight(), 25);
    EXPECT_EQ(grid()->verticalHeader()->defaultSectionSize(), 25);
    EXPECT_TRUE(grid()->font().bold());
    // New puts the row height back to 18, and that is what is kept.
    action("newAction")->trigger();
    ASSERT_TRUE(Close());
    EXPECT_EQ(ReadFile(DataDir() + QStringLiteral("/height.ini")), QStringLiteral("18\r\n"));
}

TEST_F(StartupTest, AShortFormFileKeepsTheDefaultsForWhatItLacks) {
    WriteFile(DataDir() + QStringLiteral("/form.ini"), QByteArray("500\r\n400\r\n"));
    WriteFile(DataDir() + QStringLiteral("/height.ini"), QByteArray("x\r\n"));
    Start();
    EXPECT_EQ(mainWindow()->pos(), QPoint(245, 100));
    EXPECT_EQ(mainWindow()->size(), QSize(500, 400));
    EXPECT_EQ(model().RowHeight(), 18);
}

TEST_F(StartupTest, BoundsOffEveryScreenPutTheWindowOnThePrimaryOne) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Too little of its title bar shows, larger than the screen, enough shows.
    for (const auto& [form, placed] :
         {std::pair{"500\r\n400\r\n300\r\n-30\r\n",
                    QRect(screen.topLeft() + QPoint(245, 100), QSize(500, 400))},
          std::pair{"9000\r\n9000\r\n-9000\r\n0\r\n", screen},
          std::pair{"500\r\n400\r\n-450\r\n0\r\n", QRect(-450, 0, 500, 400)}}) {
        WriteFile(DataDir() + QStringLiteral("/form.ini"), form);
        Start();
        EXPECT_EQ(QRect(mainWindow()->pos(), mainWindow()->size()), placed) << form;
        ASSERT_TRUE(Close());
    }
}

TEST_F(StartupTest, WithoutTheDataFolderNothingIsWrittenAndNothingShown) {
    QDir(DataDir()).removeRecursively();
    Start();
    ASSERT_TRUE(Close());
    EXPECT_FALSE(QDir(DataDir()).exists());
    EXPECT_TRUE(prompts_.asked().empty());
}

TEST(QtTranslation, QtsOwnButtonsSpeakJapaneseWhateverTheLocale) {
    QTranslator translator;
    EXPECT_TRUE(InstallQtTranslation(*qApp, translator));
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    QCoreApplication::removeTranslator(&translator);
}

}  // namespace
