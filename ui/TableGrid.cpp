#include "TableGrid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStyleOptionHeader>
#include <algorithm>
#include <limits>

#include "CellDelegate.h"
#include "CellEditor.h"
#include "Cp932Text.h"
#include "FontMapping.h"
#include "MenuKeyGuard.h"
#include "TableItemModel.h"
#include "table/ViewGeometry.h"

namespace {

// Qt keeps a header's length, the sum of its sections, in an int: past it the
// view paints every row or column on each paint, seconds a time. Half of it
// leaves room for the sums Qt makes with positions.
constexpr int kLongestHeader = std::numeric_limits<int>::max() / 2;

// The size at which the grid shows a row height or width of the model in a
// header of `count` sections: bounded as any, and no larger than its share of
// the longest header (which only tables of over a million reach).
int ShownSize(int pixels, int count) {
    return std::min(tabulon::ShownSize(pixels), std::max(kLongestHeader / std::max(count, 1), 1));
}

// The item row. Qt 6.4 paints a header's text centred and clipped, whatever
// its elide mode says, so a long item name lost both its ends; here it keeps
// its start and ends in an ellipsis.
class ItemNameHeader : public QHeaderView {
  public:
    explicit ItemNameHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
        // What the view's own header would be.
        setSectionsClickable(true);
    }

  protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        // The section's own rectangle is set only after this; its size is what counts.
        QStyleOptionHeader section = *option;
        section.rect = QRect(0, 0, sectionSize(logicalIndex), height());
        const int room = style()->subElementRect(QStyle::SE_HeaderLabel, &section, this).width();
        option->text = option->fontMetrics.elidedText(option->text, Qt::ElideRight, room);
    }
};

}  // namespace

TableGrid::TableGrid(TableItemModel* model, MenuKeyGuard* menuKeys, QWidget* parent)
    : QTableView(parent), model_(model), menuKeys_(menuKeys) {
    setHorizontalHeader(new ItemNameHeader(this));
    setItemDelegate(new CellDelegate(
        [this](QWidget* editor, QEvent* event) { return HandleEditorEvent(editor, event); }, this));
    setModel(model_);
    // The range is the grid's own (see TableGridRange.cpp).
    setSelectionMode(NoSelection);
    setSelectionBehavior(SelectItems);
    setEditTriggers(NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    installEventFilter(menuKeys_);

    QHeaderView* rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setSectionsMovable(true);
    rows->setHighlightSections(false);
    rows->setDefaultAlignment(Qt::AlignCenter);
    QHeaderView* cols = horizontalHeader();
    cols->setSectionResizeMode(QHeaderView::Interactive);
    cols->setSectionsMovable(true);
    cols->setHighlightSections(false);
    cols->setStretchLastSection(false);
    for (QHeaderView* header : {rows, cols}) {
        // The minimum first: a maximum or default below it is raised to it.
        // The bounds also stop a border drag beyond what the grid can show.
        header->setMinimumSectionSize(tabulon::kSmallestViewSize);
        header->setMaximumSectionSize(tabulon::kLargestViewSize);
    }

    for (QHeaderView* header : {rows, cols}) {
        // The view would select on a press, which may start a drag instead; a
        // click selects the record or item.
        disconnect(header, &QHeaderView::sectionPressed, this, nullptr);
        disconnect(header, &QHeaderView::sectionEntered, this, nullptr);
        connect(header, &QHeaderView::sectionClicked, this, [this, header](int section) {
            SelectHeaderSection(header->orientation(), section);
        });
    }
    connect(cols, &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { SectionDragged(Qt::Horizontal, from, to); });
    connect(rows, &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { SectionDragged(Qt::Vertical, from, to); });
    // Only the user's drags reach here: the grid's own resizes are made with
    // the header's signals blocked, so a bounded width never goes back to the model.
    connect(cols, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (!model_->IsChanging()) {
            emit columnResized(section + 1, size);
        }
    });

    connect(model_, &TableItemModel::currentCellMoved, this, &TableGrid::ShowCurrentCell);
    connect(model_, &TableItemModel::columnWidthsChanged, this, &TableGrid::ApplyAllColumnWidths);
    connect(model_, &TableItemModel::rowHeightChanged, this, &TableGrid::ApplyRowHeight);
    connect(model_, &TableItemModel::fontChanged, this, &TableGrid::ApplyFont);
    // A range over rows or columns about to go is dropped first: Qt takes
    // seconds to cut a selection of a hundred thousand rows down as they go.
    for (auto signal : {&QAbstractItemModel::rowsAboutToBeRemoved,
                        &QAbstractItemModel::columnsAboutToBeRemoved}) {
        connect(model_, signal, this, [this] { selectionModel()->clearSelection(); });
    }
    // Qt moves or drops the view's current index with the rows and columns;
    // the model's current cell keeps its indexes. A row's share of the
    // header's length changes with the count too.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(model_, signal, this, [this] {
            ApplyRowHeight();
            ShowCurrentCell();
        });
    }
    // Columns come and go at the end of the table, and every other column keeps
    // its width where it stands: only new sections need theirs.
    connect(model_, &QAbstractItemModel::columnsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                ApplyColumnWidths(first, last);
                ShowCurrentCell();
            });
    connect(model_, &QAbstractItemModel::columnsRemoved, this, [this] {
        ApplyColumnWidths(0, -1);  // none, unless the columns' share changed
        ShowCurrentCell();
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        // Records keep their places while filtered: none is dragged.
        verticalHeader()->setSectionsMovable(!model_->Filter().IsOn());
        ApplyAllColumnWidths();
        ShowCurrentCell();
    });

    ApplyFont();
    ApplyRowHeight();
    ApplyAllColumnWidths();
    ShowCurrentCell();
}

