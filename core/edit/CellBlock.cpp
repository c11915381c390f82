#include "edit/CellBlock.h"

#include <algorithm>
#include <ostream>

namespace tabulon {

CellBlock::CellBlock(const std::vector<std::vector<std::string>>& rows) {
    for (const auto& row : rows) {
        for (const std::string& text : row) {
            AddCell(text);
        }
        EndRow();
    }
}

void CellBlock::Reserve(size_t bytes, size_t cells) {
    bytes_.reserve(bytes);
    ends_.reserve(cells);
}

void CellBlock::EndRow() {
    width_ = std::max(width_, OpenRowCells());
    rowEnds_.push_back(ends_.size());
}

void PrintTo(const CellBlock& block, std::ostream* out) {
    for (const CellBlock::Row row : block) {
        *out << '\n';
        for (const std::string_view text : row) {
            *out << '[' << text << ']';
        }
    }
}

}  // namespace tabulon
