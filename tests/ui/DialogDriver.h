#pragma once
// Drives the secondary windows as the user does: opening them by their keys,
// clicking and typing into their entry lists, clicking their buttons.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "CellEditor.h"
#include "EntryList.h"
#include "MainWindowFixture.h"

// Types each character as a key press carrying its text.
void TypeInto(QWidget* widget, const QString& text);
// Clicks the entry of `row` (scrolled into view first), which opens its editor.
void ClickEntry(EntryList* list, int row);
// Clicks the entry, selects its text and types `text` over it.
void ReplaceEntry(EntryList* list, int row, const QString& text);
QStringList Entries(const EntryList* list);
QStringList Labels(const EntryList* list);
inline void ClickButton(QWidget* window, const char* name) {
    QTest::mouseClick(Child<QPushButton>(window, name), Qt::LeftButton);
}
// A click that takes the window system's way, so a window blocked by another
// does not get it.
void ClickInWindow(QWidget* widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton);
// A click on cell (col, row) of the main grid, the window system's way.
void ClickGridCell(int col, int row);
// Shows and activates `window` the way the command of `key` does.
void OpenWith(QWidget* window, QWidget* keyTarget, Qt::Key key);
