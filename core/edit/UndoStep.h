#pragma once
// One undoable change of the table: what it was called, where the cursor stood
// on either side, and just what taking it back and making it again need. A
// sort keeps the order it made (four bytes a record), a deleted row its texts,
// a width change the widths on either side, a replacement just the cells it
// changed (they lie anywhere in the table). Texts that change keep only the
// side the table does not hold: the texts before the change while it is
// done, those after it while it is undone.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "edit/TableOperations.h"
#include "edit/TableReplace.h"
#include "edit/TextList.h"
#include "table/CellPosition.h"
#include "table/FontDesc.h"
#include "table/TableModel.h"

namespace tabulon {

enum class StepKind {
    CellEdit,
    Paste,
    ClearCells,
    Cut,  // the same change as ClearCells, named as the command the user chose
    InsertRow,
    InsertColumn,
    DeleteRow,
    DeleteColumn,
    MoveRow,
    MoveColumn,
    ItemNames,
    Sort,
    ColumnWidths,
    Font,
    Replace,
};

// The short name the hints use (UTF-8), e.g. 「行の削除」.
std::string_view StepName(StepKind kind);

// A rectangle of item cells, row by row, and the counts on either side
// (typing or pasting into the last row appends rows, a wide paste items).
struct CellTextsChange {
    CellPosition first;
    int cols = 0;
    TextList texts;  // the side the table does not hold
    int rowsBefore = 0;
    int rowsAfter = 0;
    int colsBefore = 0;
    int colsAfter = 0;
};

struct RowInsertion {
    int row = 0;
};

struct RowDeletion {
    int row = 0;
    std::vector<std::string> texts;  // item columns
};

struct ColumnInsertion {
    int col = 0;
};

struct ColumnDeletion {
    int col = 0;
    RemovedColumn removed;
};

struct RowMove {
    int from = 0;
    int to = 0;
};

struct ColumnMove {
    int from = 0;
    int to = 0;
};

// The item names on either side, and the columns a shorter list dropped.
struct NameListChange {
    std::vector<std::string> before;
    std::vector<std::string> after;
    int colsBefore = 0;
    int colsAfter = 0;
    std::vector<RemovedColumn> dropped;
};

struct RecordOrderChange {
    std::vector<int> order;  // as SortRecords gives it
};

struct WidthChange {
    std::vector<int> before;
    std::vector<int> after;
};

struct FontChange {
    FontDesc before;
    FontDesc after;
    int markerWidthBefore = 0;
    int markerWidthAfter = 0;
};

using TableChangeRecord = std::variant<CellTextsChange, RowInsertion, RowDeletion, ColumnInsertion,
                                       ColumnDeletion, RowMove, ColumnMove, NameListChange,
                                       RecordOrderChange, WidthChange, FontChange, Replacements>;

struct UndoStep {
    StepKind kind = StepKind::CellEdit;
    CellPosition cursorBefore;
    CellPosition cursorAfter;
    TableChangeRecord change;
    size_t bytes = 0;  // what the step holds, for the history's budget
};

// Both work through the model's own operations, so its observers hear every
// change; neither touches the cursor or the marker, which the history sets.
// Each keeps in `change` the texts it takes out of the table.
void TakeBack(TableModel& model, TableChangeRecord& change);
void MakeAgain(TableModel& model, TableChangeRecord& change);

// Memory the record holds, its own size included.
size_t RecordBytes(const TableChangeRecord& change);

// The texts of a rectangle, row by row; cells outside the table read empty.
TextList RectTexts(const TableModel& model, CellPosition first, int cols, int rows);
// Memory a change of the rectangle's texts keeps, its own size included,
// before it is made: what a paste or a clear of it would keep.
size_t RectChangeBytes(const TableModel& model, CellPosition first, int cols, int rows);
// Memory the deletion of a column keeps.
size_t ColumnDeletionBytes(const TableModel& model, int col);

}  // namespace tabulon
