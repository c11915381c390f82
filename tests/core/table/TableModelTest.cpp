#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RandomTable.h"
#include "ThrownMessage.h"
#include "table/TableModel.h"
#include "text/Error.h"

namespace tabulon {
namespace {

// The main window's selection steps: the marker follows every move.
class MarkerFollower : public TableObserver {
  public:
    explicit MarkerFollower(TableModel& model) : model_(model) { model_.AddObserver(this); }
    ~MarkerFollower() override { model_.RemoveObserver(this); }
    void SelectionChanged(int col, int row) override {
        moves.push_back(std::to_string(col) + "," + std::to_string(row) + " from " +
                        std::to_string(model_.CurrentCol()) + "," +
                        std::to_string(model_.CurrentRow()));
        model_.MoveMarker(row);
    }
    std::vector<std::string> moves;

  private:
    TableModel& model_;
};

std::string MarkerColumn(const TableModel& model) {
    std::string rows;
    for (int r = 0; r < model.RowCount(); ++r) {
        if (model.GetCell(0, r) == kMarker)
            rows += std::to_string(r) + " ";
        else if (!model.GetCell(0, r).empty())
            rows += "? ";
    }
    return rows;
}

TEST(TableModel, StartsAsTheEmptyDocument) {
    TableModel model;
    EXPECT_EQ(model.ColCount(), 2);
    EXPECT_EQ(model.RowCount(), 3);
    EXPECT_EQ(MarkerColumn(model), "1 ");
    EXPECT_EQ(model.GetColWidth(0), 15);
    EXPECT_EQ(model.GetColWidth(1), 64);
    EXPECT_EQ(model.RowHeight(), 18);
    EXPECT_EQ(model.CurrentCol(), 1);
    EXPECT_EQ(model.CurrentRow(), 1);
    EXPECT_EQ(model.MarkerRow(), 1);
    EXPECT_EQ(model.CurrentFileName(), "");
    EXPECT_EQ(model.Font().faceName, kDefaultFaceName);
}

TEST(TableModel, DateResetEmptiesABigTable) {
    TableModel model;
    MarkerFollower follower(model);
    testing::RandomTable random(3);
    random.Fill(model, {9, 48});
    model.SetCurrentCell(7, 40);
    model.SetRowHeight(30);
    model.SetCurrentFileName("/x/a.tbn");
    follower.moves.clear();
    model.ResetToEmpty();
    EXPECT_EQ(model.ColCount(), 2);
    EXPECT_EQ(model.RowCount(), 3);
    EXPECT_EQ(testing::Dump(model), "\n\n\n");
    EXPECT_EQ(MarkerColumn(model), "1 ");
    EXPECT_EQ(model.CurrentCol(), 1);
    EXPECT_EQ(model.CurrentRow(), 1);
    EXPECT_EQ(model.MarkerRow(), 1);
    EXPECT_EQ(model.GetColWidth(0), 15);
    EXPECT_EQ(model.GetColWidth(1), 64);
    EXPECT_EQ(model.RowHeight(), 18);
    // Reset leaves the file name to its callers.
    EXPECT_EQ(model.CurrentFileName(), "/x/a.tbn");
    // Column count, row count, then the row: each move announced before it happens.
    EXPECT_EQ(follower.moves,
              (std::vector<std::string>{"1,40 from 7,40", "1,2 from 1,40", "1,1 from 1,2"}));
}

TEST(TableModel, ShrinkingBelowTheCurrentCellMovesItAndTheMarker) {
    TableModel model;
    MarkerFollower follower(model);
    model.SetColCount(6);
    model.SetRowCount(10);
    model.SetCurrentCell(5, 8);
    model.SetRowCount(4);
    EXPECT_EQ(model.CurrentRow(), 3);
    EXPECT_EQ(MarkerColumn(model), "3 ");
    model.SetColCount(3);
    EXPECT_EQ(model.CurrentCol(), 2);
    EXPECT_EQ(follower.moves.back(), "2,3 from 5,3");
}

TEST(TableModel, RegrownRowsAndColumnsAreEmpty) {
    TableModel model;
    model.SetColCount(5);
    model.SetRowCount(5);
    for (int c = 1; c < 5; ++c)
        for (int r = 0; r < 5; ++r)
            model.SetCell(c, r, "x");
    model.SetRowCount(3);
    model.SetRowCount(5);
    model.SetColCount(3);
    model.SetColCount(5);
    EXPECT_EQ(testing::Dump(model), "x\tx\t\t\nx\tx\t\t\nx\tx\t\t\n\t\t\t\n\t\t\t\n");
}

TEST(TableModel, AddedColumnsTakeTheDefaultWidthOfTheMoment) {
    TableModel model;
    model.SetDefaultColWidth(64);
    model.SetColCount(3);
    EXPECT_EQ(model.GetColWidth(2), 64);
    model.SetDefaultColWidth(80);
    EXPECT_EQ(model.GetColWidth(0), 80);  // every present column too
    model.SetColCount(4);
    EXPECT_EQ(model.GetColWidth(3), 80);
}

TEST(TableModel, CurrentCellOutsideTheTableIsRefused) {
    TableModel model;
    for (auto [c, r] : {std::pair{0, 1}, {1, 0}, {2, 1}, {1, 3}, {-1, 1}}) {
        EXPECT_THROW(model.SetCurrentCell(c, r), Error) << c << "," << r;
    }
    EXPECT_THROW_MESSAGE(model.SetCurrentCell(1, 9), "グリッドインデックス が範囲を超えています");
    EXPECT_THROW(model.SetColWidth(2, 10), Error);
    EXPECT_THROW(model.SetCell(2, 0, "x"), Error);
    EXPECT_EQ(model.GetCell(5, 5), "");
}

TEST(TableModel, CellsDropNulBytesAndKeepEverythingElse) {
    TableModel model;
    using namespace std::string_literals;
    model.SetCell(1, 1, "a\0b\x83\x5C\r\n"s);
    EXPECT_EQ(model.GetCell(1, 1), "ab\x83\x5C\r\n");
    model.SetCell(1, 1, "\0"s);
    EXPECT_EQ(model.GetCell(1, 1), "");
    // A cell set from its own text.
    model.SetCell(1, 2, "self");
    model.SetCell(1, 2, model.GetCell(1, 2));
    EXPECT_EQ(model.GetCell(1, 2), "self");
    // Lengths around the most a handle carries, and beyond.
    for (const size_t length : {65'534, 65'535, 65'536, 200'000}) {
        model.SetCell(1, 1, std::string(length, 'x'));
        EXPECT_EQ(model.GetCell(1, 1).size(), length);
    }
}

TEST(TableModel, DraggedRowsAndColumnsCarryTheirTextsAndTheCurrentCell) {
    TableModel model;
    MarkerFollower follower(model);
    model.SetColCount(4);
    model.SetRowCount(6);
    for (int r = 1; r < 6; ++r)
        model.SetCell(1, r, std::to_string(r));
    model.SetCurrentCell(1, 2);
    model.MoveRow(2, 5);  // the current row travels, marker included
    EXPECT_EQ(testing::Dump(model), "\t\t\n1\t\t\n3\t\t\n4\t\t\n5\t\t\n2\t\t\n");
    EXPECT_EQ(model.CurrentRow(), 5);
    EXPECT_EQ(MarkerColumn(model), "5 ");
    model.MoveRow(1, 3);  // another row: the current one shifts towards it
    EXPECT_EQ(model.CurrentRow(), 5);
    model.MoveRow(5, 1);
    EXPECT_EQ(model.CurrentRow(), 1);

    model.SetCell(3, 0, "third");
    model.SetColWidth(3, 99);
    model.SetCurrentCell(2, 1);
    model.MoveCol(3, 1);
    EXPECT_EQ(model.GetCell(1, 0), "third");
    EXPECT_EQ(model.GetColWidth(1), 99);
    EXPECT_EQ(model.GetColWidth(3), 64);
    EXPECT_EQ(model.CurrentCol(), 3);  // column 2 moved one right
    EXPECT_EQ(model.GetCell(2, 1), "2");
}

// Item columns moved, added and removed many times over (past the point where
// the places they leave behind are dropped), with edits between, read as a
// plain grid of texts does: a removed column's texts never come back.
TEST(TableModel, ColumnsMovedAddedAndRemovedReadLikeAPlainGrid) {
    testing::RandomTable random(3);
    TableModel model;
    std::vector<std::vector<std::string>> grid(4, std::vector<std::string>(3));  // [col][row]
    model.SetColCount(4);
    for (int step = 0; step < 300; ++step) {
        const int cols = model.ColCount();
        const int what = random.Int(0, 3);
        if (what == 0) {
            const int from = random.Int(1, cols - 1), to = random.Int(1, cols - 1);
            model.MoveColTexts(from, to);
            const auto moved = grid.begin() + from;
            from < to ? std::rotate(moved, moved + 1, grid.begin() + to + 1)
                      : std::rotate(grid.begin() + to, moved, moved + 1);
        } else if (what == 1 || cols < 3) {
            model.SetColCount(cols + 1);
            grid.emplace_back(3);
        } else if (what == 2) {
            model.SetColCount(cols - 1);
            grid.pop_back();
        } else {
            const int col = random.Int(1, cols - 1), row = random.Int(0, 2);
            const std::string text = random.Text(testing::TextKind::Japanese, 300, false);
            model.SetCell(col, row, text);
            grid[static_cast<size_t>(col)][static_cast<size_t>(row)] = text;
        }
        for (int c = 1; c < model.ColCount(); ++c)
            for (int r = 0; r < 3; ++r)
                ASSERT_EQ(model.GetCell(c, r), grid[static_cast<size_t>(c)][static_cast<size_t>(r)])
                    << "step " << step << ", cell " << c << "," << r;
    }
}

TEST(TableModel, RowPermutationsMustBePermutations) {
    TableModel model;
    model.SetRowCount(5);
    for (int r = 1; r < 5; ++r)
        model.SetCell(1, r, std::to_string(r));
    for (const std::vector<int>& bad :
         {std::vector<int>{0, 0, 1}, {0, 1, 3}, {-1, 0, 1}, {0, 1, 2, 3, 4}}) {
        EXPECT_THROW(model.PermuteRows(1, bad, 1), std::invalid_argument);
    }
    model.PermuteRows(1, {2, 0, 1}, 1);
    EXPECT_EQ(testing::Dump(model), "\n3\n1\n2\n4\n");
}

// Records every notice as text, checking the counts at each moment.
class NoticeLog : public TableObserver {
  public:
    explicit NoticeLog(TableModel& model) : model_(model) { model_.AddObserver(this); }
    ~NoticeLog() override { model_.RemoveObserver(this); }
    void TableChanging(const TableChange& change) override { Log("changing", change); }
    void TableChanged(const TableChange& change) override { Log("changed", change); }
    void CellsChanged(int c0, int r0, int c1, int r1) override {
        log.push_back("cells " + std::to_string(c0) + "," + std::to_string(r0) + "-" +
                      std::to_string(c1) + "," + std::to_string(r1));
    }
    std::vector<std::string> log;

