#include "edit/UndoHistory.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "edit/ItemNames.h"
#include "edit/TableOperations.h"
#include "edit/TextList.h"
#include "table/ViewGeometry.h"
#include "text/Messages.h"

namespace tabulon {

namespace {

std::vector<int> Widths(const TableModel& model) {
    std::vector<int> widths(static_cast<size_t>(model.ColCount()));
    for (int c = 0; c < model.ColCount(); ++c) {
        widths[static_cast<size_t>(c)] = model.GetColWidth(c);
    }
    return widths;
}

// Whether the rectangle holds `texts`, as RectTexts would read them.
bool HoldsTexts(const TableModel& model, CellPosition first, int cols, const TextList& texts) {
    for (size_t i = 0; i < texts.size(); ++i) {
        const int col = first.col + static_cast<int>(i) % cols;
        const int row = first.row + static_cast<int>(i) / cols;
        if (model.GetCell(col, row) != texts[i]) return false;
    }
    return true;
}

// The step of a replacement, or none when nothing matched.
// The new texts are in the table now: the step keeps the old ones.
std::optional<TableChangeRecord> ReplacementStep(Replacements done) {
    if (done.cells.empty()) {
        return std::nullopt;
    }
    done.newTexts = {};
    return TableChangeRecord(std::move(done));
}

bool IsIdentity(const std::vector<int>& order) {
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] != static_cast<int>(i)) return false;
    }
    return true;
}

}  // namespace

class UndoHistory::Watch : public TableObserver {
  public:
    explicit Watch(UndoHistory& history) : history_(history) {}

    void TableChanged(const TableChange& change) override {
        if (!history_.applying_) history_.TableChangedOutside(change);
    }
    void CellsChanged(int col0, int row0, int col1, int row1) override {
        if (!history_.applying_) history_.CellsChangedOutside(col0, row0, col1, row1);
    }
    void ColumnWidthsChanged() override {
        if (!history_.applying_) history_.WidthsChangedOutside();
    }
    void FontChanged() override {
        if (!history_.applying_) history_.FontChangedOutside();
    }

  private:
    UndoHistory& history_;
};

// While the history changes the table: its own notices are not taken for
// outside changes, and the marker is lifted off column 0 first, so that rows
// moving with the marker column carry no arrow along, and put down on the
// cursor's row afterwards.
class UndoHistory::Applying {
  public:
    Applying(UndoHistory& history, bool rowsMayMove) : history_(history) {
        history_.applying_ = true;
        TableModel& model = history_.model_;
        const int marker = model.MarkerRow();
        if (rowsMayMove && marker >= 0 && marker < model.RowCount() &&
            model.GetCell(0, marker) == kMarker) {
            model.SetCell(0, marker, {});
        }
    }
    ~Applying() {
        TableModel& model = history_.model_;
        const int row = model.CurrentRow();
        if (model.MarkerRow() != row || model.GetCell(0, row) != kMarker) {
            model.MoveMarker(row);
        }
        history_.applying_ = false;
    }
    Applying(const Applying&) = delete;
    Applying& operator=(const Applying&) = delete;

  private:
    UndoHistory& history_;
};

UndoHistory::UndoHistory(TableModel& model, size_t memoryBudget)
    : model_(model), budget_(memoryBudget), watch_(std::make_unique<Watch>(*this)) {
    model_.AddObserver(watch_.get());
    Settle();
}

UndoHistory::~UndoHistory() {
    model_.RemoveObserver(watch_.get());
}

CellPosition UndoHistory::Cursor() const {
    return {model_.CurrentCol(), model_.CurrentRow()};
}

void UndoHistory::PutCursor(CellPosition cell) {
    model_.SetCurrentCell(std::clamp(cell.col, 1, std::max(model_.ColCount() - 1, 1)),
                          std::clamp(cell.row, 1, std::max(model_.RowCount() - 1, 1)));
}

bool UndoHistory::SessionChanged() const {
    return session_ &&
           (model_.RowCount() != session_->rowsBefore ||
            model_.GetCell(session_->cell.col, session_->cell.row) != session_->textBefore);
}

