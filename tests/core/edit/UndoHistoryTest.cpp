#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "RandomTable.h"
#include "TestFiles.h"
#include "edit/CellBlocks.h"
#include "edit/UndoHistory.h"
#include "files/NativeFile.h"
#include "text/Error.h"

// Memory that runs out on demand: the allocation that brings the count to zero fails.
static long allocationsBeforeFailure = -1;

void* operator new(size_t size) {
    if (allocationsBeforeFailure >= 0 && allocationsBeforeFailure-- == 0) throw std::bad_alloc();
    if (void* p = std::malloc(size != 0 ? size : 1)) return p;
    throw std::bad_alloc();
}
// The library's buffers (stable_sort's) come from the nothrow form: it must
// take the same memory, or freeing them here would not match.
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
// GCC takes the free of memory from this operator new for a mismatch.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

namespace tabulon {
namespace {

using testing::RandomTable;

// What the main window does when the current cell is about to move: the
// marker goes to the new row and the cell's typing session begins.
class Window : public TableObserver {
  public:
    Window(TableModel& model, UndoHistory& history) : model_(model), history_(history) {
        model_.AddObserver(this);
    }
    ~Window() override { model_.RemoveObserver(this); }
    void SelectionChanged(int col, int row) override {
        model_.MoveMarker(row);
        history_.BeginCellEdit(col, row);
    }

