// The habits of a desktop program: the recent files, files dropped on the window.

#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "MainWindowFixture.h"

namespace {

using namespace Qt::StringLiterals;
using DesktopHabitsTest = MainWindowFixture;

QStringList RecentItems() {
    QStringList items;
    for (const QAction* a : mainWindow()->findChild<QMenu*>(u"recentFilesMenu"_s)->actions()) {
        items.append(a->isSeparator() ? u"-"_s : a->text());
    }
    return items;
}

TEST_F(DesktopHabitsTest, RecentFilesAreTheLastEightOpenedOrSavedNewestFirst) {
    Start();
    for (int i = 0; i < 9; ++i) {
        const QString path = PathOf(u"表%1.tbn"_s.arg(i));
        WriteFile(path, Cp932(u"2\r\n2\r\n15\r\n64\r\n名\r\n%1\r\n"_s.arg(i)));
        prompts_.OpenFile(path);
        Key(Qt::Key_O, Qt::ControlModifier);
    }
    prompts_.SaveFile(PathOf(u"A&B.csv"_s));
    action("saveAsAction")->trigger();
    EXPECT_EQ(RecentItems(),
              (QStringList{u"&1 A&&B.csv"_s, u"&2 表8.tbn"_s, u"&3 表7.tbn"_s, u"&4 表6.tbn"_s,
                           u"&5 表5.tbn"_s, u"&6 表4.tbn"_s, u"&7 表3.tbn"_s, u"&8 表2.tbn"_s,
                           u"-"_s, u"一覧を消去"_s}));
    EXPECT_EQ(action("recentFileAction2")->statusTip(), PathOf(u"表8.tbn"_s));

    // A file gone is taken off the list with a notice; one there asks the save
    // question as Open does (the script fails the test on any other question).
    QFile::remove(PathOf(u"表7.tbn"_s));
    MarkChanged();
    prompts_.Notice().No();
    action("recentFileAction3")->trigger();
    action("recentFileAction3")->trigger();
    EXPECT_EQ(mainWindow()->windowTitle(), u"表6 - Tabulon"_s);

    action("clearRecentFilesAction")->trigger();
    EXPECT_EQ(ReadFile(DataDir() + u"/recent.ini"_s), QString());
}

TEST_F(DesktopHabitsTest, AFileDroppedOnTheGridOpensAsOpenDoesTheFirstOfSeveral) {
    const QString first = PathOf(u"落とす.tbn"_s);
    WriteFile(first, Cp932(u"2\r\n2\r\n15\r\n64\r\n名\r\n値\r\n"_s));
    Start();
    MarkChanged();
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(PathOf(u"b.csv"_s))});
    QDragEnterEvent enter({}, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid()->viewport(), &enter);
    QDropEvent drop({}, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid()->viewport(), &drop);
    // A notice of the second file, then the save question.
    prompts_.Notice().No();
    QApplication::processEvents();
    EXPECT_EQ(mainWindow()->windowTitle(), u"落とす - Tabulon"_s);
}

}  // namespace