// Whether a step between the clean state and the present one changes what a
// save writes; the newest steps, the likeliest to, are looked at first.
bool UndoHistory::StepsChangeSave() const {
    if (!clean_) {
        return true;
    }
    const size_t from = std::min(*clean_, position_);
    for (size_t step = std::max(*clean_, position_); step > from; --step) {
        const StepKind kind = steps_[step - 1 - base_].kind;
        if (widthsSaved_ || (kind != StepKind::ColumnWidths && kind != StepKind::Font)) {
            return true;
        }
    }
    return false;
}

void UndoHistory::UpdateModified() {
    model_.modified_ = StepsChangeSave() || SessionChanged();
}

void UndoHistory::Settle() {
    session_.reset();
    // First, since what follows needs memory: the flag follows the steps.
    UpdateModified();
    BeginCellEdit(model_.CurrentCol(), model_.CurrentRow());
    knownWidths_ = Widths(model_);
    knownFont_ = model_.Font();
    UpdateModified();
}

void UndoHistory::BeginCellEdit(int col, int row) {
    if (applying_) {
        return;  // the history opens the session itself once it is done
    }
    EndCellEdit();
    if (col < 1 || row < 1 || col >= model_.ColCount() || row >= model_.RowCount()) {
        return;
    }
    session_ = Session{{col, row}, std::string(model_.GetCell(col, row)), model_.RowCount()};
}

void UndoHistory::EndCellEdit() {
    if (applying_ || !session_) {
        return;
    }
    if (!SessionChanged()) {
        return;
    }
    const CellPosition cell = session_->cell;
    std::string text(model_.GetCell(cell.col, cell.row));
    CellTextsChange change{
        cell, 1, {}, session_->rowsBefore, model_.RowCount(), model_.ColCount(), model_.ColCount()};
    change.texts.push_back(session_->textBefore);
    // Typing may go on in the same cell: that is the next step.
    session_ = Session{cell, std::move(text), model_.RowCount()};
    Push({StepKind::CellEdit, cell, cell, std::move(change)});
    UpdateModified();
}

void UndoHistory::Push(UndoStep&& step) {
    while (RedoCount() > 0) {
        used_ -= steps_.back().bytes;
        steps_.pop_back();
    }
    if (clean_ && *clean_ > position_) {
        clean_.reset();
    }
    step.bytes = RecordBytes(step.change);
    used_ += step.bytes;
    steps_.push_back(std::move(step));
    ++position_;
    while (used_ > budget_ && steps_.size() > 1) {
        used_ -= steps_.front().bytes;
        steps_.pop_front();
        ++base_;
        dropped_ = true;
    }
    if (clean_ && *clean_ < base_) {
        clean_.reset();
    }
}

// A step undone or made again holds the other side of its texts now.
void UndoHistory::Recount(UndoStep& step) {
    used_ -= step.bytes;
    step.bytes = RecordBytes(step.change);
    used_ += step.bytes;
}

template <typename MakeChange>
void UndoHistory::Record(StepKind kind, MakeChange&& makeChange) {
    EndCellEdit();
    const CellPosition before = Cursor();
    std::optional<TableChangeRecord> change;
    try {
        const Applying applying(*this, kind != StepKind::ColumnWidths && kind != StepKind::Font);
        change = makeChange();
    } catch (...) {
        Settle();
        throw;
    }
    if (change) {
        UndoStep step{kind, before, Cursor(), std::move(*change)};
        try {
            Push(std::move(step));
        } catch (...) {
            // No memory left to keep the step: a change that cannot be undone
            // is taken back, so that the table stays where the history knows it.
            try {
                const Applying applying(*this, true);
                TakeBack(model_, step.change);
                PutCursor(before);
            } catch (...) {
                Forget(false);
                throw;
            }
            Settle();
            throw;
        }
    }
    Settle();
}

template <typename Change>
bool UndoHistory::Unkept(const MayForgoUndo& ask, Change&& change) {
    if (ask && !ask()) {
        return false;
    }
    EndCellEdit();
    try {
        const Applying applying(*this, true);
        change();
    } catch (...) {
        Forget(false);
        dropped_ = true;
        throw;
    }
    Forget(false);
    dropped_ = true;
    return true;
}

bool UndoHistory::Keeps(size_t stepBytes) const {
    return stepBytes <= budget_;
}

