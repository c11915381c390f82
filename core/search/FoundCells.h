#pragma once
// What find all lists: the matching cells in scan order, each with its text
// as the table held it at the search (unfolded).

#include <string_view>
#include <vector>

#include "search/TextSnapshot.h"
#include "table/CellPosition.h"
#include "table/TableModel.h"

namespace tabulon {

class FoundCells {
  public:
    FoundCells() = default;
    // `cells` lie inside the table (as FindAllCells gives them).
    FoundCells(const TableModel& model, std::vector<CellPosition> cells);

    size_t size() const { return cells_.size(); }
    CellPosition Cell(size_t i) const { return cells_[i]; }
    std::string_view Text(size_t i) const { return texts_[i]; }

  private:
    std::vector<CellPosition> cells_;
    TextSnapshot texts_;  // texts_[i] is the text of cells_[i]
};

}  // namespace tabulon
