// The grid's range of cells: kept as a rectangle of view indexes with the
// corner that keys and drags move, and shown through the selection model
// (the view's own selection mode is off, so Qt never changes it behind us).

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <utility>

#include "CellEditor.h"
#include "TableGrid.h"
#include "TableItemModel.h"

namespace {

// The rectangle with corners a and b, whichever way round they lie. (Qt's
// own normalisation of a rectangle made from two points is off by one.)
QRect Spanning(QPoint a, QPoint b) {
    return {QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
            QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))};
}

QPoint OppositeCorner(const QRect& range, QPoint corner) {
    return {corner.x() == range.left() ? range.right() : range.left(),
            corner.y() == range.top() ? range.bottom() : range.top()};
}

}  // namespace

CellRange TableGrid::SelectedRange() const {
    if (range_.isNull()) {
        const auto& table = model_->Table();
        const tabulon::CellPosition current{table.CurrentCol(), table.CurrentRow()};
        return {current, current};
    }
    return {{range_.left() + 1, model_->Record(range_.top())},
            {range_.right() + 1, model_->Record(range_.bottom())}};
}

void TableGrid::SelectRange(const CellRange& range) {
    const tabulon::RecordFilter& shown = model_->Filter();
    const QPoint first(range.first.col - 1, shown.PositionFrom(range.first.row));
    const QPoint last(std::min(range.last.col, model_->columnCount()) - 1,
                      shown.PositionFrom(range.last.row + 1) - 1);
    SetRange(Spanning(first, last), last);
    // A block of one cell changed the current cell without the editor hearing.
    if (CellEditor* editor = Editor()) {
        itemDelegate()->setEditorData(editor, editorIndex_);
    }
}

void TableGrid::CollapseRange() {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        range_ = {};
        selectionModel()->clearSelection();
        return;
    }
    const QPoint cell(current.column(), current.row());
    SetRange(QRect(cell, cell), cell);
}

void TableGrid::SetRange(QRect range, QPoint corner) {
    range_ = range;
    corner_ = corner;
    selectionModel()->select(QItemSelection(model_->index(range.top(), range.left()),
                                            model_->index(range.bottom(), range.right())),
                             QItemSelectionModel::ClearAndSelect);
}

void TableGrid::ExtendRange(QPoint corner) {
    if (range_.isNull()) {
        return;
    }
    corner.setX(std::clamp(corner.x(), 0, model_->columnCount() - 1));
    corner.setY(std::clamp(corner.y(), 0, model_->rowCount() - 1));
    SetRange(Spanning(OppositeCorner(range_, corner_), corner), corner);
    scrollTo(model_->index(corner.y(), corner.x()));
}

void TableGrid::ExtendRangeTo(const QPoint& viewportPos) {
    // Past the cells, the range takes the nearest one and the view scrolls to it.
    const QRect area = viewport()->rect();
    const int x = std::clamp(viewportPos.x(), 0, std::max(area.width() - 1, 0));
    const int y = std::clamp(viewportPos.y(), 0, std::max(area.height() - 1, 0));
    const int col = columnAt(x);
    const int row = rowAt(y);
    ExtendRange(
        {col < 0 ? model_->columnCount() - 1 : col, row < 0 ? model_->rowCount() - 1 : row});
}

void TableGrid::SelectHeaderSection(Qt::Orientation orientation, int section) {
    const int lastCol = model_->columnCount() - 1;
    const int lastRow = model_->rowCount() - 1;
    // The current cell goes to the first cell shown of the record or item, so
    // that the view keeps its place.
    if (orientation == Qt::Vertical) {
        setCurrentIndex(model_->index(section, std::max(columnAt(0), 0)));
        SetRange(QRect(QPoint(0, section), QPoint(lastCol, section)), QPoint(lastCol, section));
    } else {
        setCurrentIndex(model_->index(std::max(rowAt(0), 0), section));
        SetRange(QRect(QPoint(section, 0), QPoint(section, lastRow)), QPoint(section, lastRow));
    }
}

bool TableGrid::HandleRangeKey(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt ||
        key == Qt::Key_Meta) {
        return false;  // on the way to a combination
    }
    // The editor's text first; pressed again at once, the whole table.
    const bool again = std::exchange(selectAllPressed_, event->matches(QKeySequence::SelectAll));
    if (selectAllPressed_) {
        if (const CellEditor* editor = Editor();
            !again || (editor != nullptr && editor->selectedText() != editor->text())) {
            return false;
        }
        const QPoint last(model_->columnCount() - 1, model_->rowCount() - 1);
        SetRange(QRect(QPoint(0, 0), last), last);
        return true;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (!(modifiers & Qt::ShiftModifier)) {
        return false;
    }
    const bool toEdge = modifiers & Qt::ControlModifier;
    const int page = std::max(viewport()->height() / std::max(rowHeight(corner_.y()), 1), 1);
    QPoint corner = corner_;
    switch (key) {
        case Qt::Key_Up:
            corner.setY(toEdge ? 0 : corner.y() - 1);
            break;
        case Qt::Key_Down:
            corner.setY(toEdge ? model_->rowCount() - 1 : corner.y() + 1);
            break;
        case Qt::Key_PageUp:
            corner.setY(corner.y() - page);
            break;
        case Qt::Key_PageDown:
            corner.setY(corner.y() + page);
            break;
        case Qt::Key_Left:
        case Qt::Key_Right:
            // Within one cell Shift selects the editor's characters.
            if (!toEdge && !SelectedRange().ManyCells()) {
                return false;
            }
            if (key == Qt::Key_Left) {
                corner.setX(toEdge ? 0 : corner.x() - 1);
            } else {
                corner.setX(toEdge ? model_->columnCount() - 1 : corner.x() + 1);
            }
            break;
        default:
            return false;
    }
    ExtendRange(corner);
    return true;
}

void TableGrid::mousePressEvent(QMouseEvent* event) {
    // The pop-up menu acts on the current cell, so a right click leaves it.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() &&
        (event->modifiers() & Qt::ShiftModifier)) {
        ExtendRange({index.column(), index.row()});
        dragSelecting_ = true;
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
    dragSelecting_ = event->button() == Qt::LeftButton && index.isValid();
}

void TableGrid::mouseMoveEvent(QMouseEvent* event) {
    if (dragSelecting_ && (event->buttons() & Qt::LeftButton)) {
        ExtendRangeTo(event->position().toPoint());
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void TableGrid::mouseReleaseEvent(QMouseEvent* event) {
    dragSelecting_ = false;
    QTableView::mouseReleaseEvent(event);
}

bool TableGrid::eventFilter(QObject* object, QEvent* event) {
    // The view's own filter is not for the editors: it would make an
    // editor's cell current on every focus.
    const auto* editor = qobject_cast<CellEditor*>(object);
    if (editor == nullptr) {
        return QTableView::eventFilter(object, event);
    }
    // A drag that starts in the editor selects its characters until it
    // leaves the current cell; from then on it makes a range.
    if (event->type() == QEvent::MouseMove) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = viewport()->mapFromGlobal(mouse->globalPosition().toPoint());
        if ((mouse->buttons() & Qt::LeftButton) &&
            (!editor->geometry().contains(pos) || SelectedRange().ManyCells())) {
            ExtendRangeTo(pos);
            return SelectedRange().ManyCells();
        }
    }
    return false;
}