void UndoHistory::PasteCells(CellPosition at, const CellBlock& block, const MayForgoUndo& ask) {
    // The block's whole rectangle: cells the table does not have yet read empty.
    const int cols = static_cast<int>(block.Width());
    const int rows = static_cast<int>(block.size());
    if (!Keeps(RectChangeBytes(model_, at, cols, rows))) {
        Unkept(ask, [&] { tabulon::PasteCells(model_, at, block); });
        return;
    }
    Record(StepKind::Paste, [&]() -> std::optional<TableChangeRecord> {
        RefuseOversizedPaste(model_, at, block);  // before the record takes its share
        CellTextsChange change{
            at, cols, RectTexts(model_, at, cols, rows), model_.RowCount(), 0, model_.ColCount()};
        tabulon::PasteCells(model_, at, block);
        change.rowsAfter = model_.RowCount();
        change.colsAfter = model_.ColCount();
        if (change.rowsAfter == change.rowsBefore && change.colsAfter == change.colsBefore &&
            HoldsTexts(model_, at, cols, change.texts)) {
            return std::nullopt;
        }
        return change;
    });
}

void UndoHistory::ClearCells(CellPosition first, CellPosition last, const RecordFilter* shown,
                             const MayForgoUndo& ask) {
    ClearRange(StepKind::ClearCells, first, last, shown, ask);
}

void UndoHistory::CutCells(CellPosition first, CellPosition last, const RecordFilter* shown,
                           const MayForgoUndo& ask) {
    ClearRange(StepKind::Cut, first, last, shown, ask);
}

// Records a filter hides keep their texts: the step's rectangle holds them
// unchanged on both sides.
void UndoHistory::ClearRange(StepKind kind, CellPosition first, CellPosition last,
                             const RecordFilter* shown, const MayForgoUndo& ask) {
    const int cols = std::max(std::min(last.col, model_.ColCount() - 1) - first.col + 1, 0);
    const int rows = std::max(std::min(last.row, model_.RowCount() - 1) - first.row + 1, 0);
    if (!Keeps(RectChangeBytes(model_, first, cols, rows))) {
        Unkept(ask, [&] { tabulon::ClearCells(model_, first, last, shown); });
        return;
    }
    Record(kind, [&]() -> std::optional<TableChangeRecord> {
        const int rowCount = model_.RowCount();
        TextList before = RectTexts(model_, first, cols, rows);
        tabulon::ClearCells(model_, first, last, shown);
        if (HoldsTexts(model_, first, cols, before)) {
            return std::nullopt;
        }
        return CellTextsChange{first,
                               cols,
                               std::move(before),
                               rowCount,
                               rowCount,
                               model_.ColCount(),
                               model_.ColCount()};
    });
}

void UndoHistory::InsertRow(int row) {
    Record(StepKind::InsertRow, [&]() -> std::optional<TableChangeRecord> {
        tabulon::InsertRow(model_, row);
        return RowInsertion{row};
    });
}

void UndoHistory::DeleteRow(int row) {
    Record(StepKind::DeleteRow, [&]() -> std::optional<TableChangeRecord> {
        auto texts = tabulon::DeleteRow(model_, row);
        if (!texts) return std::nullopt;
        return RowDeletion{row, std::move(*texts)};
    });
}

void UndoHistory::InsertColumn(int col) {
    Record(StepKind::InsertColumn, [&]() -> std::optional<TableChangeRecord> {
        tabulon::InsertColumn(model_, col);
        return ColumnInsertion{col};
    });
}

void UndoHistory::DeleteColumn(int col, const MayForgoUndo& ask) {
    if (CanDeleteColumn(model_) && !Keeps(ColumnDeletionBytes(model_, col))) {
        Unkept(ask, [&] { tabulon::DeleteColumn(model_, col); });
        return;
    }
    Record(StepKind::DeleteColumn, [&]() -> std::optional<TableChangeRecord> {
        auto removed = tabulon::DeleteColumn(model_, col);
        if (!removed) return std::nullopt;
        return ColumnDeletion{col, std::move(*removed)};
    });
}

void UndoHistory::MoveRow(int from, int to) {
    Record(StepKind::MoveRow, [&]() -> std::optional<TableChangeRecord> {
        if (from == to) return std::nullopt;
        model_.MoveRow(from, to);
        return RowMove{from, to};
    });
}

void UndoHistory::MoveColumn(int from, int to) {
    Record(StepKind::MoveColumn, [&]() -> std::optional<TableChangeRecord> {
        if (from == to) return std::nullopt;
        model_.MoveCol(from, to);
        return ColumnMove{from, to};
    });
}

