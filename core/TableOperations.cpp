#include "TableOperations.h"

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

}  // namespace tabulon
