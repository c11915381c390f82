#pragma once
// What a view of the table hears. Structural changes come as a pair around the
// change (a view like Qt's must announce them before the counts move); moved
// and edited texts are CellsChanged for just their rectangle, never a reset.
// Records that change places are also told as such, before their CellsChanged,
// for those that follow records rather than rows.

#include <vector>

namespace tabulon {

struct TableChange {
    enum class Kind { RowsInserted, RowsRemoved, ColumnsInserted, ColumnsRemoved, Reset };
    Kind kind;
    int first = 0;  // first row/column inserted or removed
    int count = 0;  // rows/columns inserted or removed
};

class TableObserver {
  public:
    virtual ~TableObserver() = default;

    // Raised with the new current cell before it becomes current.
    virtual void SelectionChanged(int /*col*/, int /*row*/) {}
    // After the current cell has changed, however it changed.
    virtual void CurrentCellMoved() {}

    virtual void TableChanging(const TableChange&) {}
    virtual void TableChanged(const TableChange&) {}
    // Cells of the rectangle [col0, col1] x [row0, row1] hold new texts.
    virtual void CellsChanged(int /*col0*/, int /*row0*/, int /*col1*/, int /*row1*/) {}
    // Row `from`'s record went to `to`; those between moved up or down by one.
    virtual void RowMoved(int /*from*/, int /*to*/) {}
    // Row firstRow + i took the record of row firstRow + order[i].
    virtual void RowsPermuted(int /*firstRow*/, const std::vector<int>& /*order*/) {}
    virtual void ColumnWidthsChanged() {}
    virtual void RowHeightChanged() {}
    virtual void FontChanged() {}
};

}  // namespace tabulon
