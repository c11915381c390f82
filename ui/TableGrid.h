#pragma once
// The table view of the main window: the item names and the marker column as
// headers, one row height, the column widths of the model (each shown within
// bounds, the model keeping its own), and one editor, always open on the
// current cell. Dragging a header section moves the row or column in the model
// (the header itself is put back), so the screen never disagrees with the
// data. The model's current cell is the one that counts; the view follows.

#include <QPersistentModelIndex>
#include <QTableView>

class CellEditor;
class MenuKeyGuard;
class TableItemModel;

class TableGrid : public QTableView {
    Q_OBJECT

  public:
    TableGrid(TableItemModel* model, MenuKeyGuard* menuKeys, QWidget* parent);

    // The editor on the current cell (never null once the grid has a cell).
    CellEditor* Editor() const;

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
};
