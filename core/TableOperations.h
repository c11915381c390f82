#pragma once
// The four structural commands as table operations on the model. Texts move,
// widths stay with their positions, the current cell keeps its indexes.

#include "TableModel.h"

namespace tabulon {

// An empty row at `row`; the rows from there down (marker column included)
// move down one.
void InsertRow(TableModel& model, int row);
// Removes the texts of `row` (item columns only; the marker column keeps its
// places) and the last row; refused while RowCount <= 2.
void DeleteRow(TableModel& model, int row);
// An empty column (item name included) at `col`; the columns from there move right.
void InsertColumn(TableModel& model, int col);
// Removes the texts of `col` and the last column; refused while ColCount <= 2.
void DeleteColumn(TableModel& model, int col);

}  // namespace tabulon
