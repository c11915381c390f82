// The pieces the search windows keep: the history rule and the snapshots the
// result lists show.

#include <gtest/gtest.h>

#include "RandomTable.h"
#include "search/FoundCells.h"
#include "search/FoundRecords.h"
#include "search/SearchHistory.h"
#include "search/TableSearch.h"
#include "table/ItemLabels.h"
#include "text/Cp932.h"

namespace tabulon {
namespace {

TEST(SearchHistoryTest, EntriesDifferOnlyBeyondTheCaseOfAsciiLetters) {
    const struct {
        std::string a;
        std::string b;
        bool same;
    } cases[] = {
        {"abc", "ABC", true},
        {"aBc", "AbC", true},
        {"", "", true},
        {"abc", "abcd", false},
        {"@[`{", "@[`{", true},
        {"@", "`", false},                 // 0x40 and 0x60 are no letters
        {"[", "{", false},                 // nor 0x5B and 0x7B
        {"\x82\x60", "\x82\x81", false},   // full-width "Ａ" and "ａ"
        {"\x83\x41", "\x83\x61", false},   // "ア" and "ヂ": trail bytes "A" and "a"
        {"\x83\x41x", "\x83\x41X", true},  // a letter after a double-byte character
        {"\xB1", "\xB1", true},            // half-width "ｱ"
        {"\xB1"
         "A",
         "\xB1"
         "a",
         true},                    // a single-byte kana is no lead byte
        {"x\x83", "X\x83", true},  // a lead byte at the end stands alone
        {"\x83\x41", "\x83\x42", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        EXPECT_EQ(EqualIgnoringAsciiCase(c.a, c.b), c.same);
        EXPECT_EQ(EqualIgnoringAsciiCase(c.b, c.a), c.same);
    }
    const std::vector<std::string> history{"abc", "", "\x83\x41"};
    EXPECT_TRUE(InHistory(history, "ABC"));
    EXPECT_TRUE(InHistory(history, ""));
    EXPECT_FALSE(InHistory(history, "\x83\x61"));
    EXPECT_FALSE(InHistory({}, ""));
}

TEST(SearchSnapshotTest, ListsKeepTheTextsOfTheSearchWhateverHappensLater) {
    TableModel model;
    testing::RandomTable random(7);
    random.Fill(model, {.itemColumns = 4, .records = 60});
    const FindOptions options;
    // "Ａ": with the options off it also finds a, A and ａ, so in many cells.
    const std::string search = "\x82\x60";
    std::vector<CellPosition> hits =
        FindAllCells(model, {1, 1}, search, FindScope::Whole, FindDirection::Row, options);
    ASSERT_GT(hits.size(), 10u);
    std::vector<std::string> expected;
    for (const CellPosition& hit : hits) {
        expected.emplace_back(model.GetCell(hit.col, hit.row));
    }
    const FoundCells cells(model, hits);

    std::vector<int> rows = FindRecordsByItem(model, ItemIndex{1}, search, options);
    ASSERT_GT(rows.size(), 5u);
    std::vector<std::vector<std::string>> records;
    for (const int row : rows) {
        records.push_back(model.GetRowTexts(row));
    }
    const std::vector<std::string> names = ItemLabels(model);
    std::vector<int> widths;
    for (int col = 0; col < model.ColCount(); ++col) {
        widths.push_back(model.GetColWidth(col));
    }
    const FoundRecords found(model, rows);

    // Every cell rewritten, the widths changed and the table shrunk.
    for (int col = 1; col < model.ColCount(); ++col) {
        model.SetColWidth(col, 1);
        for (int row = 0; row < model.RowCount(); ++row) {
            model.SetCell(col, row, "gone");
        }
    }
    model.SetRowCount(2);
    model.SetColCount(2);

    ASSERT_EQ(cells.size(), hits.size());
    for (size_t i = 0; i < hits.size(); ++i) {
        EXPECT_EQ(cells.Cell(i), hits[i]);
        EXPECT_EQ(cells.Text(i), expected[i]);
    }
    ASSERT_EQ(found.Records(), rows.size());
    ASSERT_EQ(found.Columns(), 4);
    for (int col = 1; col <= found.Columns(); ++col) {
        EXPECT_EQ(found.Name(col), names[col - 1]);
        EXPECT_EQ(found.Width(col), widths[col]);
    }
    for (size_t k = 0; k < rows.size(); ++k) {
        EXPECT_EQ(found.Row(k), rows[k]);
        for (int col = 1; col <= found.Columns(); ++col) {
            EXPECT_EQ(found.Text(k, col), records[k][col]) << k << "," << col;
        }
    }
}

TEST(SearchSnapshotTest, EmptyTextsAndEmptyListsAreKept) {
    TableModel model;
    testing::FillRows(model, {{"名", ""}, {"", "x"}, {"", ""}});
    const FoundCells none(model, {});
    EXPECT_EQ(none.size(), 0u);
    const FoundCells cells(model, {{1, 1}, {2, 1}, {2, 2}});
    EXPECT_EQ(cells.Text(0), "");
    EXPECT_EQ(cells.Text(1), "x");
    EXPECT_EQ(cells.Text(2), "");
    const FoundRecords records(model, {2});
    EXPECT_EQ(records.Text(0, 1), "");
    EXPECT_EQ(records.Text(0, 2), "");
    EXPECT_EQ(records.Name(2), Utf8ToCp932OrThrow("（2列目）"));
    EXPECT_EQ(FoundRecords().Columns(), 0);
}

}  // namespace
}  // namespace tabulon
