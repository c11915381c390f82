#include "edit/UndoStep.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "edit/ItemNames.h"
#include "text/Messages.h"

namespace tabulon {

namespace {

template <typename... F>
struct Overloaded : F... {
    using F::operator()...;
};
// Clang 14 does not deduce an aggregate's template arguments by itself.
template <typename... F>
Overloaded(F...) -> Overloaded<F...>;

size_t TextBytes(const std::string& text) {
    // Short texts live inside the string object itself.
    static const size_t inPlace = std::string().capacity();
    return sizeof(std::string) + (text.capacity() > inPlace ? text.capacity() + 1 : 0);
}

size_t TextsBytes(const std::vector<std::string>& texts) {
    size_t bytes = (texts.capacity() - texts.size()) * sizeof(std::string);
    for (const std::string& text : texts) {
        bytes += TextBytes(text);
    }
    return bytes;
}

template <typename T>
size_t VectorBytes(const std::vector<T>& values) {
    return values.capacity() * sizeof(T);
}

size_t StringBytes(size_t length) {
    static const size_t inPlace = std::string().capacity();
    return sizeof(std::string) + (length > inPlace ? length + 1 : 0);
}

int RectRows(const CellTextsChange& change) {
    return change.cols == 0 ? 0 : static_cast<int>(change.texts.size()) / change.cols;
}

// Cells outside the table (rows or items the change added) are skipped.
void SetTexts(TableModel& model, const CellTextsChange& change) {
    TableModel::CellBatch batch(model);
    batch.ReserveTexts(change.texts.TextBytes(), change.texts.size());
    // A row at a time: its record is packed once.
    const auto cols = static_cast<size_t>(change.cols);
    const int shownCols = std::min(change.cols, model.ColCount() - change.first.col);
    std::vector<std::string_view> row(static_cast<size_t>(std::max(shownCols, 0)));
    for (size_t first = 0; first < change.texts.size() && !row.empty(); first += cols) {
        const int r = change.first.row + static_cast<int>(first / cols);
        if (r >= model.RowCount()) break;
        bool differs = false;
        for (size_t j = 0; j < row.size(); ++j) {
            row[j] = change.texts[first + j];
            differs |= model.GetCell(change.first.col + static_cast<int>(j), r) != row[j];
        }
        if (differs) model.SetRowCells(r, change.first.col, row);
    }
}

// The texts of the replaced cells as the table holds them.
TextList CellTexts(const TableModel& model, const std::vector<CellPosition>& cells) {
    TextList texts;
    for (const CellPosition& cell : cells) {
        texts.push_back(model.GetCell(cell.col, cell.row));
    }
    return texts;
}

void SetTexts(TableModel& model, const std::vector<CellPosition>& cells, const TextList& texts) {
    TableModel::CellBatch batch(model);
    batch.ReserveTexts(texts.TextBytes(), texts.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        model.SetCell(cells[i].col, cells[i].row, texts[i]);
    }
}

void SetWidths(TableModel& model, const std::vector<int>& widths) {
    const int cols = std::min(model.ColCount(), static_cast<int>(widths.size()));
    for (int c = 0; c < cols; ++c) {
        if (model.GetColWidth(c) != widths[static_cast<size_t>(c)]) {
            model.SetColWidth(c, widths[static_cast<size_t>(c)]);
        }
    }
}

std::vector<int> Inverse(const std::vector<int>& order) {
    std::vector<int> inverse(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        inverse[static_cast<size_t>(order[i])] = static_cast<int>(i);
    }
    return inverse;
}

}  // namespace

std::string_view StepName(StepKind kind) {
    switch (kind) {
        case StepKind::CellEdit:
            return messages::kStepTyping;
        case StepKind::Paste:
            return messages::kStepPaste;
        case StepKind::ClearCells:
            return messages::kStepClearCells;
        case StepKind::Cut:
            return messages::kStepCut;
        case StepKind::InsertRow:
            return messages::kStepInsertRow;
        case StepKind::InsertColumn:
            return messages::kStepInsertColumn;
        case StepKind::DeleteRow:
            return messages::kStepDeleteRow;
        case StepKind::DeleteColumn:
            return messages::kStepDeleteColumn;
        case StepKind::MoveRow:
            return messages::kStepMoveRow;
        case StepKind::MoveColumn:
            return messages::kStepMoveColumn;
        case StepKind::ItemNames:
            return messages::kStepItemNames;
        case StepKind::Sort:
            return messages::kStepSort;
        case StepKind::ColumnWidths:
            return messages::kStepColumnWidths;
        case StepKind::Font:
            return messages::kStepFont;
        case StepKind::Replace:
            return messages::kStepReplace;
    }
    return {};
}

void TakeBack(TableModel& model, TableChangeRecord& change) {
    std::visit(Overloaded{
                   [&](CellTextsChange& c) {
                       TextList after = RectTexts(model, c.first, c.cols, RectRows(c));
                       model.SetRowCount(c.rowsBefore);
                       model.SetColCount(c.colsBefore);
                       SetTexts(model, c);
                       c.texts = std::move(after);
                   },
                   [&](Replacements& c) {
                       c.newTexts = CellTexts(model, c.cells);
                       SetTexts(model, c.cells, c.oldTexts);
                       c.oldTexts = {};
                       if (c.rowAppended) model.SetRowCount(model.RowCount() - 1);
                   },
                   // The inserted row and column are empty again by now.
                   [&](const RowInsertion& c) { DeleteRow(model, c.row); },
                   [&](const RowDeletion& c) { RestoreRow(model, c.row, c.texts); },
                   [&](const ColumnInsertion& c) { DeleteColumn(model, c.col); },
                   [&](const ColumnDeletion& c) { RestoreColumn(model, c.col, c.removed); },
                   [&](const RowMove& c) { model.MoveRow(c.to, c.from); },
                   [&](const ColumnMove& c) { model.MoveCol(c.to, c.from); },
                   [&](const NameListChange& c) {
                       model.SetColCount(c.colsBefore);
                       for (size_t i = 0; i < c.dropped.size(); ++i) {
                           const int col = c.colsAfter + static_cast<int>(i);
                           model.SetColTexts(col, c.dropped[i].texts);
                           model.SetColWidth(col, c.dropped[i].lastPositionWidth);
                       }
                       const std::vector<std::string_view> names(c.before.begin(), c.before.end());
                       model.SetRowCells(0, 1, names);
                   },
                   [&](const RecordOrderChange& c) { model.PermuteRows(1, Inverse(c.order), 1); },
                   [&](const WidthChange& c) { SetWidths(model, c.before); },
                   [&](const FontChange& c) {
                       model.SetFont(c.before);
                       model.SetColWidth(0, c.markerWidthBefore);
                   },
               },
               change);
}

void MakeAgain(TableModel& model, TableChangeRecord& change) {
    std::visit(Overloaded{
                   [&](CellTextsChange& c) {
                       TextList before = RectTexts(model, c.first, c.cols, RectRows(c));
                       model.SetRowCount(c.rowsAfter);
                       model.SetColCount(c.colsAfter);
                       SetTexts(model, c);
                       c.texts = std::move(before);
                   },
                   [&](Replacements& c) {
                       c.oldTexts = CellTexts(model, c.cells);
                       if (c.rowAppended) model.SetRowCount(model.RowCount() + 1);
                       SetTexts(model, c.cells, c.newTexts);
                       c.newTexts = {};
                   },
                   [&](const RowInsertion& c) { InsertRow(model, c.row); },
                   [&](const RowDeletion& c) { DeleteRow(model, c.row); },
                   [&](const ColumnInsertion& c) { InsertColumn(model, c.col); },
                   [&](const ColumnDeletion& c) { DeleteColumn(model, c.col); },
                   [&](const RowMove& c) { model.MoveRow(c.from, c.to); },
                   [&](const ColumnMove& c) { model.MoveCol(c.from, c.to); },
                   [&](const NameListChange& c) { ApplyNameList(model, c.after); },
                   [&](const RecordOrderChange& c) { model.PermuteRows(1, c.order, 1); },
                   [&](const WidthChange& c) { SetWidths(model, c.after); },
                   [&](const FontChange& c) {
                       model.SetFont(c.after);
                       model.SetColWidth(0, c.markerWidthAfter);
                   },
               },
               change);
}

size_t RecordBytes(const TableChangeRecord& change) {
    return sizeof(UndoStep) +
           std::visit(Overloaded{
                          [](const CellTextsChange& c) { return c.texts.Bytes(); },
                          [](const RowDeletion& c) { return TextsBytes(c.texts); },
                          [](const ColumnDeletion& c) { return TextsBytes(c.removed.texts); },
                          [](const NameListChange& c) {
                              size_t bytes = TextsBytes(c.before) + TextsBytes(c.after) +
                                             VectorBytes(c.dropped);
                              for (const RemovedColumn& column : c.dropped) {
                                  bytes += TextsBytes(column.texts);
                              }
                              return bytes;
                          },
                          [](const RecordOrderChange& c) { return VectorBytes(c.order); },
                          [](const WidthChange& c) {
                              return VectorBytes(c.before) + VectorBytes(c.after);
                          },
                          [](const FontChange& c) {
                              return TextBytes(c.before.faceName) + TextBytes(c.after.faceName);
                          },
                          [](const Replacements& c) {
                              return VectorBytes(c.cells) + c.oldTexts.Bytes() + c.newTexts.Bytes();
                          },
                          [](const auto&) { return size_t{0}; },
                      },
                      change);
}

TextList RectTexts(const TableModel& model, CellPosition first, int cols, int rows) {
    // Counted first, so that the list takes just what it holds.
    size_t counted = 0;
    size_t bytes = 0;
    size_t i = 0;
    for (int r = first.row; r < first.row + rows; ++r) {
        for (int c = first.col; c < first.col + cols; ++c, ++i) {
            const size_t length = model.GetCell(c, r).size();
            bytes += length;
            if (length > 0) counted = i + 1;
        }
    }
    TextList texts;
    texts.reserve(counted, bytes);
    for (int r = first.row; r < first.row + rows; ++r) {
        for (int c = first.col; c < first.col + cols; ++c) {
            texts.push_back(model.GetCell(c, r));
        }
    }
    return texts;
}

size_t RectChangeBytes(const TableModel& model, CellPosition first, int cols, int rows) {
    size_t counted = 0;
    size_t bytes = 0;
    size_t i = 0;
    for (int r = first.row; r < std::min(first.row + rows, model.RowCount()); ++r) {
        for (int c = first.col; c < std::min(first.col + cols, model.ColCount()); ++c) {
            const size_t length = model.GetCell(c, r).size();
            bytes += length;
            if (length > 0) counted = i + static_cast<size_t>(c - first.col) + 1;
        }
        i += static_cast<size_t>(cols);
    }
    return sizeof(UndoStep) + TextList::Bytes(counted, bytes);
}

size_t ColumnDeletionBytes(const TableModel& model, int col) {
    size_t bytes = sizeof(UndoStep);
    for (int r = 0; r < model.RowCount(); ++r) {
        bytes += StringBytes(model.GetCell(col, r).size());
    }
    return bytes;
}

}  // namespace tabulon
