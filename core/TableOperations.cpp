#include "TableOperations.h"

#include "LineBreaks.h"

namespace tabulon {

void InsertRow(TableModel& model, int row) {
    const int last = model.RowCount();
    model.SetRowCount(last + 1);
    model.MoveRowTexts(last, row, true);
}

void DeleteRow(TableModel& model, int row) {
    const int rows = model.RowCount();
    if (rows <= 2) {
        return;
    }
    model.MoveRowTexts(row, rows - 1, false);
    model.SetRowCount(rows - 1);
}

void InsertColumn(TableModel& model, int col) {
    const int last = model.ColCount();
    model.SetColCount(last + 1);
    model.MoveColTexts(last, col);
}

void DeleteColumn(TableModel& model, int col) {
    const int cols = model.ColCount();
    if (cols <= 2) {
        return;
    }
    model.MoveColTexts(col, cols - 1);
    model.SetColCount(cols - 1);
}

bool CanDeleteRow(const TableModel& model) {
    return model.RowCount() > 2;
}

bool CanDeleteColumn(const TableModel& model) {
    return model.ColCount() > 2;
}

void InsertRowAtCurrent(TableModel& model) {
    InsertRow(model, model.CurrentRow());
    // The arrow moved down with the marker row; it belongs to the new row.
    model.SetCell(0, model.MarkerRow() + 1, {});
    model.SetCell(0, model.CurrentRow(), kMarker);
}

void InsertColumnAtCurrent(TableModel& model) {
    InsertColumn(model, model.CurrentCol());
}

void DeleteCurrentRow(TableModel& model) {
    DeleteRow(model, model.CurrentRow());
}

void DeleteCurrentColumn(TableModel& model) {
    DeleteColumn(model, model.CurrentCol());
}

void MarkCurrentRow(TableModel& model) {
    model.MoveMarker(model.CurrentRow());
}

void EditCell(TableModel& model, int col, int row, std::string_view text) {
    model.SetCell(col, row, RemoveLineBreaks(text));
    if (row == model.RowCount() - 1 && !model.GetCell(col, row).empty()) {
        model.SetRowCount(model.RowCount() + 1);
    }
}

}  // namespace tabulon