  private:
    void Log(const char* when, const TableChange& change) {
        log.push_back(std::string(when) + " " + std::to_string(static_cast<int>(change.kind)) +
                      " " + std::to_string(change.first) + "+" + std::to_string(change.count) +
                      " at " + std::to_string(model_.ColCount()) + "x" +
                      std::to_string(model_.RowCount()));
    }
    TableModel& model_;
};

TEST(TableModel, ViewsHearStructuralChangesAroundThemAndEditsAlone) {
    TableModel model;
    NoticeLog notices(model);
    model.SetRowCount(5);
    model.SetCell(1, 2, "x");
    model.SetColCount(1);
    using K = TableChange::Kind;
    const auto kind = [](K k) { return std::to_string(static_cast<int>(k)); };
    EXPECT_EQ(notices.log, (std::vector<std::string>{
                               "changing " + kind(K::RowsInserted) + " 3+2 at 2x3",
                               "changed " + kind(K::RowsInserted) + " 3+2 at 2x5",
                               "cells 1,2-1,2",
                               "changing " + kind(K::ColumnsRemoved) + " 1+1 at 2x5",
                               "changed " + kind(K::ColumnsRemoved) + " 1+1 at 1x5",
                           }));
    notices.log.clear();
    {
        TableModel::BulkLoad load(model);
        model.SetColCount(4);
        model.SetCell(2, 2, "y");
    }
    EXPECT_EQ(notices.log, (std::vector<std::string>{"changing " + kind(K::Reset) + " 0+0 at 1x5",
                                                     "changed " + kind(K::Reset) + " 0+0 at 4x5"}));
}

}  // namespace
}  // namespace tabulon
