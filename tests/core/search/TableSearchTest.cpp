// The three scans: their order, where they start and stop, and the cells they
// never read (the item-name row, the marker column).

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "search/TableSearch.h"
#include "search/TextMatcher.h"

namespace tabulon {
namespace {

using Cells = std::vector<CellPosition>;

constexpr std::string_view kKey = "key";

// A table of `cols` x `rows` whose cells hold "other", except `matches`,
// which hold "KEY". Row 0 and column 0 hold "key" too, to show that they are
// never searched.
void Fill(TableModel& model, int cols, int rows, const Cells& matches) {
    model.SetColCount(cols);
    model.SetRowCount(rows);
    for (int c = 0; c < cols; ++c) {
        for (int r = 0; r < rows; ++r) {
            model.SetCell(c, r, c == 0 || r == 0 ? kKey : "other");
        }
    }
    for (const CellPosition& cell : matches) {
        model.SetCell(cell.col, cell.row, "KEY");
    }
}

struct NextCase {
    const char* why;
    Cells matches;
    CellPosition current;
    FindScope place;
    FindDirection way;
    std::optional<CellPosition> found;
};

TEST(FindNextCell, ScansAfterTheCurrentCellInTheOrderOfItsScope) {
    using enum FindScope;
    using enum FindDirection;
    // Table of 4 columns (items 1..3) and 6 rows (records 1..5).
    const NextCase cases[] = {
        {"whole: rest of the column first",
         {{2, 5}, {3, 1}},
         {2, 3},
         Whole,
         Row,
         CellPosition{2, 5}},
        {"whole: then the next column from row 1",
         {{1, 5}, {2, 1}, {2, 3}, {3, 2}},
         {2, 3},
         Whole,
         Row,
         CellPosition{3, 2}},
        {"whole ignores the way", {{1, 4}, {3, 1}}, {1, 1}, Whole, Column, CellPosition{1, 4}},
        {"whole: current cell not tested", {{2, 3}}, {2, 3}, Whole, Row, std::nullopt},
        {"whole: left columns never", {{1, 5}}, {2, 1}, Whole, Row, std::nullopt},
        {"whole: last cell of the table", {{1, 1}, {3, 4}}, {3, 5}, Whole, Row, std::nullopt},
        {"whole: last row of a column", {{3, 1}}, {2, 5}, Whole, Row, CellPosition{3, 1}},
        {"row: to the right only",
         {{1, 2}, {2, 2}, {3, 2}, {2, 3}},
         {2, 2},
         Specified,
         Row,
         CellPosition{3, 2}},
        {"row: other rows never", {{3, 3}}, {1, 2}, Specified, Row, std::nullopt},
        {"row: last column", {{1, 2}}, {3, 2}, Specified, Row, std::nullopt},
        {"column: below only",
         {{2, 1}, {3, 2}, {2, 4}},
         {2, 1},
         Specified,
         Column,
         CellPosition{2, 4}},
        {"column: other columns never", {{3, 5}}, {2, 1}, Specified, Column, std::nullopt},
        {"column: last row", {{2, 1}}, {2, 5}, Specified, Column, std::nullopt},
        {"header row and marker column never", {}, {1, 1}, Whole, Row, std::nullopt},
    };
    for (const NextCase& c : cases) {
        TableModel model;
        Fill(model, 4, 6, c.matches);
        EXPECT_EQ(FindNextCell(model, c.current, kKey, c.place, c.way, {}), c.found) << c.why;
    }
}

TEST(FindNextCell, RepeatedFromEachFoundCellWalksDownThenReportsNothing) {
    TableModel model;
    Fill(model, 3, 6, {{1, 3}, {1, 5}});
    CellPosition current{1, 1};
    Cells walked;
    while (const auto found =
               FindNextCell(model, current, kKey, FindScope::Whole, FindDirection::Row, {})) {
        walked.push_back(*found);
        current = *found;
    }
    EXPECT_EQ(walked, (Cells{{1, 3}, {1, 5}}));
}

struct AllCase {
    const char* why;
    Cells matches;
    CellPosition current;
    FindScope place;
    FindDirection way;
    Cells hits;
};

TEST(FindAllCells, ListsTheHitsOfItsScopeInScanOrder) {
    using enum FindScope;
    using enum FindDirection;
    // Table of 4 columns and 8 rows.
    const AllCase cases[] = {
        {"whole: column by column",
         {{2, 5}, {1, 7}, {2, 1}},
         {3, 3},
         Whole,
         Row,
         {{1, 7}, {2, 1}, {2, 5}}},
        {"whole: corners", {{3, 7}, {1, 1}}, {2, 2}, Whole, Column, {{1, 1}, {3, 7}}},
        {"row: the current row, current cell included",
         {{1, 3}, {2, 3}, {3, 3}, {1, 4}},
         {2, 3},
         Specified,
         Row,
         {{1, 3}, {2, 3}, {3, 3}}},
        {"column: the current column, current cell included",
         {{2, 1}, {2, 3}, {1, 3}, {2, 7}},
         {2, 3},
         Specified,
         Column,
         {{2, 1}, {2, 3}, {2, 7}}},
        {"only the header row and marker column hold it", {}, {1, 1}, Whole, Row, {}},
    };
    for (const AllCase& c : cases) {
        TableModel model;
        Fill(model, 4, 8, c.matches);
        EXPECT_EQ(FindAllCells(model, c.current, kKey, c.place, c.way, {}), c.hits) << c.why;
    }
}

// On random tables, find all over the whole table equals the cells that
// TextMatches accepts, column by column; and it equals the chain of find
// next from (1, 1), with (1, 1) itself in front when it matches.
TEST(FindAllCells, AgreesWithTextMatchesAndWithRepeatedFindNext) {
    const std::string_view texts[] = {"", "a", "A", "\x82\x81", "\xB1", "\x83\x41", "xa", "\xDE"};
    std::mt19937 random(4);
    for (int round = 0; round < 200; ++round) {
        TableModel model;
        // Some tables are large enough to be searched in parts at once.
        const bool large = round % 50 == 49;
        const int cols = large ? 8 : 2 + static_cast<int>(random() % 4);
        const int rows = large ? 150'000 : 2 + static_cast<int>(random() % 5);
        model.SetColCount(cols);
        model.SetRowCount(rows);
        std::vector<std::string_view> record(static_cast<size_t>(cols));
        for (int r = 0; r < rows; ++r) {
            for (std::string_view& text : record)
                text = texts[random() % std::size(texts)];
            model.SetRowCells(r, 0, record);
        }
        const std::string_view search = texts[random() % std::size(texts)];
        const FindOptions options{.MatchCase = random() % 2 == 0,
                                  .WholeCell = random() % 2 == 0,
                                  .MatchWidth = random() % 2 == 0};
        Cells expected;
        for (int c = 1; c < cols; ++c) {
            for (int r = 1; r < rows; ++r) {
                if (TextMatches(search, model.GetCell(c, r), options)) {
                    expected.push_back({c, r});
                }
            }
        }
        const Cells all =
            FindAllCells(model, {1, 1}, search, FindScope::Whole, FindDirection::Row, options);
        EXPECT_EQ(all, expected) << "round " << round;

        Cells chain;
        if (TextMatches(search, model.GetCell(1, 1), options)) {
            chain.push_back({1, 1});
        }
        CellPosition current{1, 1};
        while (const auto found = FindNextCell(model, current, search, FindScope::Whole,
                                               FindDirection::Row, options)) {
            chain.push_back(*found);
            current = *found;
        }
        EXPECT_EQ(chain, expected) << "round " << round;
    }
}

TEST(FindRecordsByItem, SearchesOneItemOfEveryRecordInAscendingOrder) {
    TableModel model;
    model.SetColCount(4);
    model.SetRowCount(6);  // records 1..5; 5 is the empty last row
    const struct {
        int col, row;
        std::string_view text;
    } cells[] = {
        {2, 0, "key"},  // item name: never searched
        {1, 3, "key"},  // another item of a record
        {2, 2, "a key"}, {2, 4, "KEY"}, {2, 1, "other"}, {3, 1, "key"}, {3, 2, "key"},
    };
    for (const auto& cell : cells) {
        model.SetCell(cell.col, cell.row, cell.text);
    }
    const struct {
        const char* why;
        int item;
        std::string_view search;
        FindOptions options;
        std::vector<int> rows;
    } cases[] = {
        {"the chosen item only", 1, "key", {}, {2, 4}},
        {"with case", 1, "key", {.MatchCase = true}, {2}},
        {"the item name is no record", 1, "key", {.MatchCase = true, .WholeCell = true}, {}},
        {"empty whole cell: empty items, last row included", 1, "", {.WholeCell = true}, {3, 5}},
        {"empty contained: nothing", 0, "", {}, {}},
        {"last item", 2, "key", {}, {1, 2}},
        {"item beyond the table reads empty", 3, "", {.WholeCell = true}, {1, 2, 3, 4, 5}},
        {"item beyond the table holds no text", 7, "key", {}, {}},
        {"negative item never reads the marker column", -1, "\x81\xA8", {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindRecordsByItem(model, ItemIndex{c.item}, c.search, c.options), c.rows)
            << c.why;
    }
}

}  // namespace
}  // namespace tabulon
