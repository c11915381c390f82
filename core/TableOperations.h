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

// A table keeps at least one record row and one item column.
bool CanDeleteRow(const TableModel& model);
bool CanDeleteColumn(const TableModel& model);

// The row and column commands at the current cell. Inserting a row puts the
// marker on the new (current) row alone.
void InsertRowAtCurrent(TableModel& model);
void InsertColumnAtCurrent(TableModel& model);
void DeleteCurrentRow(TableModel& model);
void DeleteCurrentColumn(TableModel& model);

// After a row was dragged: the marker stands on the current row alone.
void MarkCurrentRow(TableModel& model);

// The user's text for a cell: line breaks are removed (the pieces joined),
// and a text put into the last row adds a new empty last row, so that there
// is always a row for the next record.
void EditCell(TableModel& model, int col, int row, std::string_view text);

}  // namespace tabulon
