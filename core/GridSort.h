#pragma once
// The sort command's table operation: reorders the records by one item.

#include "TableModel.h"

namespace tabulon {

// Sorts records 1 .. RowCount - 2 as whole rows (item columns only) by the text
// of item `keyItem` (column keyItem + 1). Orders, as the sort dialog lists them:
// 0/1 text compared byte by byte as unsigned values, ascending/descending;
// 2/3 number of characters; 4/5 number of bytes. The sort is stable in every
// order: equal keys keep their relative order, descending too. Row 0 and the
// last row stay; column 0 is emptied and "→" written on the current row.
// Throws the grid index message for a key outside the item columns and the
// list index message for an order outside 0 .. 5, before changing anything.
void GridSort(TableModel& model, int keyItem, int order);

}  // namespace tabulon
