#pragma once
// The structural commands as table operations on the model. Texts move,
// widths stay with their positions, the current cell keeps its indexes.
// The removing commands hand back what they removed, so that an undo can put
// it back exactly.

#include <optional>
#include <string>
#include <vector>

#include "edit/CellBlock.h"
#include "search/RecordFilter.h"
#include "table/CellPosition.h"
#include "table/TableModel.h"

namespace tabulon {

// A column taken out of the table: its texts of rows 0 .. RowCount - 1 (item
// name first) and the width of the position that went with it. Widths belong
// to positions: deleting a column shifts the texts left under the widths and
// drops the last position's width, which is what an undo puts back.
struct RemovedColumn {
    std::vector<std::string> texts;
    int lastPositionWidth = 0;
};

// An empty row at `row`; the rows from there down (marker column included)
// move down one.
void InsertRow(TableModel& model, int row);
// Removes the texts of `row` (item columns only; the marker column keeps its
// places) and the last row; refused while RowCount <= 2. Gives the removed item
// texts, columns 1 .. ColCount - 1, or nothing when refused.
std::optional<std::vector<std::string>> DeleteRow(TableModel& model, int row);
// An empty column (item name included) at `col`; the columns from there move right.
void InsertColumn(TableModel& model, int col);
// Removes the texts of `col` and the last column; refused while ColCount <= 2.
// Gives the removed texts and the width of the last position, which is the
// one dropped, or nothing when refused.
std::optional<RemovedColumn> DeleteColumn(TableModel& model, int col);

// The inverses of the two deletions: the texts go back to `row` / `col` and
// whatever stood there from then on moves down / right again.
void RestoreRow(TableModel& model, int row, const std::vector<std::string>& itemTexts);
void RestoreColumn(TableModel& model, int col, const RemovedColumn& removed);

// Writes a block of texts (rows of item texts) with its first text at `at`, an
// item cell. Line breaks are removed as typing removes them; the table grows
// to hold the block, by unnamed items of the default width and by rows, and a
// last row that now holds pasted text gets an empty row after it, as typing
// does. The views hear of the texts as one rectangle.
void PasteCells(TableModel& model, CellPosition at, const CellBlock& block);
// A block's shape can ask for far more cells than its text holds (one long
// line of tabs over many short lines). Before anything changes, PasteCells
// refuses with "メモリが不足しています" a block that would grow the table's
// storage by more than the table already takes plus what a file of the
// block's size may load.
void RefuseOversizedPaste(const TableModel& model, CellPosition at, const CellBlock& block);
// Empties the item cells from `first` to `last` (both included), clipped to
// the table; given a filter, in the records it shows.
void ClearCells(TableModel& model, CellPosition first, CellPosition last,
                const RecordFilter* shown = nullptr);

// Leaves only `records` (ascending, within 1 .. RowCount - 2) and the empty
// last row: what a filtered table saves as.
void KeepRecords(TableModel& model, const std::vector<int>& records);

// A table keeps at least one record row and one item column.
bool CanDeleteRow(const TableModel& model);
bool CanDeleteColumn(const TableModel& model);

// The user's text for a cell: line breaks are removed (the pieces joined),
// and a text put into the last row adds a new empty last row, so that there
// is always a row for the next record.
void EditCell(TableModel& model, int col, int row, std::string_view text);

}  // namespace tabulon
