#include "ResultGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

constexpr int kRowHeight = 18;

}  // namespace

ResultGrid::ResultGrid(QAbstractItemModel* model, QWidget* parent) : QTableView(parent) {
    setModel(model);
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    // The minimum first: the default size is silently raised to it.
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setFixedHeight(kRowHeight);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    viewport()->installEventFilter(this);
    horizontalHeader()->viewport()->installEventFilter(this);
    // Every new list starts with its first line selected, as a grid always has one.
    connect(model, &QAbstractItemModel::modelReset, this, &ResultGrid::SelectFirstLine);
}

int ResultGrid::SelectedLine() const {
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

QString ResultGrid::SelectedText(int col) const {
    const int line = SelectedLine();
    return line < 0 ? QString() : model()->index(line, col).data().toString();
}

bool ResultGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The press before it has already selected the line under the mouse.
        emit lineChosen();
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void ResultGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit lineChosen();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ResultGrid::SelectFirstLine() {
    if (model()->rowCount() > 0) {
        setCurrentIndex(model()->index(0, 0));
    }
}
