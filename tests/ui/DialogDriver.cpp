#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "MainWindowFixture.h"
#include "TableGrid.h"

void TypeInto(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(widget, ch.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(ch.unicode()), QString(ch),
                                Qt::NoModifier);
        }
    }
}

void ClickEntry(EntryList* list, int row) {
    QTableWidgetItem* entry = list->item(row, 0);
    ASSERT_NE(entry, nullptr) << row;
    list->scrollToItem(entry);
    // The current entry lies under its open editor.
    if (list->currentRow() == row) {
        QTest::mouseClick(list->Editor(), Qt::LeftButton);
    } else {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(entry).center());
    }
    ASSERT_EQ(list->currentRow(), row);
    ASSERT_NE(list->Editor(), nullptr);
    ASSERT_TRUE(list->Editor()->hasFocus());
}

void ReplaceEntry(EntryList* list, int row, const QString& text) {
    ClickEntry(list, row);
    QTest::keyClick(list->Editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(list->Editor(), Qt::Key_Backspace);
    TypeInto(list->Editor(), text);
}

QStringList Entries(const EntryList* list) {
    QStringList texts;
    for (int row = 0; row < list->rowCount(); ++row) {
        texts.append(list->item(row, 0)->text());
    }
    return texts;
}

QStringList Labels(const EntryList* list) {
    QStringList texts;
    for (int row = 0; row < list->rowCount(); ++row) {
        texts.append(list->verticalHeaderItem(row)->text());
    }
    return texts;
}

void OpenWith(QWidget* window, QWidget* keyTarget, Qt::Key key) {
    QApplication::setActiveWindow(keyTarget->window());
    QTest::keyClick(keyTarget, key, Qt::ControlModifier);
    ASSERT_TRUE(window->isVisible());
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

void ClickInWindow(QWidget* widget, QPoint pos, Qt::MouseButton button) {
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), button, {}, widget->mapTo(window, pos));
}

void ClickGridCell(int col, int row) {
    auto* grid = mainWindow()->findChild<TableGrid*>(QStringLiteral("grid"));
    const QRect cell = grid->visualRect(grid->model()->index(row - 1, col - 1));
    ClickInWindow(grid->viewport(), cell.center());
}
