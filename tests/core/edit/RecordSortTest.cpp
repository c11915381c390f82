#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "TableText.h"
#include "ThrownMessage.h"
#include "edit/RecordSort.h"
#include "table/TableModel.h"
#include "text/Cp932.h"
#include "text/Error.h"

namespace tabulon {
namespace {

using testing::FillRows;
using testing::Rows;

std::vector<std::vector<std::string>> AllCells(const TableModel& model) {
    std::vector<std::vector<std::string>> cells;
    for (int c = 0; c < model.ColCount(); ++c) {
        cells.push_back(model.GetColTexts(c));
    }
    return cells;
}

// The oracle: the reordering done the slow, literal way. Ranks from every
// pair, the rows taken out into a scratch table and written back whole, then
// the marker column rebuilt. Measures are taken independently of SortRecords:
// characters by decoding, bytes compared one by one as unsigned values.
int Compare(std::string_view a, std::string_view b, int order) {
    const auto sign = [](long long d) { return d < 0 ? -1 : d > 0 ? 1 : 0; };
    switch (order / 2) {
        case 0:
            for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
                const int d = static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
                if (d != 0) return sign(d);
            }
            return sign(static_cast<long long>(a.size()) - static_cast<long long>(b.size()));
        case 1: {
            const auto chars = [](std::string_view t) {
                long long n = 0;
                for (char c : Cp932ToUtf8(t))
                    n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
                return n;
            };
            return sign(chars(a) - chars(b));
        }
        default:
            return sign(static_cast<long long>(a.size()) - static_cast<long long>(b.size()));
    }
}

void PairwiseRankSort(TableModel& model, int keyItem, int order) {
    const int k = keyItem + 1;
    const int n = model.RowCount() - 2;
    const int cols = model.ColCount();
    std::vector<std::string> keys;
    std::vector<int> ranks;
    for (int r = 1; r <= n; ++r) {
        keys.emplace_back(model.GetCell(k, r));
        ranks.push_back(1);
    }
    for (int p = 0; p < n; ++p) {
        for (int q = p + 1; q < n; ++q) {
            const int c = Compare(keys[p], keys[q], order);
            const bool ascending = order % 2 == 0;
            if (ascending ? c > 0 : c < 0)
                ++ranks[p];
            else
                ++ranks[q];
        }
    }
    std::vector<std::vector<std::string>> scratch(n, std::vector<std::string>(cols));
    for (int r = 1; r <= n; ++r) {
        for (int c = 1; c < cols; ++c) {
            scratch[r - 1][c] = model.GetCell(c, r);
            model.SetCell(c, r, "");
        }
    }
    for (int p = 0; p < n; ++p) {
        model.SetRowTexts(ranks[p], scratch[p]);
    }
    model.ClearCol(0);
    model.SetCell(0, model.CurrentRow(), kMarker);
}

TEST(SortRecords, EqualsPairwiseRanksOnRandomTablesWithManyEqualKeys) {
    // Few distinct keys, so that runs of equal texts, lengths and byte counts
    // abound; some share their first eight bytes and differ only after them.
    const std::vector<std::string> pool = {
        "",
        "a",
        "B",
        "ab",
        "abc",
        "a b",
        " ",
        "\xB1\xB2\xB3",      // ｱｲｳ
        "\x83\x41\x83\x43",  // アイ
        "\x82\xA0",
        "\x83\x41",
        "\xB1",
        "\x88\x9F",
        "\xE0\x40",
        "z\x82\xA0",
        "\x82\xA0z",
        "abcdefgh",
        "abcdefghi",
        "abcdefghij",
        "abcdefgi",
        "abcdefgh\x82\xA0",
        "\x82\xA0\x82\xA2\x82\xA4\x82\xA6",          // あいうえ
        "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8",  // あいうえお
        "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\xB1"};
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        const int items = 1 + static_cast<int>(random() % 4);
        const int rows = 2 + static_cast<int>(random() % 40);
        Rows cells(rows, std::vector<std::string>(items));
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < items; ++c) {
                // Every cell distinct except the key texts, so moved rows are traceable.
                cells[r][c] = pool[random() % pool.size()] + std::to_string(r * 10 + c) +
                              (random() % 2 ? "" : "\x82\xA2");
            }
        }
        const int keyItem = static_cast<int>(random() % items);
        for (int r = 1; r < rows; ++r) {
            cells[r][keyItem] = pool[random() % pool.size()];
        }
        const int currentRow = 1 + static_cast<int>(random() % (rows - 1));
        for (int order = 0; order < 6; ++order) {
            TableModel expected;
            TableModel actual;
            for (TableModel* model : {&expected, &actual}) {
                FillRows(*model, cells);
                model->SetCurrentCell(1, currentRow);
                model->MoveMarker(currentRow);
            }
            PairwiseRankSort(expected, keyItem, order);
            SortRecords(actual, ItemIndex{keyItem}, SortOrder{order});
            ASSERT_EQ(AllCells(actual), AllCells(expected))
                << "round " << round << ", order " << order << ", key " << keyItem;
        }
    }
}

