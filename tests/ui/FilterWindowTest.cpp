// The filter in the window, by keys: the dialog, the filtered grid and its
// count, typing and inserting in it, copying the shown block, saving every
// record, the pop-up's この値で絞り込み, and removing the filter.

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>

#include "FilterDialog.h"
#include "MainWindowFixture.h"
#include "WindowInput.h"

namespace {

using FilterTest = MainWindowFixture;

void KeyToFocus(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
}

QString Shown() {
    return mainWindow()->findChild<QLabel*>(QStringLiteral("filterLabel"))->text();
}

TEST_F(FilterTest, ShowsTheMatchingRecordsAndActsOnThem) {
    Start();
    Fill({{"名前", "市"},
          {"a", "東京"},
          {"b", "大阪"},
          {"c", "東京都"},
          {"d", "京都"},
          {"e", "ﾄｳｷｮｳ"}});
    PressIn(mainWindow(), Qt::Key_L, Qt::ControlModifier);
    auto* dialog = window<FilterDialog>();
    ASSERT_TRUE(dialog->isVisible());
    // The focus starts in the first item's condition; the second gets 東京.
    ASSERT_TRUE(dialog->isAncestorOf(QApplication::focusWidget()));
    KeyToFocus(Qt::Key_Down);
    Type(QStringLiteral("東京"), QApplication::focusWidget());
    KeyToFocus(Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(grid()->model()->rowCount(), 2);
    EXPECT_EQ(Shown(), QStringLiteral("2 / 5 件を表示"));

    // Down goes to record 3; typing edits it; an inserted record is shown.
    Key(Qt::Key_Down);
    Type(QStringLiteral("X"));
    EXPECT_EQ(Cell(1, 3), QStringLiteral("X"));
    PressIn(mainWindow(), Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(Shown(), QStringLiteral("3 / 6 件を表示"));
    EXPECT_EQ(model().CurrentRow(), 3);

    // The whole grid copied holds only the shown records.
    PressIn(mainWindow(), Qt::Key_A, Qt::ControlModifier);
    PressIn(mainWindow(), Qt::Key_A, Qt::ControlModifier);
    PressIn(mainWindow(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("a\t東京\n\t\nX\t東京都\n"));

    // Saving writes every record.
    const QString path = PathOf(QStringLiteral("all.csv"));
    prompts_.SaveFile(path);
    action("saveAsAction")->trigger();
    EXPECT_EQ(ReadFile(path),
              QStringLiteral("a,東京\r\nb,大阪\r\n,\r\nX,東京都\r\nd,京都\r\ne,ﾄｳｷｮｳ\r\n"));

    // Undoing the insert while filtered; then the filter goes.
    PressIn(mainWindow(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(), QStringLiteral("2 / 5 件を表示"));
    PressIn(mainWindow(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid()->model()->rowCount(), 6);

    // この値で絞り込み: the current cell's text, exactly.
    Select(2, 1);
    auto* menu = mainWindow()->findChild<QMenu*>(QStringLiteral("gridMenu"));
    emit menu->aboutToShow();
    action("filterByValueAction")->trigger();
    EXPECT_EQ(Shown(), QStringLiteral("1 / 5 件を表示"));
}

}  // namespace
