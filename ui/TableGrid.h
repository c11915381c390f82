#pragma once
// The table view of the main window: the item names and the marker column as
// headers, one row height, the column widths of the model (each shown within
// bounds, the model keeping its own), and one editor, always open on the
// current cell. Dragging a header section moves the row or column in the model
// (the header itself is put back), so the screen never disagrees with the
// data. The model's current cell is the one that counts; the view follows.
//
// A range of cells spreads from the current cell to a moving corner, made by
// dragging, Shift+click, Shift with the vertical keys, Ctrl+Shift with the
// arrows, a click on a header (a record or an item) or a second Ctrl+A (the
// whole table). The grid keeps it and draws it as the view's selection; any
// move of the current cell takes it back to that cell alone.

#include <QPersistentModelIndex>
#include <QRect>
#include <QTableView>

#include "table/CellPosition.h"

class CellEditor;
class MenuKeyGuard;
class TableItemModel;

// A rectangle of item cells in model indexes: items and records from 1.
struct CellRange {
    tabulon::CellPosition first;  // top left
    tabulon::CellPosition last;   // bottom right
    bool ManyCells() const { return first != last; }
};

class TableGrid : public QTableView {
    Q_OBJECT

  public:
    TableGrid(TableItemModel* model, MenuKeyGuard* menuKeys, QWidget* parent);

    // The editor on the current cell (never null once the grid has a cell).
    CellEditor* Editor() const;

    CellRange SelectedRange() const;
    // Selects a block the program changed, such as a pasted one; the current
    // cell stays its top left. Clipped to the table.
    void SelectRange(const CellRange& range);

  signals:
    // The editor's text changed by the user, for cell (col, row) of the model.
    void editTextChanged(int col, int row, const QString& text);
    void charactersRefused(const QString& characters);
    // The user dragged a column or row header, or a column's border, in model
    // indexes; the header is already put back, the model not yet changed.
    void columnDragged(int from, int to);
    void rowDragged(int from, int to);
    void columnResized(int col, int width);
    void popupRequested(const QPoint& globalPos);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* object, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override;

  private:
    void ShowCurrentCell();
    void OpenEditor(const QModelIndex& index);
    bool FocusInGrid() const;
    bool HandleEditorEvent(QWidget* editor, QEvent* event);
    bool HandleEditorKey(QWidget* editor, QKeyEvent* event);
    void MoveCurrent(CursorAction action, Qt::KeyboardModifiers modifiers);
    // The range keys of the editor; false leaves the key to the editor.
    bool HandleRangeKey(QKeyEvent* event);
    // Ranges in view indexes, x the column and y the row.
    void CollapseRange();
    void SetRange(QRect range, QPoint corner);
    // Moves the corner, the opposite corner of the range staying put.
    void ExtendRange(QPoint corner);
    void ExtendRangeTo(const QPoint& viewportPos);
    void SelectHeaderSection(Qt::Orientation orientation, int section);
    // Sizes come from the model bounded to what the grid can show; the model
    // keeps its own.
    void ApplyAllColumnWidths();
    // View columns first .. last, or all when their bound changed with the count.
    void ApplyColumnWidths(int first, int last);
    void ApplyRowHeight();
    void Relayout();
    void ApplyFont();
    void SectionDragged(Qt::Orientation orientation, int fromVisual, int toVisual);

    TableItemModel* model_;
    MenuKeyGuard* menuKeys_;
    QPersistentModelIndex editorIndex_;
    bool following_ = false;   // the view is being made to follow the model
    bool userMoving_ = false;  // the model is taking a move the user made
    int largestWidth_ = 0;     // the widest a column is shown at, for this count
    QRect range_;              // view indexes, the current cell within
    QPoint corner_;            // the corner of range_ that keys and drags move
    bool dragSelecting_ = false;
    bool selectAllPressed_ = false;  // the editor's last key was Ctrl+A
    bool typing_ = false;            // the editor's text is on its way to the model
};