struct OrderCase {
    const char* what;
    std::vector<std::string> keys;  // key texts of rows 1 .. n
    int order;
    std::vector<int> expected;  // the former row numbers, in their new order
};

class RecordSortOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(RecordSortOrder, PutsRowsInTheExpectedOrder) {
    const OrderCase& c = GetParam();
    Rows rows = {{"key", "row"}};
    for (size_t i = 0; i < c.keys.size(); ++i) {
        rows.push_back({c.keys[i], std::to_string(i + 1)});
    }
    rows.push_back({"", "last"});
    TableModel model;
    FillRows(model, rows);
    SortRecords(model, ItemIndex{0}, SortOrder{c.order});
    std::vector<std::string> expected = {"row"};
    for (int former : c.expected) {
        expected.push_back(std::to_string(former));
    }
    expected.push_back("last");
    EXPECT_EQ(model.GetColTexts(2), expected);
}

const std::string kHalfAiu = "\xB1\xB2\xB3";     // ｱｲｳ: 3 characters, 3 bytes
const std::string kFullAi = "\x83\x41\x83\x43";  // アイ: 2 characters, 4 bytes

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordSortOrder,
    ::testing::Values(
        OrderCase{"equal keys, text ascending", {"b", "a", "b"}, 0, {2, 1, 3}},
        OrderCase{"equal keys, text descending", {"b", "a", "b"}, 1, {1, 3, 2}},
        OrderCase{"equal counts, chars ascending", {"b", "a", "b"}, 2, {1, 2, 3}},
        OrderCase{"equal counts, chars descending", {"b", "a", "b"}, 3, {1, 2, 3}},
        OrderCase{"equal counts, bytes ascending", {"b", "a", "b"}, 4, {1, 2, 3}},
        OrderCase{"equal counts, bytes descending", {"b", "a", "b"}, 5, {1, 2, 3}},
        OrderCase{"empty first, text ascending", {"x", "", "y", ""}, 0, {2, 4, 1, 3}},
        OrderCase{"empty last, text descending", {"x", "", "y", ""}, 1, {3, 1, 2, 4}},
        OrderCase{"empty first, chars ascending", {"x", "", "y", ""}, 2, {2, 4, 1, 3}},
        OrderCase{"empty last, chars descending", {"x", "", "y", ""}, 3, {1, 3, 2, 4}},
        OrderCase{"empty first, bytes ascending", {"x", "", "y", ""}, 4, {2, 4, 1, 3}},
        OrderCase{"empty last, bytes descending", {"x", "", "y", ""}, 5, {1, 3, 2, 4}},
        OrderCase{"prefix first", {"abc", "ab"}, 0, {2, 1}},
        OrderCase{"long prefix first", {"abcdefghij", "abcdefghi"}, 0, {2, 1}},
        OrderCase{"difference after eight bytes", {"abcdefgh\xB1", "abcdefgh\x82\xA0"}, 0, {2, 1}},
        OrderCase{"prefix last descending", {"ab", "abc"}, 1, {2, 1}},
        OrderCase{"capitals before small letters", {"a", "B"}, 0, {2, 1}},
        OrderCase{"characters, ascending", {kHalfAiu, kFullAi}, 2, {2, 1}},
        OrderCase{"characters, descending", {kFullAi, kHalfAiu}, 3, {2, 1}},
        OrderCase{"bytes, ascending", {kFullAi, kHalfAiu}, 4, {2, 1}},
        OrderCase{"bytes, descending", {kHalfAiu, kFullAi}, 5, {2, 1}},
        OrderCase{"counts compare as numbers", {"aaaaaaaaaa", "bbbbbbbbb"}, 2, {2, 1}},
        OrderCase{
            "lone lead byte at the end counts one character", {"a\x81", "\x82\xA0"}, 2, {2, 1}},
        // あ 82A0 < ア 8341 < 亜 889F < ｱ B1 < E040, and ASCII before them all:
        // every byte compares unsigned.
        OrderCase{"cp932 byte ranges ascending",
                  {"\xE0\x40", "\xB1", "\x88\x9F", "\x83\x41", "\x82\xA0", "z"},
                  0,
                  {6, 5, 4, 3, 2, 1}},
        OrderCase{"cp932 byte ranges descending",
                  {"z", "\x82\xA0", "\x83\x41", "\x88\x9F", "\xB1", "\xE0\x40"},
                  1,
                  {6, 5, 4, 3, 2, 1}}),
    [](const ::testing::TestParamInfo<OrderCase>& param) {
        std::string name;
        for (const char* p = param.param.what; *p; ++p) {
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        }
        return name;
    });

struct MarkerCase {
    int rowCount;
    int currentRow;
    int markerRow;
};

