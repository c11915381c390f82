#pragma once
// The undo history of one document. Every change that a save would write is
// made through it as one step, so that it can be taken back and made again
// through the model's own operations (views hear every change), with the
// cursor of the step and the marker on the cursor's row.
//
// The history owns the modified flag: the document is modified unless it
// stands where it was last loaded or saved, or the cell being typed in holds
// other text than when the typing began. Steps past a memory budget are
// dropped, oldest first; the newest always stays. A command whose step alone
// would take more than the budget (a paste, a clear, a deleted column, a
// replace-all) asks first whether it may run without one: it then cannot be
// undone, nor can anything before it.
//
// It watches the model. A reset (a new or loaded document) starts it afresh;
// a change it did not make itself, other than typing into the cell of the
// typing session, leaves it unable to undo safely, so it forgets its steps
// and the document counts as modified.

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/CellBlock.h"
#include "edit/RecordSort.h"
#include "edit/TableReplace.h"
#include "edit/UndoStep.h"
#include "table/CellPosition.h"
#include "table/FontDesc.h"
#include "table/TableModel.h"

namespace tabulon {

class UndoHistory {
  public:
    static constexpr size_t kDefaultMemoryBudget = size_t{256} << 20;

    // The model must outlive the history. The model's present state counts as clean.
    explicit UndoHistory(TableModel& model, size_t memoryBudget = kDefaultMemoryBudget);
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // The typing session of one item cell: from entering the cell until
    // leaving it, everything typed, pasted or deleted in its editor (the model
    // holding every keystroke, and the rows typing appends) is one step. Begin
    // ends the session before it; a cell outside the item cells opens none.
    // End makes the typing so far one step; typing on in the same cell is the
    // next. Every command, Undo, Redo, MarkClean and Clear end the session
    // first and begin it again on the current cell, where the editor stays.
    void BeginCellEdit(int col, int row);
    void EndCellEdit();

    // Asked before a command whose step would take more than the budget
    // (「この操作は元に戻せません」): true runs it without a step, and the
    // history forgets its steps; false runs nothing. None given: it runs so.
    using MayForgoUndo = std::function<bool()>;

    // The commands, each one step when it changes anything. They take what the
    // core operations of the same names take and may throw what those throw;
    // what was done before a failure stays done and is one step.
    void PasteCells(CellPosition at, const CellBlock& block, const MayForgoUndo& ask = {});
    void ClearCells(CellPosition first, CellPosition last, const RecordFilter* shown = nullptr,
                    const MayForgoUndo& ask = {});
    // As ClearCells, named 切り取り.
    void CutCells(CellPosition first, CellPosition last, const RecordFilter* shown = nullptr,
                  const MayForgoUndo& ask = {});
    void InsertRow(int row);
    void DeleteRow(int row);
    void InsertColumn(int col);
    void DeleteColumn(int col, const MayForgoUndo& ask = {});
    void MoveRow(int from, int to);  // a dragged row or column
    void MoveColumn(int from, int to);
    void ApplyNameList(const std::vector<std::string>& entries);
    void SortRecords(ItemIndex keyItem, SortOrder order);
    void ApplyColumnWidths(const std::vector<std::string>& widths);
    // One column's border dragged: successive widths of the same column, with
    // nothing between them, make one step.
    void SetColumnWidth(int col, int pixels);
    void ApplyFont(const FontDesc& font);
    // Find and replace (TableReplace.h), each one step when a cell matched;
    // both give the number of cells replaced. They are all or nothing: out of
    // memory (std::bad_alloc) they leave the table, the steps and the modified
    // flag as they were. ReplaceAll searches from the cursor's row or column
    // and leaves the cursor on the last cell replaced; it gives nothing when
    // `ask` declined to run it without a step.
    int ReplaceInCell(CellPosition cell, std::string_view search, std::string_view replacement,
                      FindOptions options);
    std::optional<int> ReplaceAll(std::string_view search, std::string_view replacement,
                                  FindScope place, FindDirection way, FindOptions options,
                                  const RecordFilter* shown = nullptr,
                                  const MayForgoUndo& ask = {});

    bool CanUndo() const;
    bool CanRedo() const;
    void Undo();
    void Redo();

    // The step that Undo / Redo would take, e.g. 「行の削除」; empty if none.
    std::string_view UndoName() const;
    std::string_view RedoName() const;
    // 「行の削除を元に戻します」, 「行の削除をやり直します」; when older steps
    // were dropped, the undo hint says so where the history ends.
    std::string UndoHint() const;
    std::string RedoHint() const;

    // After a successful save: the present state is the clean one.
    void MarkClean();
    // The table differs from its file though no step made it so (a load had
    // to leave bytes out): modified until saved.
    void MarkUnsaved();
    // Whether a save writes the column widths. CSV and TSV files hold none, so
    // for them width and font steps (the font only moves the marker column's
    // width) leave the document unmodified; they stay steps to undo and redo.
    void SetWidthsSaved(bool saved);
    // A new document: no steps, the present state clean. Resetting or loading
    // the model does this by itself.
    void Clear();

    bool StepsDropped() const { return dropped_; }
    size_t UndoCount() const { return position_ - base_; }
    size_t RedoCount() const { return base_ + steps_.size() - position_; }
    size_t MemoryUsed() const { return used_; }
    size_t MemoryBudget() const { return budget_; }

  private:
    class Watch;
    class Applying;
    struct Session {
        CellPosition cell;
        std::string textBefore;
        int rowsBefore = 0;
    };

    template <typename MakeChange>
    void Record(StepKind kind, MakeChange&& makeChange);
    // Whether a step of this size is kept.
    bool Keeps(size_t stepBytes) const;
    // Runs `change` without a step when `ask` agrees; gives whether it ran.
    template <typename Change>
    bool Unkept(const MayForgoUndo& ask, Change&& change);
    void ClearRange(StepKind kind, CellPosition first, CellPosition last, const RecordFilter* shown,
                    const MayForgoUndo& ask);
    void Recount(UndoStep& step);
    // Leaves `step` as it was when it throws.
    void Push(UndoStep&& step);
    void Settle();
    void Forget(bool clean);
    bool SessionChanged() const;
    bool StepsChangeSave() const;
    void UpdateModified();
    CellPosition Cursor() const;
    void PutCursor(CellPosition cell);

    // What the watch hears from the model while the history is not applying.
    void CellsChangedOutside(int col0, int row0, int col1, int row1);
    void TableChangedOutside(const TableChange& change);
    void WidthsChangedOutside();
    void FontChangedOutside();

    TableModel& model_;
    size_t budget_;
    std::unique_ptr<Watch> watch_;
    // Steps by absolute number: steps_[0] is step base_; position_ steps are done.
    std::deque<UndoStep> steps_;
    size_t base_ = 0;
    size_t position_ = 0;
    std::optional<size_t> clean_ = 0;
    size_t used_ = 0;
    bool dropped_ = false;
    bool applying_ = false;
    bool widthsSaved_ = true;
    std::optional<Session> session_;
    // What the table held when the history last knew it, so that a notice
    // that changes nothing (views echo widths) is not taken for a change.
    std::vector<int> knownWidths_;
    FontDesc knownFont_;
};

}  // namespace tabulon
