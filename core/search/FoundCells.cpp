#include "search/FoundCells.h"

namespace tabulon {

FoundCells::FoundCells(const TableModel& model, std::vector<CellPosition> cells)
    : cells_(std::move(cells)) {
    // Sized first: growing one buffer of hundreds of megabytes costs more
    // than reading the cells twice.
    size_t bytes = 0;
    for (const CellPosition& cell : cells_) {
        bytes += model.GetCell(cell.col, cell.row).size();
    }
    texts_.Reserve(cells_.size(), bytes);
    for (const CellPosition& cell : cells_) {
        texts_.Append(model.GetCell(cell.col, cell.row));
    }
}

}  // namespace tabulon
