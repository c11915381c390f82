#pragma once
// The three scans of the search commands, as functions of the table: find
// next, find all and the element search. Each tests cells with TextMatcher;
// the item-name row 0 and the marker column 0 are never searched. None of them
// moves the current cell: the caller does that with SetCurrentCell. Given a
// filter, each reads only the records it shows.

#include <optional>
#include <string_view>
#include <vector>

#include "search/RecordFilter.h"
#include "table/CellPosition.h"
#include "table/ItemIndex.h"
#include "table/TableModel.h"
#include "text/FindOptions.h"

namespace tabulon {

// The find dialog's scope ("全体", "指定") and direction ("行", "列"), by
// their index in the dialog's lists.
enum class FindScope { Whole = 0, Specified = 1 };
enum class FindDirection { Row = 0, Column = 1 };

// The first matching cell after `current` (which must lie in columns and rows
// 1 .. count - 1): Whole reads column by column, top to bottom, from the cell
// below `current` to the bottom of the last column; Specified reads the rest
// of the current row (Row) or of the current column (Column). No wrap-around.
std::optional<CellPosition> FindNextCell(const TableModel& model, CellPosition current,
                                         std::string_view search, FindScope place,
                                         FindDirection way, FindOptions options,
                                         const RecordFilter* shown = nullptr);

// Every matching cell in scan order: Whole reads the table column by column,
// top to bottom; Specified reads the whole current row or column, the current
// cell included.
std::vector<CellPosition> FindAllCells(const TableModel& model, CellPosition current,
                                       std::string_view search, FindScope place, FindDirection way,
                                       FindOptions options, const RecordFilter* shown = nullptr);

// The records (rows 1 .. RowCount - 1, ascending) whose item `item` matches. A column outside the
// table reads as empty cells.
std::vector<int> FindRecordsByItem(const TableModel& model, ItemIndex item, std::string_view search,
                                   FindOptions options, const RecordFilter* shown = nullptr);

}  // namespace tabulon