CellEditor* TableGrid::Editor() const {
    return editorIndex_.isValid() ? static_cast<CellEditor*>(indexWidget(editorIndex_)) : nullptr;
}

void TableGrid::ShowCurrentCell() {
    if (userMoving_) {
        return;
    }
    const auto& table = model_->Table();
    const QModelIndex index =
        model_->index(model_->ViewRow(table.CurrentRow()).value_or(-1), table.CurrentCol() - 1);
    if (!index.isValid()) {
        return;
    }
    if (currentIndex() != index) {
        QScopedValueRollback following(following_, true);
        setCurrentIndex(index);
    }
    OpenEditor(index);
    CollapseRange();
}

bool TableGrid::FocusInGrid() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && (focus == this || isAncestorOf(focus));
}

void TableGrid::OpenEditor(const QModelIndex& index) {
    if (editorIndex_ == index && Editor() != nullptr) {
        itemDelegate()->setEditorData(Editor(), index);
        return;
    }
    const bool focus = FocusInGrid();
    const QPersistentModelIndex old = editorIndex_;
    editorIndex_ = index;
    openPersistentEditor(index);
    CellEditor* editor = Editor();
    // Installed after the delegate's own filter, so it sees the keys first.
    editor->installEventFilter(menuKeys_);
    editor->installEventFilter(this);
    connect(editor, &CellEditor::editTextChanged, this, [this](const QString& text) {
        const QScopedValueRollback typing(typing_, true);
        emit editTextChanged(editorIndex_.column() + 1, model_->Record(editorIndex_.row()), text);
    });
    connect(editor, &CellEditor::charactersRefused, this, &TableGrid::charactersRefused);
    // The new editor takes the focus before the old one goes, so that the
    // focus never passes through the view or leaves the grid.
    if (focus) {
        editor->setFocus();
    }
    if (old.isValid()) {
        closePersistentEditor(old);
    }
}

void TableGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (following_ || model_->IsChanging() || !current.isValid()) {
        return;
    }
    // The user moved: the model takes the move (its column, then its row) and
    // the editor follows once, to where the view already stands.
    {
        QScopedValueRollback moving(userMoving_, true);
        model_->Table().SetCurrentCell(current.column() + 1, model_->Record(current.row()));
    }
    OpenEditor(current);
    CollapseRange();
}

void TableGrid::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                            const QList<int>& roles) {
    QTableView::dataChanged(topLeft, bottomRight, roles);
    // The editor's own typing is in the model already; anything else, the
    // card's typing too, is shown in it.
    if (CellEditor* editor = Editor();
        editor != nullptr && !typing_ && editorIndex_.row() >= topLeft.row() &&
        editorIndex_.row() <= bottomRight.row() && editorIndex_.column() >= topLeft.column() &&
        editorIndex_.column() <= bottomRight.column()) {
        itemDelegate()->setEditorData(editor, editorIndex_);
    }
}

void TableGrid::focusInEvent(QFocusEvent* event) {
    // The view's own handling would pick a current cell; the editor has one.
    if (CellEditor* editor = Editor()) {
        editor->setFocus();
        return;
    }
    QTableView::focusInEvent(event);
}

bool TableGrid::HandleEditorEvent(QWidget* editor, QEvent* event) {
    if (event->type() == QEvent::InputMethod) {
        return false;
    }
    return HandleEditorKey(editor, static_cast<QKeyEvent*>(event));
}

