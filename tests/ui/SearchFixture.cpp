#include "SearchFixture.h"

#include "WindowInput.h"

#include <QApplication>
#include <QHeaderView>

#include "FindDialog.h"
#include "FoundCellsWindow.h"
#include "FoundRecordsWindow.h"

void SearchFixture::OpenFind() {
    Key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(window<FindDialog>()->isVisible());
    ASSERT_TRUE(WaitActive(window<FindDialog>()));
}

void SearchFixture::ActivateMain() {
    QApplication::setActiveWindow(mainWindow());
    ASSERT_TRUE(WaitActive(mainWindow()));
}

bool SearchFixture::WaitActive(QWidget* window) {
    // QTest's own wait takes a child window for active while its parent is.
    return WaitUntil([window] { return QApplication::activeWindow() == window; });
}

QComboBox* SearchFixture::Combo(const char* name) const {
    return Child<QComboBox>(window<FindDialog>(), name);
}

QWidget* SearchFixture::FindControl(const char* name) const {
    return Child<QWidget>(window<FindDialog>(), name);
}

void SearchFixture::TypeSearch(const QString& text) {
    QLineEdit* edit = Combo("searchTextBox")->lineEdit();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    ASSERT_EQ(edit->text(), text);
}

void SearchFixture::ClickTab(int index) {
    auto* tabs = Child<QTabBar>(window<FindDialog>(), "tabs");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    ASSERT_EQ(tabs->currentIndex(), index);
}

void SearchFixture::Pick(const char* combo, int index) {
    QComboBox* list = Combo(combo);
    while (list->currentIndex() < index) {
        QTest::keyClick(list, Qt::Key_Down);
    }
    while (list->currentIndex() > index) {
        QTest::keyClick(list, Qt::Key_Up);
    }
}

void SearchFixture::Tick(const char* checkBox) {
    QTest::mouseClick(Child<QCheckBox>(window<FindDialog>(), checkBox), Qt::LeftButton);
}

void SearchFixture::Click(QWidget* window, const char* button) {
    QTest::mouseClick(Button(window, button), Qt::LeftButton);
}

QStringList SearchFixture::History() const {
    QStringList entries;
    const QComboBox* text = Combo("searchTextBox");
    for (int i = 0; i < text->count(); ++i) {
        entries.append(text->itemText(i));
    }
    return entries;
}

ResultGrid* SearchFixture::ListGrid() const {
    return Child<ResultGrid>(window<FoundCellsWindow>(), "hitsView");
}

ResultGrid* SearchFixture::ElementGrid() const {
    return Child<ResultGrid>(window<FoundRecordsWindow>(), "recordsView");
}

QStringList SearchFixture::Header(const ResultGrid* grid) {
    QStringList texts;
    const QAbstractItemModel* model = grid->model();
    for (int c = 0; c < model->columnCount(); ++c) {
        texts.append(model->headerData(c, Qt::Horizontal).toString());
    }
    return texts;
}

QStringList SearchFixture::Lines(const ResultGrid* grid) {
    QStringList lines;
    const QAbstractItemModel* model = grid->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c) {
            cells.append(model->index(r, c).data().toString());
        }
        lines.append(cells.join(QLatin1Char('|')));
    }
    return lines;
}

void SearchFixture::DoubleClickLine(ResultGrid* grid, int line) {
    const QPoint at = grid->visualRect(grid->model()->index(line, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}
