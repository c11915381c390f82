#pragma once
// How the lists that show items (the sort key, the element search and its
// results, the column widths) name them: an item's name, or "（1列目）",
// "（2列目）" ... (its column's number) when the name is empty, so that unnamed
// items can be told apart. The table keeps its empty names.

#include <string>
#include <vector>

#include "table/TableModel.h"

namespace tabulon {

// The label of column `col`, cp932; outside the table, the numbered form.
std::string ItemLabel(const TableModel& model, int col);
// ItemLabel of columns 1 .. ColCount - 1, in order: the lists' entries.
std::vector<std::string> ItemLabels(const TableModel& model);

}  // namespace tabulon