void UndoHistory::ApplyNameList(const std::vector<std::string>& entries) {
    Record(StepKind::ItemNames, [&]() -> std::optional<TableChangeRecord> {
        NameListChange change{ItemNames(model_), {}, model_.ColCount(), 0, {}};
        change.dropped = tabulon::ApplyNameList(model_, entries);
        change.after = ItemNames(model_);
        change.colsAfter = model_.ColCount();
        if (change.after == change.before) {
            return std::nullopt;  // the same names leave the same columns
        }
        return change;
    });
}

void UndoHistory::SortRecords(ItemIndex keyItem, SortOrder order) {
    Record(StepKind::Sort, [&]() -> std::optional<TableChangeRecord> {
        std::vector<int> made = tabulon::SortRecords(model_, keyItem, order);
        if (IsIdentity(made)) return std::nullopt;
        return RecordOrderChange{std::move(made)};
    });
}

void UndoHistory::ApplyColumnWidths(const std::vector<std::string>& widths) {
    std::exception_ptr failure;
    Record(StepKind::ColumnWidths, [&]() -> std::optional<TableChangeRecord> {
        WidthChange change{Widths(model_), {}};
        try {
            tabulon::ApplyColumnWidths(model_, widths);
        } catch (...) {
            failure = std::current_exception();
        }
        change.after = Widths(model_);
        if (change.after == change.before) return std::nullopt;
        return change;
    });
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void UndoHistory::SetColumnWidth(int col, int pixels) {
    EndCellEdit();
    if (model_.GetColWidth(col) == pixels) {
        return;
    }
    // A drag reports every pixel; while nothing else happened, and the clean
    // state is not the one in between, they are one change of that column.
    if (UndoCount() > 0 && RedoCount() == 0 && clean_ != position_) {
        UndoStep& top = steps_.back();
        auto* widths = std::get_if<WidthChange>(&top.change);
        if (top.kind == StepKind::ColumnWidths && widths != nullptr &&
            widths->after.size() == static_cast<size_t>(model_.ColCount())) {
            std::vector<int> expected = widths->before;
            expected[static_cast<size_t>(col)] = widths->after[static_cast<size_t>(col)];
            if (expected == widths->after) {
                {
                    const Applying applying(*this, false);
                    model_.SetColWidth(col, pixels);
                }
                widths->after[static_cast<size_t>(col)] = pixels;
                if (widths->after == widths->before) {
                    // Dragged back to where it was: no change left.
                    used_ -= top.bytes;
                    steps_.pop_back();
                    --position_;
                }
                Settle();
                return;
            }
        }
    }
    Record(StepKind::ColumnWidths, [&]() -> std::optional<TableChangeRecord> {
        WidthChange change{Widths(model_), {}};
        model_.SetColWidth(col, pixels);
        change.after = Widths(model_);
        return change;
    });
}

void UndoHistory::ApplyFont(const FontDesc& font) {
    Record(StepKind::Font, [&]() -> std::optional<TableChangeRecord> {
        FontChange change{model_.Font(), font, model_.GetColWidth(0), 0};
        tabulon::ApplyFont(model_, font);
        change.markerWidthAfter = model_.GetColWidth(0);
        if (change.after == change.before && change.markerWidthAfter == change.markerWidthBefore) {
            return std::nullopt;
        }
        return change;
    });
}

int UndoHistory::ReplaceInCell(CellPosition cell, std::string_view search,
                               std::string_view replacement, FindOptions options) {
    int count = 0;
    Record(StepKind::Replace, [&] {
        Replacements done = tabulon::ReplaceInCell(model_, cell, search, replacement, options);
        count = done.Count();
        return ReplacementStep(std::move(done));
    });
    return count;
}

std::optional<int> UndoHistory::ReplaceAll(std::string_view search, std::string_view replacement,
                                           FindScope place, FindDirection way, FindOptions options,
                                           const RecordFilter* shown, const MayForgoUndo& ask) {
    EndCellEdit();
    TableChangeRecord change(
        PlanReplaceAll(model_, Cursor(), search, replacement, place, way, options, shown));
    Replacements& plan = std::get<Replacements>(change);
    const std::optional<CellPosition> last = plan.LastCell();
    if (!last) {
        return 0;
    }
    const int count = plan.Count();
    // The step keeps the old texts; the new ones go into the table.
    if (!Keeps(RecordBytes(change) - plan.newTexts.Bytes() + TextList().Bytes())) {
        const bool done = Unkept(ask, [&] {
            ApplyReplacements(model_, plan);
            model_.SetCurrentCell(last->col, last->row);
        });
        return done ? std::optional(count) : std::nullopt;
    }
    Record(StepKind::Replace, [&]() -> std::optional<TableChangeRecord> {
        ApplyReplacements(model_, plan);
        plan.newTexts = {};
        try {
            model_.SetCurrentCell(last->col, last->row);
        } catch (...) {
            TakeBack(model_, change);  // all or nothing, as the replacing itself
            throw;
        }
        return std::move(change);
    });
    return count;
}

bool UndoHistory::CanUndo() const {
    return UndoCount() > 0 || SessionChanged();
}

bool UndoHistory::CanRedo() const {
    return RedoCount() > 0 && !SessionChanged();
}

void UndoHistory::Undo() {
    EndCellEdit();
    if (UndoCount() == 0) {
        return;
    }
    UndoStep& step = steps_[position_ - base_ - 1];
    try {
        const Applying applying(*this, true);
        TakeBack(model_, step.change);
        PutCursor(step.cursorBefore);
    } catch (...) {
        Forget(false);  // the table is no longer where the steps left it
        throw;
    }
    Recount(step);
    --position_;
    Settle();
}

void UndoHistory::Redo() {
    EndCellEdit();
    if (RedoCount() == 0) {
        return;
    }
    UndoStep& step = steps_[position_ - base_];
    try {
        const Applying applying(*this, true);
        MakeAgain(model_, step.change);
        PutCursor(step.cursorAfter);
    } catch (...) {
        Forget(false);
        throw;
    }
    Recount(step);
    ++position_;
    Settle();
}

std::string_view UndoHistory::UndoName() const {
    if (SessionChanged()) return StepName(StepKind::CellEdit);
    return UndoCount() > 0 ? StepName(steps_[position_ - base_ - 1].kind) : std::string_view();
}

std::string_view UndoHistory::RedoName() const {
    return CanRedo() ? StepName(steps_[position_ - base_].kind) : std::string_view();
}

std::string UndoHistory::UndoHint() const {
    if (!CanUndo()) {
        return std::string(dropped_ ? messages::kStepsDropped : messages::kUndoNothing);
    }
    std::string hint = messages::UndoHint(UndoName());
    if (dropped_ && UndoCount() + (SessionChanged() ? 1 : 0) == 1) {
        hint += "（" + std::string(messages::kStepsDropped) + "）";
    }
    return hint;
}

std::string UndoHistory::RedoHint() const {
    if (!CanRedo()) return std::string(messages::kRedoNothing);
    return messages::RedoHint(RedoName());
}

void UndoHistory::MarkClean() {
    EndCellEdit();
    clean_ = position_;
    Settle();
}

void UndoHistory::MarkUnsaved() {
    clean_.reset();
    UpdateModified();
}

void UndoHistory::SetWidthsSaved(bool saved) {
    widthsSaved_ = saved;
    UpdateModified();
}

void UndoHistory::Forget(bool clean) {
    steps_.clear();
    base_ = 0;
    position_ = 0;
    used_ = 0;
    dropped_ = false;
    clean_.reset();
    if (clean) clean_ = 0;
    Settle();
}

void UndoHistory::Clear() {
    Forget(true);
}

void UndoHistory::CellsChangedOutside(int col0, int row0, int col1, int row1) {
    if (col1 == 0) {
        return;  // the marker moving
    }
    if (session_ && col0 == col1 && row0 == row1 && session_->cell == CellPosition{col0, row0}) {
        UpdateModified();  // typing
        return;
    }
    Forget(false);
}

void UndoHistory::TableChangedOutside(const TableChange& change) {
    if (change.kind == TableChange::Kind::Reset) {
        Clear();
    } else if (session_ && change.kind == TableChange::Kind::RowsInserted &&
               change.first + change.count == model_.RowCount()) {
        UpdateModified();  // typing into the last row appends the next one
    } else {
        Forget(false);
    }
}

void UndoHistory::WidthsChangedOutside() {
    if (Widths(model_) != knownWidths_) Forget(false);
}

void UndoHistory::FontChangedOutside() {
    if (!(model_.Font() == knownFont_)) Forget(false);
}

}  // namespace tabulon
