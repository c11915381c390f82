#pragma once
// The sort command's table operation: reorders the records by one item.

#include <vector>

#include "table/ItemIndex.h"
#include "table/TableModel.h"

namespace tabulon {

// The six orders, numbered as the sort dialog lists them: text compared byte by
// byte as unsigned values, number of characters, number of bytes; each
// ascending, then descending.
enum class SortOrder : int {
    TextAscending,
    TextDescending,
    CharactersAscending,
    CharactersDescending,
    BytesAscending,
    BytesDescending,
};

// Sorts records 1 .. RowCount - 2 as whole rows (item columns only) by the text
// of item `keyItem` in `order`. The sort is stable in every
// order: equal keys keep their relative order, descending too. Row 0 and the
// last row stay; column 0 is emptied and "→" written on the current row.
// Throws the grid index message for a key outside the item columns and the
// list index message for an order number outside 0 .. 5, before changing anything.
// Gives the order it made: record i (0-based, row i + 1) took the texts of
// record order[i]. That is all an undo needs, four bytes a record.
std::vector<int> SortRecords(TableModel& model, ItemIndex keyItem, SortOrder order);

}  // namespace tabulon
