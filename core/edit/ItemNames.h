#pragma once
// The item names as the item-name editor edits them: a numbered list of
// entries whose run of names, from the first entry up to the first empty one,
// becomes the table's item columns.

#include <string>
#include <vector>

#include "edit/TableOperations.h"
#include "table/TableModel.h"

namespace tabulon {

// The names of the item columns 1 .. ColCount - 1, in order.
std::vector<std::string> ItemNames(const TableModel& model);

// Applies a name list of cp932 entries. Line breaks are removed from every
// entry first; the names are then the run of non-empty entries up to the first
// empty one. ColCount becomes max(2, names + 1), columns beyond are dropped with
// their cells, and column i is named after the i-th name. Nothing else changes:
// rows, the kept cells and widths, the marker column. Gives the
// columns it dropped, left to right, for an undo to put back.
std::vector<RemovedColumn> ApplyNameList(TableModel& model,
                                         const std::vector<std::string>& entries);

// How many of the columns that applying `entries` would drop hold any text,
// an item name or a cell: data the user would lose, and is asked about first.
int DroppedColumnsWithText(const TableModel& model, const std::vector<std::string>& entries);

}  // namespace tabulon
