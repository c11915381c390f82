#pragma once
// A cell's place in the table: column first, both counted from 0.

namespace tabulon {

struct CellPosition {
    int col = 0;
    int row = 0;
    bool operator==(const CellPosition&) const = default;
};

}  // namespace tabulon
