#pragma once
// Column 0's texts. It mostly holds the marker on one row and nothing else,
// so until a second row takes a text it keeps that one row and its text
// instead of a handle a row: ten million records then cost no 80 MB here.
// The column does not own its texts; whoever sets them releases them.

#include <cstddef>
#include <vector>

#include "table/CellText.h"
#include "table/LargeBlocks.h"
#include "table/RowMoves.h"

namespace tabulon {

class MarkerColumn {
  public:
    size_t Size() const { return size_; }
    CellText At(size_t row) const {
        if (texts_.empty()) return row == lone_ ? loneText_ : CellText{};
        return texts_[row];
    }
    // Returns the text `row` held.
    CellText Set(size_t row, CellText text);
    // Rows beyond a smaller size must have been emptied first.
    void Resize(size_t size);
    // Every row empty, a handle a row no more.
    void Clear();
    // The row at `from` goes to `to`, those between move up one.
    void Rotate(size_t from, size_t to);
    // Row first + i takes row first + order[i]'s text; `order` is a permutation.
    void Permute(size_t first, const std::vector<int>& order);
    // The texts that are not empty, for releasing them.
    template <typename F>
    void ForEachText(F&& f) const {
        if (texts_.empty()) {
            if (loneText_) f(loneText_);
            return;
        }
        for (const CellText text : texts_) {
            if (text) f(text);
        }
    }

  private:
    // A handle a row once two rows hold texts; empty till then.
    std::vector<CellText, LargeAllocator<CellText>> texts_;
    size_t size_ = 0;
    // While texts_ is empty: the one row that may hold a text, and the text
    // (empty: no row holds one).
    size_t lone_ = 0;
    CellText loneText_;
};

}  // namespace tabulon
