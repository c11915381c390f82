#include <gtest/gtest.h>

#include <climits>

#include "TableText.h"
#include "table/ViewGeometry.h"
#include "text/Error.h"

namespace tabulon {
namespace {

std::vector<int> Widths(const TableModel& model) {
    std::vector<int> widths;
    for (int c = 0; c < model.ColCount(); ++c) {
        widths.push_back(model.GetColWidth(c));
    }
    return widths;
}

TEST(ViewGeometry, SizesAreShownBetweenOneAndAThousandPixels) {
    const struct {
        int held, shown;
    } cases[] = {{INT_MIN, 1}, {-5, 1},      {0, 1},       {1, 1},
                 {18, 18},     {1000, 1000}, {1001, 1000}, {INT_MAX, 1000}};
    for (const auto& c : cases) {
        EXPECT_EQ(ShownSize(c.held), c.shown) << c.held;
    }
}

TEST(ViewGeometry, TypedRowHeightsBelowOnePixelAreRefusedAndHugeOnesBounded) {
    const struct {
        int height;
        int expected;
    } cases[] = {{25, 25}, {1, 1}, {0, 18}, {-5, 18}, {1000, 1000}, {1001, 1000}, {INT_MAX, 1000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        TableModel model;
        ApplyRowHeight(model, c.height);
        EXPECT_EQ(model.RowHeight(), c.expected);
    }
}

TEST(ViewGeometry, WidthsApplyRowByRowUntilTheFirstFailure) {
    const struct {
        const char* what;
        std::vector<std::string> texts;
        std::vector<int> widths;  // columns 0 .. 3 afterwards
        const char* failure;      // nullptr: none
    } cases[] = {
        {"all", {"70", "80", "90"}, {15, 70, 80, 90}, nullptr},
        {"integer text forms", {" +7", "$10", "0x1F"}, {15, 7, 16, 31}, nullptr},
        {"shorter list", {"70"}, {15, 70, 64, 64}, nullptr},
        {"empty list", {}, {15, 64, 64, 64}, nullptr},
        {"not a number stops there",
         {"70", "abc", "90"},
         {15, 70, 64, 64},
         "'abc' は整数ではありません"},
        {"empty text is no number", {"", "80"}, {15, 64, 64, 64}, "'' は整数ではありません"},
        {"trailing blank", {"70 ", "80"}, {15, 64, 64, 64}, "'70 ' は整数ではありません"},
        {"full-width digits",
         {"\x82\x56\x82\x4F"},
         {15, 64, 64, 64},
         "'７０' は整数ではありません"},
        {"longer than the table",
         {"70", "80", "90", "100", "110"},
         {15, 70, 80, 90},
         "グリッドインデックス が範囲を超えています"},
        {"no number beyond the table",
         {"70", "80", "90", "x"},
         {15, 70, 80, 90},
         "'x' は整数ではありません"},
        {"zero and below keep their widths", {"0", "-3", "5"}, {15, 64, 64, 5}, nullptr},
        {"beyond a thousand pixels is a thousand",
         {"1001", "2147483647", "$7FFFFFFF"},
         {15, 1000, 1000, 1000},
         nullptr},
        {"a refused width beyond the table still fails",
         {"70", "80", "90", "0"},
         {15, 70, 80, 90},
         "グリッドインデックス が範囲を超えています"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TableModel model;
        testing::FillRows(model, {{"A", "B", "C"}, {"1", "2", "3"}, {"", "", ""}});
        model.SetCurrentCell(2, 1);
        const std::string before = testing::Dump(model);
        try {
            ApplyColumnWidths(model, c.texts);
            EXPECT_EQ(c.failure, nullptr);
        } catch (const Error& error) {
            ASSERT_NE(c.failure, nullptr) << error.what();
            EXPECT_STREQ(error.what(), c.failure);
        }
        EXPECT_EQ(Widths(model), c.widths);
        EXPECT_EQ(testing::Dump(model), before);
        EXPECT_EQ(model.CurrentCol(), 2);
        EXPECT_EQ(model.CurrentRow(), 1);
    }
}

}  // namespace
}  // namespace tabulon
