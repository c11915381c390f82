#include "TableGrid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <algorithm>

#include "CellDelegate.h"
#include "CellEditor.h"
#include "FontMapping.h"
#include "MenuKeyGuard.h"
#include "TableItemModel.h"

TableGrid::TableGrid(TableItemModel* model, MenuKeyGuard* menuKeys, QWidget* parent)
    : QTableView(parent), model_(model), menuKeys_(menuKeys) {
    setItemDelegate(new CellDelegate(
        [this](QWidget* editor, QEvent* event) { return HandleEditorEvent(editor, event); }, this));
    setModel(model_);
    setSelectionMode(SingleSelection);
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
    cols->setMinimumSectionSize(0);

    connect(cols, &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { SectionDragged(Qt::Horizontal, from, to); });
    connect(rows, &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { SectionDragged(Qt::Vertical, from, to); });
    connect(cols, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (!applyingWidths_ && !model_->IsChanging()) {
            emit columnResized(section + 1, size);
        }
    });

    connect(model_, &TableItemModel::currentCellMoved, this, &TableGrid::ShowCurrentCell);
    connect(model_, &TableItemModel::columnWidthsChanged, this, &TableGrid::ApplyColumnWidths);
    connect(model_, &TableItemModel::rowHeightChanged, this, &TableGrid::ApplyRowHeight);
    connect(model_, &TableItemModel::fontChanged, this, &TableGrid::ApplyFont);
    // Qt moves or drops the view's current index with the rows and columns;
    // the model's current cell keeps its indexes.
    for (auto signal :
         {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved,
          &QAbstractItemModel::columnsInserted, &QAbstractItemModel::columnsRemoved}) {
        connect(model_, signal, this, [this] {
            ApplyColumnWidths();
            ShowCurrentCell();
        });
    }
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        ApplyColumnWidths();
        ShowCurrentCell();
    });

    ApplyFont();
    ApplyRowHeight();
    ApplyColumnWidths();
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
    const QModelIndex index = model_->index(table.CurrentRow() - 1, table.CurrentCol() - 1);
    if (!index.isValid()) {
        return;
    }
    if (currentIndex() != index) {
        QScopedValueRollback following(following_, true);
        setCurrentIndex(index);
    }
    OpenEditor(index);
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
    connect(editor, &CellEditor::editTextChanged, this, [this](const QString& text) {
        emit editTextChanged(editorIndex_.column() + 1, editorIndex_.row() + 1, text);
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
        model_->Table().SetCurrentCell(current.column() + 1, current.row() + 1);
    }
    OpenEditor(current);
}

void TableGrid::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                            const QList<int>& roles) {
    QTableView::dataChanged(topLeft, bottomRight, roles);
    if (CellEditor* editor = Editor();
        editor != nullptr && topLeft != bottomRight && editorIndex_.row() >= topLeft.row() &&
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
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool plain = !editor->hasSelectedText() && !(modifiers & Qt::ShiftModifier);
    switch (event->key()) {
        case Qt::Key_Tab:
            MoveCurrent(MoveNext, Qt::NoModifier);
            return true;
        case Qt::Key_Backtab:
            MoveCurrent(MovePrevious, Qt::NoModifier);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
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
    }
}

void TableGrid::mousePressEvent(QMouseEvent* event) {
    // The pop-up menu acts on the current cell, so a right click leaves it.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
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

void TableGrid::ApplyColumnWidths() {
    const auto& table = model_->Table();
    QScopedValueRollback applying(applyingWidths_, true);
    verticalHeader()->setFixedWidth(std::max(table.GetColWidth(0), 0));
    QHeaderView* cols = horizontalHeader();
    for (int c = 1; c < table.ColCount(); ++c) {
        const int width = std::max(table.GetColWidth(c), 0);
        if (cols->sectionSize(c - 1) != width) {
            cols->resizeSection(c - 1, width);
        }
    }
}

void TableGrid::ApplyRowHeight() {
    const int height = std::max(model_->Table().RowHeight(), 1);
    QHeaderView* rows = verticalHeader();
    // The default size is silently raised to the minimum, so lower that first.
    rows->setMinimumSectionSize(std::min(height, rows->minimumSectionSize()));
    if (rows->defaultSectionSize() != height) {
        {
            // One resize notice per row would cost seconds on a large table.
            const QSignalBlocker blocker(rows);
            rows->setDefaultSectionSize(height);
        }
        rows->viewport()->update();
        updateGeometries();
        viewport()->update();
    }
    horizontalHeader()->setFixedHeight(height);
}

void TableGrid::ApplyFont() {
    const auto& font = model_->Table().Font();
    setFont(ToQFont(font));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, TextColor(font, QApplication::palette()));
    setPalette(palette);
}
