#include "edit/TableOperations.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "table/LoadBudget.h"
#include "text/ErrorText.h"
#include "text/LineBreaks.h"
#include "text/Messages.h"

namespace tabulon {

namespace {

void RequireItemCell(const TableModel& model, CellPosition cell) {
    if (cell.col < 1 || cell.row < 1 || cell.col >= model.ColCount() ||
        cell.row >= model.RowCount()) {
        throw messages::GridIndexOutOfRange();
    }
}

}  // namespace

void InsertRow(TableModel& model, int row) {
    const int last = model.RowCount();
    model.SetRowCount(last + 1);
    model.MoveRowTexts(last, row, true);
}

std::optional<std::vector<std::string>> DeleteRow(TableModel& model, int row) {
    if (!CanDeleteRow(model)) {
        return std::nullopt;
    }
    const int rows = model.RowCount();
    std::vector<std::string> texts = model.GetRowTexts(row);
    texts.erase(texts.begin());
    model.MoveRowTexts(row, rows - 1, false);
    model.SetRowCount(rows - 1);
    return texts;
}

void InsertColumn(TableModel& model, int col) {
    const int last = model.ColCount();
    model.SetColCount(last + 1);
    model.MoveColTexts(last, col);
}

std::optional<RemovedColumn> DeleteColumn(TableModel& model, int col) {
    if (!CanDeleteColumn(model)) {
        return std::nullopt;
    }
    const int cols = model.ColCount();
    RemovedColumn removed{model.GetColTexts(col), model.GetColWidth(cols - 1)};
    model.MoveColTexts(col, cols - 1);
    model.SetColCount(cols - 1);
    return removed;
}

void RestoreRow(TableModel& model, int row, const std::vector<std::string>& itemTexts) {
    const int last = model.RowCount();
    model.SetRowCount(last + 1);
    model.MoveRowTexts(last, row, false);
    const int cols = std::min(model.ColCount() - 1, static_cast<int>(itemTexts.size()));
    for (int c = 1; c <= cols; ++c) {
        model.SetCell(c, row, itemTexts[static_cast<size_t>(c - 1)]);
    }
}

void RestoreColumn(TableModel& model, int col, const RemovedColumn& removed) {
    const int last = model.ColCount();
    model.SetColCount(last + 1);
    model.SetColWidth(last, removed.lastPositionWidth);
    model.MoveColTexts(last, col);
    model.SetColTexts(col, removed.texts);
}

void RefuseOversizedPaste(const TableModel& model, CellPosition at, const CellBlock& block) {
    const size_t width = block.Width();
    const uint64_t textBytes = block.TextBytes() + block.CellCount();  // a separator each
    // Rows: those of the block and the empty one after a filled last row.
    const int64_t cols = std::max<int64_t>(model.ColCount(), int64_t{at.col} + width);
    const int64_t rows = std::max<int64_t>(
        model.RowCount(), int64_t{at.row} + static_cast<int64_t>(block.size()) + 1);
    const uint64_t now = TableModel::StorageBytes(model.ColCount(), model.RowCount());
    const uint64_t then = TableModel::StorageBytes(cols, rows);
    if (cols > INT32_MAX || rows > INT32_MAX ||
        then - now > now + StorageBudget(static_cast<size_t>(textBytes))) {
        throw Error(std::string(messages::kOutOfMemory));
    }
}

void PasteCells(TableModel& model, CellPosition at, const CellBlock& block) {
    RequireItemCell(model, at);
    if (block.empty()) {
        return;
    }
    RefuseOversizedPaste(model, at, block);
    const int lastCol = at.col + static_cast<int>(block.Width()) - 1;
    if (lastCol >= model.ColCount()) {
        model.SetColCount(lastCol + 1);
    }
    const int lastRow = at.row + static_cast<int>(block.size()) - 1;
    if (lastRow >= model.RowCount()) {
        model.SetRowCount(lastRow + 1);
    }
    bool lastRowFilled = false;
    {
        TableModel::CellBatch batch(model);
        batch.ReserveTexts(block.TextBytes(), block.CellCount());
        std::vector<std::string_view> cells;
        std::vector<std::string> unbroken;  // texts without their line breaks
        for (int i = 0; i < static_cast<int>(block.size()); ++i) {
            const CellBlock::Row texts = block[static_cast<size_t>(i)];
            const int row = at.row + i;
            cells.clear();
            for (const std::string_view text : texts) {
                cells.push_back(text);
            }
            unbroken.clear();
            unbroken.reserve(cells.size());
            for (std::string_view& text : cells) {
                if (text.find_first_of("\r\n") != std::string_view::npos) {
                    text = unbroken.emplace_back(RemoveLineBreaks(text));
                }
            }
            model.SetRowCells(row, at.col, cells);
            lastRowFilled |= row == model.RowCount() - 1 &&
                             std::any_of(cells.begin(), cells.end(),
                                         [](std::string_view text) { return !text.empty(); });
        }
    }
    if (lastRowFilled) {
        model.SetRowCount(model.RowCount() + 1);
    }
}

void ClearCells(TableModel& model, CellPosition first, CellPosition last,
                const RecordFilter* shown) {
    RequireItemCell(model, first);
    const int lastCol = std::min(last.col, model.ColCount() - 1);
    const int lastRow = std::min(last.row, model.RowCount() - 1);
    const TableModel::CellBatch batch(model);
    // A row at a time: its record is packed once, however wide the range.
    const std::vector<std::string_view> empty(
        static_cast<size_t>(std::max(lastCol - first.col + 1, 0)));
    for (int r = NextRow(shown, first.row - 1); r <= lastRow; r = NextRow(shown, r)) {
        for (int c = first.col; c <= lastCol; ++c) {
            if (!model.GetCell(c, r).empty()) {
                model.SetRowCells(r, first.col, empty);
                break;
            }
        }
    }
}

void KeepRecords(TableModel& model, const std::vector<int>& records) {
    // The kept records first, then the empty last row, then what goes.
    const int rows = model.RowCount();
    std::vector<char> kept(static_cast<size_t>(rows), 0);
    std::vector<int> order;
    order.reserve(static_cast<size_t>(rows - 1));
    for (const int record : records) {
        kept[static_cast<size_t>(record)] = 1;
        order.push_back(record - 1);
    }
    order.push_back(rows - 2);
    for (int row = 1; row < rows - 1; ++row) {
        if (!kept[static_cast<size_t>(row)]) {
            order.push_back(row - 1);
        }
    }
    model.PermuteRows(1, order, 0);
    model.SetRowCount(static_cast<int>(records.size()) + 2);
}

bool CanDeleteRow(const TableModel& model) {
    return model.RowCount() > 2;
}

bool CanDeleteColumn(const TableModel& model) {
    return model.ColCount() > 2;
}

void EditCell(TableModel& model, int col, int row, std::string_view text) {
    model.SetCell(col, row, RemoveLineBreaks(text));
    if (row == model.RowCount() - 1 && !model.GetCell(col, row).empty()) {
        model.SetRowCount(model.RowCount() + 1);
    }
}

}  // namespace tabulon
