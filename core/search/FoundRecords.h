#pragma once
// What the element search lists: the matching records with the item labels,
// the column widths and every text of those rows as the table held them at the
// search. Columns are the table's 1 .. ColCount - 1; the marker column is left
// out, since the list shows the row number there instead.

#include <string>
#include <string_view>
#include <vector>

#include "search/TextSnapshot.h"
#include "table/TableModel.h"

namespace tabulon {

class FoundRecords {
  public:
    FoundRecords() = default;
    // `rows` ascending, inside the table (as FindRecordsByItem gives them).
    FoundRecords(const TableModel& model, std::vector<int> rows);

    // The table's columns 1 .. Columns() are this list's columns 1 .. Columns().
    int Columns() const { return static_cast<int>(names_.size()); }
    size_t Records() const { return rows_.size(); }

    int Row(size_t record) const { return rows_[record]; }
    // `col` counts from 1, as in the table.
    std::string_view Text(size_t record, int col) const;
    const std::string& Name(int col) const { return names_[col - 1]; }
    int Width(int col) const { return widths_[col - 1]; }

  private:
    std::vector<int> rows_;
    std::vector<std::string> names_;
    std::vector<int> widths_;
    TextSnapshot texts_;  // record by record, Columns() texts each
};

}  // namespace tabulon