  private:
    TableModel& model_;
    UndoHistory& history_;
};

// The cell editor's handler: the model holds every keystroke, and typing into
// the last row appends the next one.
void Type(TableModel& model, const std::string& text) {
    const int row = model.CurrentRow();
    model.SetCell(model.CurrentCol(), row, text);
    if (row == model.RowCount() - 1 && !text.empty()) model.SetRowCount(model.RowCount() + 1);
}

// All a save writes (counts, widths, item texts), plus the font, which the
// table file leaves to the settings. Kept in memory: a save is a flushed file.
struct State {
    std::vector<int> widths;
    std::vector<std::vector<std::string>> columns;
    FontDesc font;
    bool operator==(const State&) const = default;
};

State Snapshot(const TableModel& model) {
    State state{{}, {}, model.Font()};
    for (int c = 0; c < model.ColCount(); ++c) {
        state.widths.push_back(model.GetColWidth(c));
        if (c > 0) state.columns.push_back(model.GetColTexts(c));
    }
    return state;
}

std::string SavedBytes(TableModel& model, const testing::TempDir& dir) {
    SaveNative(model, dir.File("t.tbn"));
    return testing::ReadBytes(dir.File("t.tbn"));
}

void ExpectMarkerOnCurrentRow(const TableModel& model) {
    EXPECT_EQ(model.MarkerRow(), model.CurrentRow());
    for (int r = 0; r < model.RowCount(); ++r) {
        ASSERT_EQ(model.GetCell(0, r), r == model.CurrentRow() ? kMarker : "") << "row " << r;
    }
}

CellPosition Cursor(const TableModel& model) {
    return {model.CurrentCol(), model.CurrentRow()};
}

// Random commands through the history, with a plain list of the states it
// should return to as the oracle: undo must give back the state before each
// step and the cursor where the step began, redo the state and cursor after.
TEST(UndoHistory, UndoAndRedoRetraceRandomCommandsExactly) {
    testing::TempDir dir;
    RandomTable random(13);
    const auto text = [&] { return random.Text(testing::TextKind::Japanese, 6, true); };
    for (int round = 0; round < 8; ++round) {
        TableModel model;
        random.Fill(model,
                    {random.Int(1, 4), random.Int(0, 6), testing::TextKind::Japanese, 6, true, 20});
        UndoHistory history(model);
        Window window(model, history);
        model.SetCurrentCell(random.Int(1, model.ColCount() - 1),
                             random.Int(1, model.RowCount() - 1));
        struct Entry {
            State after;
            CellPosition cursorBefore, cursorAfter;
        };
        std::vector<Entry> states{{Snapshot(model), {}, Cursor(model)}};
        const std::string startFile = SavedBytes(model, dir);
        size_t position = 0;
        size_t clean = 0;  // SIZE_MAX: no state is clean
        for (int command = 0; command < 200; ++command) {
            const int cols = model.ColCount();
            const int rows = model.RowCount();
            const auto col = [&] { return random.Int(1, cols - 1); };
            const auto row = [&] { return random.Int(1, rows - 1); };
            CellPosition cursorBefore = Cursor(model);
            const int what = random.Int(0, 17);
            SCOPED_TRACE("round " + std::to_string(round) + " command " + std::to_string(command) +
                         " kind " + std::to_string(what));
            switch (what) {
                case 0:
                    model.SetCurrentCell(col(), row());
                    cursorBefore = Cursor(model);  // typing is undone in its cell
                    for (int keys = random.Int(1, 2); keys > 0; --keys)
                        Type(model, text());
                    history.EndCellEdit();
                    break;
                case 1: {
                    std::vector<std::vector<std::string>> block(random.Int(1, 3));
                    for (auto& line : block) {
                        for (int j = random.Int(1, 3); j > 0; --j)
                            line.push_back(text() + "\r\n");
                    }
                    history.PasteCells({col(), row()}, block);
                    break;
                }
                case 2:
                    history.ClearCells({col(), row()}, {col() + 1, row() + 1});
                    break;
                case 3:
                    history.InsertRow(row());
                    break;
                case 4:
                    history.DeleteRow(row());
                    break;
                case 5:
                    history.InsertColumn(col());
                    break;
                case 6:
                    history.DeleteColumn(col());
                    break;
                case 7:
                    history.MoveRow(row(), row());
                    break;
                case 8:
                    history.MoveColumn(col(), col());
                    break;
                case 9: {
                    std::vector<std::string> names(random.Int(0, cols + 1));
                    for (auto& name : names)
                        name = random.Int(0, 6) ? text() + "n" : "";
                    history.ApplyNameList(names);
                    break;
                }
                case 10:
                    history.SortRecords(ItemIndex{random.Int(0, cols - 2)},
                                        SortOrder{random.Int(0, 5)});
                    break;
                case 11: {
                    std::vector<std::string> widths(random.Int(1, cols));
                    for (auto& width : widths) {
                        width = random.Int(0, 9) ? std::to_string(random.Int(-3, 200)) : "abc";
                    }
                    try {
                        history.ApplyColumnWidths(widths);
                    } catch (const Error&) {
                    }
                    break;
                }
                case 12: {
                    const int dragged = col();
                    for (int moves = random.Int(1, 3); moves > 0; --moves) {
                        history.SetColumnWidth(dragged, random.Int(10, 100));
                    }
                    break;
                }
                case 13: {
                    FontDesc font = model.Font();
                    font.SetSize(random.Int(8, 12));
                    font.style = static_cast<unsigned>(random.Int(0, 1));
                    history.ApplyFont(font);
                    break;
                }
                case 14:
                case 15: {
                    // Short search texts match often; an empty one with
                    // WholeCell finds the empty cells, the last row's too.
                    const std::string search = random.Text(testing::TextKind::Japanese, 2, true);
                    const std::string replacement = text() + (random.Int(0, 3) ? "" : "\r\n");
                    const FindOptions options{random.Int(0, 1) == 1, random.Int(0, 2) == 2,
                                              random.Int(0, 1) == 1};
                    if (what == 14) {
                        history.ReplaceAll(search, replacement, FindScope{random.Int(0, 1)},
                                           FindDirection{random.Int(0, 1)}, options);
                    } else {
                        history.ReplaceInCell({col(), row()}, search, replacement, options);
                    }
                    break;
                }
                case 16:
                    SaveNative(model, dir.File("saved.tbn"));
                    history.MarkClean();
                    clean = position;
                    break;
                default:
                    if (random.Int(0, 1) && position > 0) {
                        history.Undo();
                        --position;
                        EXPECT_EQ(Cursor(model), states[position + 1].cursorBefore);
                    } else if (position + 1 < states.size()) {
                        history.Redo();
                        ++position;
                        EXPECT_EQ(Cursor(model), states[position].cursorAfter);
                    }
                    break;
            }
            if (what < 16) {
                if (position + 1 + history.RedoCount() < states.size()) {
                    states.resize(position + 1);  // a new step cut the redo steps off
                    if (clean != SIZE_MAX && clean > position) clean = SIZE_MAX;
                }
                if (history.UndoCount() > position) {
                    states.push_back({Snapshot(model), cursorBefore, Cursor(model)});
                    ++position;
                } else if (history.UndoCount() < position) {
                    states.pop_back();  // a column dragged back to its width
                    --position;
                } else if (what == 12 && history.RedoCount() == 0) {
                    states[position].after = Snapshot(model);  // the drag went on
                }
            }
            ASSERT_EQ(history.UndoCount(), position);
            ASSERT_EQ(Snapshot(model), states[position].after);
            EXPECT_EQ(model.Modified(), clean != position);
            ExpectMarkerOnCurrentRow(model);
            if (HasFailure()) return;
        }
        while (history.CanRedo())
            history.Redo();  // the newest state is the end
        const std::string endFile = SavedBytes(model, dir);
        while (history.CanUndo())
            history.Undo();
        EXPECT_EQ(SavedBytes(model, dir), startFile);
        EXPECT_EQ(model.Font(), states.front().after.font);
        EXPECT_EQ(model.Modified(), clean != 0);
        while (history.CanRedo())
            history.Redo();
        EXPECT_EQ(SavedBytes(model, dir), endFile);
        ExpectMarkerOnCurrentRow(model);
    }
}

// Scripts of actions on a table with two records and the flag (1 modified)
// and number of steps to undo after each action.
TEST(UndoHistory, ModifiedFollowsTheCleanPoint) {
    const struct {
        const char* what;
        const char* script;  // e edit, t type and stay, b type the old text back, u undo,
                             // r redo, s save, d delete a row, n new document,
                             // x a change made around the history, w widen a column,
                             // c the document becomes a CSV
        const char* modified;
        const char* steps;
    } cases[] = {
        {"undo back to the loaded state", "eeuur", "11101", "12101"},
        {"saving moves the clean point", "eesuru", "110101", "122121"},
        {"a new step after undoing past the save", "esueu", "10111", "11010"},
        {"typing counts at once, the old text back clears it", "tb", "10", "00"},
        {"undo takes the typing first", "dtuu", "1110", "1110"},
        {"a new document starts afresh", "eenu", "1100", "1200"},
        {"a change around the history forgets the steps", "exu", "111", "100"},
        {"refused commands are no steps", "ddddd", "11111", "12222"},
        {"a width counts in a native file", "wu", "10", "10"},
        {"widths leave a CSV unmodified, undone or not", "cweuur", "001000", "012101"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TableModel model;
        model.SetRowCount(4);
        model.SetCell(1, 1, "one");
        model.SetCell(1, 2, "two");
        UndoHistory history(model);
        Window window(model, history);
        history.Clear();
        std::string modified;
        std::string steps;
        for (const char action : std::string(c.script)) {
            switch (action) {
                case 'e':
                    model.SetCurrentCell(1, 2);
                    Type(model, std::string(model.GetCell(1, 2)) + "!");
                    model.SetCurrentCell(1, 1);
                    break;
                case 't':
                    Type(model, "typed");
                    break;
                case 'b':
                    Type(model, "one");
                    break;
                case 'u':
                    history.Undo();
                    break;
                case 'r':
                    history.Redo();
                    break;
                case 's':
                    history.MarkClean();
                    break;
                case 'd':
                    history.DeleteRow(1);
                    break;
                case 'n':
                    model.ResetToEmpty();
                    break;
                case 'x':
                    model.SetCell(1, 2, "around");
                    break;
                case 'w':
                    history.SetColumnWidth(1, model.GetColWidth(1) + 10);
                    break;
                case 'c':
                    history.SetWidthsSaved(false);
                    break;
            }
            modified += model.Modified() ? '1' : '0';
            steps += std::to_string(history.UndoCount());
        }
        EXPECT_EQ(modified, c.modified);
        EXPECT_EQ(steps, c.steps);
    }
}

TEST(UndoHistory, TypingIntoTheLastRowIsUndoneWithTheRowItAppended) {
    TableModel model;
    UndoHistory history(model);
    Window window(model, history);
    model.SetCurrentCell(1, 2);
    Type(model, "a");
    Type(model, "ab");
    EXPECT_EQ(history.UndoHint(), "入力を元に戻します");
    model.SetCurrentCell(1, 1);
    history.Undo();
    EXPECT_EQ(model.RowCount(), 3);
    EXPECT_EQ(model.GetCell(1, 2), "");
    EXPECT_EQ(Cursor(model), (CellPosition{1, 2}));
    ExpectMarkerOnCurrentRow(model);
    history.Redo();
    EXPECT_EQ(model.RowCount(), 4);
    EXPECT_EQ(model.GetCell(1, 2), "ab");
    EXPECT_FALSE(history.CanRedo());
}

// Out of memory at each allocation in turn, replace all completes as one
// step or leaves the table, the steps and the modified flag as they were.
TEST(UndoHistory, ReplaceAllIsAllOrNothingWhenMemoryRunsOut) {
    for (long failing = 0, fired = 1; fired; ++failing) {
        TableModel model;
        testing::FillRows(model, {{"A", "B"}, {"ab", "b"}, {"", "bb"}});
        UndoHistory history(model);
        const std::string before = testing::Dump(model);
        allocationsBeforeFailure = failing;
        try {
            history.ReplaceAll("b", "X", FindScope::Whole, FindDirection::Row, {});
        } catch (const std::bad_alloc&) {
        }
        fired = allocationsBeforeFailure < 0;
        allocationsBeforeFailure = -1;
        const bool done = history.UndoCount() == 1;
        ASSERT_EQ(model.Modified(), done) << failing;
        ASSERT_EQ(testing::Dump(model), done ? "A\tB\naX\tX\n\tXX\n\t\n" : before);
    }
}

// Replace all: the cells and the row it appended are one step; the cursor goes
// to the last cell replaced, and back; nothing matched is no step.
TEST(UndoHistory, ReplaceAllIsOneStepThatEndsOnItsLastCell) {
    TableModel model;
    testing::FillRows(model, {{"A", "B"}, {"ab", ""}, {"", "b"}, {"", ""}});
    UndoHistory history(model);
    Window window(model, history);
    model.SetCurrentCell(2, 1);
    const std::string before = testing::Dump(model);

    const FindOptions wholeCell{.WholeCell = true};
    EXPECT_EQ(history.ReplaceAll("zz", "-", FindScope::Whole, FindDirection::Row, {}), 0);
    EXPECT_EQ(history.ReplaceAll("", "-", FindScope::Whole, FindDirection::Row, wholeCell), 4);
    const std::string after = testing::Dump(model);
    EXPECT_EQ(after, "A\tB\nab\t-\n-\tb\n-\t-\n\t\n");
    EXPECT_EQ(history.UndoCount(), 1u);
    EXPECT_EQ(Cursor(model), (CellPosition{2, 3}));
    EXPECT_TRUE(model.Modified());
    ExpectMarkerOnCurrentRow(model);

    history.Undo();
    EXPECT_EQ(testing::Dump(model), before);
    EXPECT_EQ(Cursor(model), (CellPosition{2, 1}));
    EXPECT_FALSE(model.Modified());
    ExpectMarkerOnCurrentRow(model);
    history.Redo();
    EXPECT_EQ(testing::Dump(model), after);
    EXPECT_EQ(Cursor(model), (CellPosition{2, 3}));
    ExpectMarkerOnCurrentRow(model);
}

TEST(UndoHistory, HintsNameEachCommand) {
    const struct {
        void (*command)(UndoHistory&);
        const char* name;
    } cases[] = {
        {[](UndoHistory& h) {
             h.PasteCells({1, 1}, {{"p"}});
         },
         "貼り付け"},
        {[](UndoHistory& h) {
             h.ClearCells({1, 1}, {2, 2});
         },
         "削除"},
        {[](UndoHistory& h) { h.InsertRow(1); }, "行の挿入"},
        {[](UndoHistory& h) { h.DeleteRow(1); }, "行の削除"},
        {[](UndoHistory& h) { h.InsertColumn(1); }, "列の挿入"},
        {[](UndoHistory& h) { h.DeleteColumn(1); }, "列の削除"},
        {[](UndoHistory& h) { h.MoveRow(1, 2); }, "行の移動"},
        {[](UndoHistory& h) { h.MoveColumn(2, 1); }, "列の移動"},
        {[](UndoHistory& h) { h.ApplyNameList({"X"}); }, "項目編集"},
        {[](UndoHistory& h) { h.SortRecords(ItemIndex{0}, SortOrder::TextDescending); }, "整列"},
        {[](UndoHistory& h) { h.ApplyColumnWidths({"99"}); }, "横幅の変更"},
        {[](UndoHistory& h) { h.SetColumnWidth(2, 99); }, "横幅の変更"},
        {[](UndoHistory& h) { h.ApplyFont(FontDesc()); }, "フォントの設定"},
        {[](UndoHistory& h) {
             h.ReplaceInCell({2, 1}, "b", "x", {});
         },
         "置換"},
        {[](UndoHistory& h) { h.ReplaceAll("c", "x", FindScope::Whole, FindDirection::Row, {}); },
         "置換"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TableModel model;
        testing::FillRows(model, {{"A", "B"}, {"a", "b"}, {"c", "d"}, {"", ""}});
        FontDesc bold;
        bold.style = kBold;
        model.SetFont(bold);
        UndoHistory history(model);
        EXPECT_EQ(history.UndoHint(), "直前の変更を元に戻します");
        c.command(history);
        EXPECT_EQ(history.UndoHint(), std::string(c.name) + "を元に戻します");
        history.Undo();
        EXPECT_EQ(history.RedoHint(), std::string(c.name) + "をやり直します");
    }
}

TEST(UndoHistory, OldestStepsGoPastTheBudgetAndTheHintSaysSo) {
    TableModel model;
    model.SetRowCount(1002);
    for (int r = 1; r <= 1000; ++r)
        model.SetCell(1, r, std::to_string(r % 7));
    // A sort keeps four bytes a record: the budget holds two of them, not three.
    UndoHistory history(model, 10'000);
    history.SortRecords(ItemIndex{0}, SortOrder::TextAscending);
    EXPECT_LE(history.MemoryUsed(), 4'000u + 200u);
    for (int i = 1; i < 4; ++i) {
        history.SortRecords(ItemIndex{0}, SortOrder{i % 2});
        EXPECT_LE(history.MemoryUsed(), 10'000u);
    }
    EXPECT_TRUE(history.StepsDropped());
    EXPECT_EQ(history.UndoCount(), 2u);
    history.Undo();
    EXPECT_EQ(history.UndoHint(),
              "整列を元に戻します（それより前の変更はメモリの上限のため元に戻せません）");
    history.Undo();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_TRUE(model.Modified()) << "the clean state went with the oldest steps";
    EXPECT_EQ(history.UndoHint(), "それより前の変更はメモリの上限のため元に戻せません");

    // The newest step stays, whatever it costs.
    UndoHistory small(model, 1);
    small.SortRecords(ItemIndex{0}, SortOrder::TextAscending);
    EXPECT_EQ(small.UndoCount(), 1u);
}

// A step the budget cannot hold is asked for: declined, nothing happens;
// agreed, the command runs without a step and the steps before it go too.
TEST(UndoHistory, AStepOverTheBudgetIsAskedForAndNotKept) {
    using Ask = UndoHistory::MayForgoUndo;
    const struct {
        void (*command)(UndoHistory&, const Ask&);
        const char* name;
    } cases[] = {
        {[](UndoHistory& h, const Ask& ask) {
             h.PasteCells({1, 1}, {{"p"}}, ask);
         },
         "paste"},
        {[](UndoHistory& h, const Ask& ask) {
             h.ClearCells({1, 1}, {1, 1}, nullptr, ask);
         },
         "clear"},
        {[](UndoHistory& h, const Ask& ask) {
             h.CutCells({1, 1}, {2, 2}, nullptr, ask);
         },
         "cut"},
        {[](UndoHistory& h, const Ask& ask) { h.DeleteColumn(1, ask); }, "delete column"},
        {[](UndoHistory& h, const Ask& ask) {
             const auto count =
                 h.ReplaceAll("a", "b", FindScope::Whole, FindDirection::Row, {}, nullptr, ask);
             EXPECT_EQ(count.has_value(), h.StepsDropped());
         },
         "replace all"},
    };
    for (const auto& c : cases) {
        for (const bool agreed : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (agreed ? " agreed" : " declined"));
            TableModel model;
            testing::FillRows(model, {{"A", "B"}, {std::string(1000, 'a'), "b"}, {"", ""}});
            UndoHistory history(model, 1000);
            history.InsertRow(2);
            const std::string before = testing::Dump(model);
            int asked = 0;
            c.command(history, [&] { return ++asked, agreed; });
            EXPECT_EQ(asked, 1);
            EXPECT_EQ(testing::Dump(model) != before, agreed);
            EXPECT_EQ(history.CanUndo(), !agreed);
            EXPECT_EQ(history.StepsDropped(), agreed);
            EXPECT_TRUE(model.Modified());
        }
    }
}

// A paste and its undo take a small multiple of the pasted text's size.
TEST(UndoHistory, ABigPasteTakesASmallMultipleOfItsText) {
    if (testing::UnderAddressSanitizer()) GTEST_SKIP() << "no address-space ceiling";
    std::string text;
    for (int n = 0; text.size() < (size_t{8} << 20) || n % 10 != 0; ++n) {
        text += std::to_string(n % 100000) + (n % 10 == 9 ? '\n' : '\t');
    }
    const auto outcome = testing::RunInChild(
        [&] {
            TableModel model;
            UndoHistory history(model);
            history.PasteCells({1, 1}, ReadPastedBlock(text).cells);
            history.Undo();
            history.Redo();
            return std::to_string(model.RowCount());
        },
        {.extraAddressSpace = 20 * text.size()});
    EXPECT_TRUE(outcome.completed) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.text, std::to_string(std::count(text.begin(), text.end(), '\n') + 2));
}

}  // namespace
}  // namespace tabulon