class RecordSortMarker : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(RecordSortMarker, RebuildsTheMarkerColumnAndLeavesTheRestOfTheDocument) {
    const MarkerCase& c = GetParam();
    Rows rows = {{"name", "key", "note"}};
    for (int r = 1; r < c.rowCount; ++r) {
        rows.push_back({"n" + std::to_string(r), std::to_string(c.rowCount - r), "x"});
    }
    rows.back() = {"tail", "0", "kept"};
    TableModel model;
    FillRows(model, rows);
    model.SetColWidth(2, 99);
    model.SetRowHeight(31);
    model.SetCurrentCell(2, c.currentRow);
    model.MoveMarker(c.markerRow);
    model.SetCell(0, 0, "junk");

    SortRecords(model, ItemIndex{1}, SortOrder::TextAscending);

    std::vector<std::string> markers(c.rowCount);
    markers[c.currentRow] = std::string(kMarker);
    EXPECT_EQ(model.GetColTexts(0), markers);
    EXPECT_EQ(model.MarkerRow(), c.markerRow);
    EXPECT_EQ(model.CurrentCol(), 2);
    EXPECT_EQ(model.CurrentRow(), c.currentRow);
    EXPECT_EQ(model.GetRowTexts(0), (std::vector<std::string>{"", "name", "key", "note"}));
    EXPECT_EQ(model.GetRowTexts(c.rowCount - 1),
              (std::vector<std::string>{markers.back(), "tail", "0", "kept"}));
    EXPECT_EQ(model.ColCount(), 4);
    EXPECT_EQ(model.RowCount(), c.rowCount);
    EXPECT_EQ(model.GetColWidth(2), 99);
    EXPECT_EQ(model.RowHeight(), 31);
    // Keys count down, so the records come out reversed, whole rows together.
    for (int r = 1; r <= c.rowCount - 2; ++r) {
        EXPECT_EQ(model.GetCell(1, r), "n" + std::to_string(c.rowCount - 1 - r));
        EXPECT_EQ(model.GetCell(2, r), std::to_string(r + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RecordSortMarker,
                         ::testing::Values(MarkerCase{2, 1, 1},  // nothing to sort
                                           MarkerCase{3, 1, 1},  // one record stays
                                           MarkerCase{6, 3, 3},
                                           MarkerCase{6, 5, 5},   // current row last
                                           MarkerCase{6, 2, 4}),  // marker elsewhere
                         [](const ::testing::TestParamInfo<MarkerCase>& param) {
                             const MarkerCase& c = param.param;
                             return "rows" + std::to_string(c.rowCount) + "_current" +
                                    std::to_string(c.currentRow) + "_marker" +
                                    std::to_string(c.markerRow);
                         });

class ChangeRecorder : public TableObserver {
  public:
    void CellsChanged(int col0, int row0, int col1, int row1) override {
        cells.push_back({col0, row0, col1, row1});
    }
    void TableChanging(const TableChange&) override { ++structural; }
    std::vector<std::vector<int>> cells;
    int structural = 0;
};

TEST(SortRecords, AnnouncesTheMovedRecordsAsOneRectangle) {
    TableModel model;
    FillRows(model, {{"k", "v"}, {"c", "1"}, {"a", "2"}, {"b", "3"}, {"", ""}});
    ChangeRecorder recorder;
    model.AddObserver(&recorder);
    SortRecords(model, ItemIndex{0}, SortOrder::TextAscending);
    EXPECT_EQ(recorder.structural, 0);
    EXPECT_EQ(
        std::count(recorder.cells.begin(), recorder.cells.end(), std::vector<int>{1, 1, 2, 3}), 1);
    EXPECT_EQ(model.GetColTexts(2), (std::vector<std::string>{"v", "2", "3", "1", ""}));
}

TEST(SortRecords, RefusesAKeyOrOrderOutsideTheTableBeforeChangingIt) {
    struct Bad {
        int keyItem;
        int order;
        const char* message;
    };
    for (const Bad& bad : {Bad{-1, 0, "グリッドインデックス が範囲を超えています"},
                           Bad{2, 0, "グリッドインデックス が範囲を超えています"},
                           Bad{0, -1, "リストのインデックスが範囲を超えています (-1)"},
                           Bad{1, 6, "リストのインデックスが範囲を超えています (6)"}}) {
        TableModel model;
        FillRows(model, {{"k", "v"}, {"b", "1"}, {"a", "2"}, {"", ""}});
        model.SetCell(0, 0, "junk");
        const auto before = AllCells(model);
        EXPECT_THROW_MESSAGE(SortRecords(model, ItemIndex{bad.keyItem}, SortOrder{bad.order}),
                             bad.message)
            << "key " << bad.keyItem << ", order " << bad.order;
        EXPECT_EQ(AllCells(model), before);
    }
}

}  // namespace
}  // namespace tabulon
