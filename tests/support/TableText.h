#pragma once
// Whole tables as plain values for tests: filled from rows of texts, and
// flattened into one comparable string.

#include <string>
#include <vector>

#include "table/TableModel.h"

namespace tabulon::testing {

using Rows = std::vector<std::vector<std::string>>;

// rows[r] holds the item cells (columns 1 and up) of row r, the last row
// included; the counts follow the rows.
void FillRows(TableModel& model, const Rows& rows);

// Every text of columns 1.. of every row, one row per line, tab-separated.
std::string Dump(const TableModel& model);

}  // namespace tabulon::testing
