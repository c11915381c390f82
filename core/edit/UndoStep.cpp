#include "edit/UndoStep.h"

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

// Cells outside the table (rows or items the change added) are skipped.
void SetTexts(TableModel& model, const CellTextsChange& change,
              const std::vector<std::string>& texts) {
    const TableModel::CellBatch batch(model);
    for (size_t i = 0; i < texts.size(); ++i) {
        const int col = change.first.col + static_cast<int>(i) % change.cols;
        const int row = change.first.row + static_cast<int>(i) / change.cols;
        if (row < model.RowCount() && col < model.ColCount() &&
            model.GetCell(col, row) != texts[i]) {
            model.SetCell(col, row, texts[i]);
        }
    }
}

void SetTexts(TableModel& model, const Replacements& change, std::string ReplacedCell::*text) {
    const TableModel::CellBatch batch(model);
    for (const ReplacedCell& replaced : change.cells) {
        model.SetCell(replaced.cell.col, replaced.cell.row, replaced.*text);
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

void TakeBack(TableModel& model, const TableChangeRecord& change) {
    std::visit(Overloaded{
                   [&](const CellTextsChange& c) {
                       model.SetRowCount(c.rowsBefore);
                       model.SetColCount(c.colsBefore);
                       SetTexts(model, c, c.before);
                   },
                   [&](const Replacements& c) {
                       SetTexts(model, c, &ReplacedCell::oldText);
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
                       for (size_t i = 0; i < c.before.size(); ++i) {
                           const int col = static_cast<int>(i) + 1;
                           if (model.GetCell(col, 0) != c.before[i]) {
                               model.SetCell(col, 0, c.before[i]);
                           }
                       }
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

void MakeAgain(TableModel& model, const TableChangeRecord& change) {
    std::visit(Overloaded{
                   [&](const CellTextsChange& c) {
                       model.SetRowCount(c.rowsAfter);
                       model.SetColCount(c.colsAfter);
                       SetTexts(model, c, c.after);
                   },
                   [&](const Replacements& c) {
                       if (c.rowAppended) model.SetRowCount(model.RowCount() + 1);
                       SetTexts(model, c, &ReplacedCell::newText);
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
                          [](const CellTextsChange& c) {
                              return TextsBytes(c.before) + TextsBytes(c.after);
                          },
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
                              // The vector counts each cell's two strings in place.
                              size_t bytes = VectorBytes(c.cells);
                              for (const ReplacedCell& cell : c.cells) {
                                  bytes += TextBytes(cell.oldText) + TextBytes(cell.newText) -
                                           2 * sizeof(std::string);
                              }
                              return bytes;
                          },
                          [](const auto&) { return size_t{0}; },
                      },
                      change);
}

}  // namespace tabulon