bool TableGrid::HandleEditorKey(QWidget* editorWidget, QKeyEvent* event) {
    auto* editor = static_cast<CellEditor*>(editorWidget);
    if (HandleRangeKey(event)) {
        return true;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool plain = !editor->hasSelectedText() && !(modifiers & Qt::ShiftModifier);
    switch (event->key()) {
        case Qt::Key_Tab:
            MoveCurrent(MoveNext, Qt::NoModifier);
            return true;
        case Qt::Key_Backtab:
            MoveCurrent(MovePrevious, Qt::NoModifier);
            return true;
        case Qt::Key_Escape:
            CollapseRange();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return true;
        case Qt::Key_Up:
            MoveCurrent(MoveUp, modifiers);
            return true;
        case Qt::Key_Down:
            MoveCurrent(MoveDown, modifiers);
            return true;
        case Qt::Key_PageUp:
            MoveCurrent(MovePageUp, modifiers);
            return true;
        case Qt::Key_PageDown:
            MoveCurrent(MovePageDown, modifiers);
            return true;
        case Qt::Key_Home:
        case Qt::Key_End:
            // Ctrl+Home / Ctrl+End go to the first / last row; alone they move the caret.
            if (modifiers & Qt::ControlModifier) {
                MoveCurrent(event->key() == Qt::Key_Home ? MoveHome : MoveEnd, modifiers);
                return true;
            }
            return false;
        case Qt::Key_Left:
            // At the start of the text the caret leaves the cell.
            if (plain && editor->cursorPosition() == 0) {
                MoveCurrent(MoveLeft, Qt::NoModifier);
                return true;
            }
            return false;
        case Qt::Key_Right:
            if (plain && editor->cursorPosition() == editor->text().size()) {
                MoveCurrent(MoveRight, Qt::NoModifier);
                return true;
            }
            return false;
        default:
            return false;
    }
}

void TableGrid::MoveCurrent(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex index = moveCursor(action, modifiers);
    if (index.isValid() && index != currentIndex()) {
        setCurrentIndex(index);
    } else {
        CollapseRange();  // a move that goes nowhere still ends the range
    }
}

void TableGrid::contextMenuEvent(QContextMenuEvent* event) {
    emit popupRequested(event->globalPos());
}

void TableGrid::SectionDragged(Qt::Orientation orientation, int fromVisual, int toVisual) {
    QHeaderView* header = orientation == Qt::Horizontal ? horizontalHeader() : verticalHeader();
    {
        const QSignalBlocker blocker(header);
        header->moveSection(toVisual, fromVisual);
    }
    if (orientation == Qt::Horizontal) {
        emit columnDragged(fromVisual + 1, toVisual + 1);
    } else {
        emit rowDragged(fromVisual + 1, toVisual + 1);
    }
}

void TableGrid::ApplyAllColumnWidths() {
    ApplyColumnWidths(0, model_->columnCount() - 1);
}

void TableGrid::ApplyColumnWidths(int first, int last) {
    const auto& table = model_->Table();
    const int count = model_->columnCount();
    if (const int largest = ShownSize(tabulon::kLargestViewSize, count); largest != largestWidth_) {
        // The share of a column changed with the count: every width may show anew.
        largestWidth_ = largest;
        first = 0;
        last = count - 1;
    }
    QHeaderView* cols = horizontalHeader();
    {
        // A header that draws looks up the resized section's position, a walk
        // over the sections before it, on every resize: a million items took
        // nine minutes. With its updates off it only records the size. Its signals
        // are off too, so the view is told once, below, not once per column.
        const QSignalBlocker blocker(cols);
        const bool drawing = cols->updatesEnabled();
        cols->setUpdatesEnabled(false);
        for (int c = first; c <= last; ++c) {
            const int width = ShownSize(table.GetColWidth(c + 1), count);
            if (cols->sectionSize(c) != width) {
                cols->resizeSection(c, width);
            }
        }
        cols->setUpdatesEnabled(drawing);
    }
    int headerWidth = tabulon::ShownSize(table.GetColWidth(0));
    if (model_->Filter().IsOn()) {
        // Room for the marker and the largest record number.
        const QString widest = FromCp932(tabulon::kMarker) + QString::number(table.RowCount());
        headerWidth = std::max(headerWidth, fontMetrics().horizontalAdvance(widest) + 8);
    }
    verticalHeader()->setFixedWidth(headerWidth);
    Relayout();
}

void TableGrid::ApplyRowHeight() {
    const int height = ShownSize(model_->Table().RowHeight(), model_->rowCount());
    QHeaderView* rows = verticalHeader();
    if (rows->defaultSectionSize() == height && horizontalHeader()->height() == height) {
        return;  // as almost every row typed or deleted leaves it
    }
    if (rows->defaultSectionSize() != height) {
        // One resize notice per row would cost seconds on a large table.
        const QSignalBlocker blocker(rows);
        rows->setDefaultSectionSize(height);
    }
    horizontalHeader()->setFixedHeight(height);
    Relayout();
}

void TableGrid::Relayout() {
    // The cells move to where the headers now end, at once rather than at the
    // next event that happens to lay the view out.
    updateGeometries();
    horizontalHeader()->viewport()->update();
    verticalHeader()->viewport()->update();
    viewport()->update();
}

void TableGrid::ApplyFont() {
    const auto& font = model_->Table().Font();
    setFont(ToQFont(font));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, TextColor(font, QApplication::palette()));
    setPalette(palette);
}
