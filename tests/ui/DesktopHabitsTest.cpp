// The habits of a desktop program: the recent files, files dropped on the
// window, the file keys.

#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "MainWindowFixture.h"

namespace {

using DesktopHabitsTest = MainWindowFixture;

const QString kSaveQuestion = QStringLiteral("内容が変更されています。変更を保存しますか？");

QMenu* RecentMenu() {
    return mainWindow()->findChild<QMenu*>(QStringLiteral("recentFilesMenu"));
}

QStringList RecentItems() {
    QStringList items;
    for (const QAction* a : RecentMenu()->actions()) {
        items.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return items;
}

TEST_F(DesktopHabitsTest, RecentFilesAreTheLastEightOpenedOrSavedNewestFirst) {
    Start();
    EXPECT_FALSE(RecentMenu()->menuAction()->isEnabled());
    for (int i = 0; i < 9; ++i) {
        const QString path = PathOf(QStringLiteral("表%1.tbn").arg(i));
        WriteFile(path, Cp932(QStringLiteral("2\r\n2\r\n15\r\n64\r\n名\r\n%1\r\n").arg(i)));
        prompts_.OpenFile(path);
        Key(Qt::Key_O, Qt::ControlModifier);
    }
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("NoName - Tabulon"));
    prompts_.SaveFile(PathOf(QStringLiteral("A&B.csv")));
    action("saveAsAction")->trigger();
    const QStringList expected{"&1 A&&B.csv", "&2 表8.tbn", "&3 表7.tbn", "&4 表6.tbn",
                               "&5 表5.tbn",  "&6 表4.tbn", "&7 表3.tbn", "&8 表2.tbn",
                               "-",           "一覧を消去"};
    EXPECT_EQ(RecentItems(), expected);
    EXPECT_TRUE(RecentMenu()->menuAction()->isEnabled());
    EXPECT_EQ(action("recentFileAction2")->statusTip(), PathOf(QStringLiteral("表8.tbn")));
    // Kept for the next start.
    ASSERT_TRUE(Close());
    Start();
    EXPECT_EQ(RecentItems(), expected);

    // A file gone is taken off the list; one there asks the save question as Open does.
    QFile::remove(PathOf(QStringLiteral("表7.tbn")));
    MarkChanged();
    prompts_.Notice().No();
    action("recentFileAction3")->trigger();
    action("recentFileAction3")->trigger();
    EXPECT_EQ(
        prompts_.AskedTexts().last(2),
        (QStringList{
            QStringLiteral("ファイル %1 が見つかりません。最近使ったファイルの一覧から削除しました")
                .arg(PathOf(QStringLiteral("表7.tbn"))),
            kSaveQuestion}));
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("表6 - Tabulon"));
    EXPECT_EQ(RecentItems().mid(0, 3), (QStringList{"&1 表6.tbn", "&2 A&&B.csv", "&3 表8.tbn"}));

    action("clearRecentFilesAction")->trigger();
    EXPECT_EQ(RecentItems(), (QStringList{"-", "一覧を消去"}));
    EXPECT_FALSE(RecentMenu()->menuAction()->isEnabled());
    EXPECT_EQ(ReadFile(DataDir() + QStringLiteral("/recent.ini")), QString());
}

TEST_F(DesktopHabitsTest, AFileDroppedOnTheGridOpensAsOpenDoesTheFirstOfSeveral) {
    const QString first = PathOf(QStringLiteral("落とす.tbn"));
    WriteFile(first, Cp932(QStringLiteral("2\r\n2\r\n15\r\n64\r\n名\r\n値\r\n")));
    Start();
    MarkChanged();
    QMimeData files;
    files.setUrls(
        {QUrl::fromLocalFile(first), QUrl::fromLocalFile(PathOf(QStringLiteral("b.csv")))});
    QWidget* target = grid()->viewport();
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    prompts_.Notice().No();
    QApplication::processEvents();
    EXPECT_EQ(prompts_.AskedTexts(),
              (QStringList{
                  QStringLiteral("ファイルは一度に一つだけ開けます。最初のファイル %1 を開きます")
                      .arg(first),
                  kSaveQuestion}));
    EXPECT_EQ(mainWindow()->windowTitle(), QStringLiteral("落とす - Tabulon"));
    // Text is no file to open.
    QMimeData text;
    text.setText(QStringLiteral("x"));
    QDragEnterEvent textEnter({}, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(mainWindow(), &textEnter);
    EXPECT_FALSE(textEnter.isAccepted());
}

}  // namespace
