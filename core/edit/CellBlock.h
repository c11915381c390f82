#pragma once
// Rows of cell texts, as copied from the table or read from the clipboard.
// The texts lie back to back in one string with one end offset each: a block
// of millions of short cells costs its bytes and eight more a cell, not a
// string and its allocation a cell.

#include <cstddef>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

class CellBlock {
    std::string_view Text(size_t cell) const {
        const size_t start = cell == 0 ? 0 : ends_[cell - 1];
        return std::string_view(bytes_).substr(start, ends_[cell] - start);
    }

  public:
    class Row;
    Row operator[](size_t row) const;

    // Walks the cells of a row, or the rows, by index.
    template <typename Value, Value (CellBlock::*At)(size_t) const>
    class Iterator {
      public:
        Iterator(const CellBlock* block, size_t index) : block_(block), index_(index) {}
        Value operator*() const { return (block_->*At)(index_); }
        Iterator& operator++() {
            ++index_;
            return *this;
        }
        bool operator==(const Iterator&) const = default;

      private:
        const CellBlock* block_;
        size_t index_;
    };

    // One row's texts, valid while the block is not changed.
    class Row {
      public:
        size_t size() const { return count_; }
        bool empty() const { return count_ == 0; }
        std::string_view operator[](size_t i) const { return block_->Text(first_ + i); }

        using Cells = Iterator<std::string_view, &CellBlock::Text>;
        Cells begin() const { return {block_, first_}; }
        Cells end() const { return {block_, first_ + count_}; }

      private:
        friend class CellBlock;
        Row(const CellBlock* block, size_t first, size_t count)
            : block_(block), first_(first), count_(count) {}
        const CellBlock* block_;
        size_t first_;
        size_t count_;
    };

    CellBlock() = default;
    CellBlock(const std::vector<std::vector<std::string>>& rows);
    CellBlock(std::initializer_list<std::vector<std::string>> rows)
        : CellBlock(std::vector<std::vector<std::string>>(rows)) {}

    size_t size() const { return rowEnds_.size(); }
    bool empty() const { return rowEnds_.empty(); }
    // The most cells a row holds.
    size_t Width() const { return width_; }
    size_t CellCount() const { return ends_.size(); }
    size_t TextBytes() const { return bytes_.size(); }

    using Rows = Iterator < Row, &CellBlock::operator[]>;
    Rows begin() const { return {this, 0}; }
    Rows end() const { return {this, size()}; }

    // Building, cell by cell: text goes to the cell being written until
    // EndCell; EndRow closes the row after its last cell.
    void Reserve(size_t bytes, size_t cells);
    void Append(std::string_view text) { bytes_ += text; }
    void Append(char c) { bytes_ += c; }
    void EndCell() { ends_.push_back(bytes_.size()); }
    void AddCell(std::string_view text) {
        Append(text);
        EndCell();
    }
    void EndRow();

    bool operator==(const CellBlock&) const = default;

  private:
    // Cells of the row being written so far.
    size_t OpenRowCells() const { return ends_.size() - (rowEnds_.empty() ? 0 : rowEnds_.back()); }

    std::string bytes_;
    std::vector<size_t> ends_;     // where each cell's text ends in bytes_
    std::vector<size_t> rowEnds_;  // where each row's cells end in ends_
    size_t width_ = 0;
};

// For test failure messages.
void PrintTo(const CellBlock& block, std::ostream* out);

inline CellBlock::Row CellBlock::operator[](size_t row) const {
    const size_t first = row == 0 ? 0 : rowEnds_[row - 1];
    return {this, first, rowEnds_[row] - first};
}

}  // namespace tabulon
