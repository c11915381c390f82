#include "table/MarkerColumn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace tabulon {
namespace {

// Random edits, mostly of one text at a time as the marker makes them, read
// back as a plain vector of handles does.
TEST(MarkerColumn, ReadsLikeAHandleARow) {
    static const char bytes[] = "ab";
    const CellText pool[] = {{}, {bytes, 1}, {bytes + 1, 1}};
    std::mt19937 rng(5);
    const auto draw = [&](int high) { return std::uniform_int_distribution<int>(0, high)(rng); };
    MarkerColumn column;
    std::vector<CellText> plain;
    for (int step = 0; step < 20000; ++step) {
        const int size = static_cast<int>(plain.size());
        const int what = draw(20);
        if (what < 3 || size == 0) {
            const auto grown = static_cast<size_t>(draw(12));
            for (size_t r = grown; r < plain.size(); ++r)
                column.Set(r, {});
            column.Resize(grown);
            plain.resize(grown);
        } else if (what < 6) {
            const auto from = static_cast<size_t>(draw(size - 1)),
                       to = static_cast<size_t>(draw(size - 1));
            column.Rotate(from, to);
            const auto at = plain.begin();
            from < to ? std::rotate(at + from, at + from + 1, at + to + 1)
                      : std::rotate(at + to, at + from, at + from + 1);
        } else if (what < 9) {
            const int first = draw(size - 1);
            std::vector<int> order(static_cast<size_t>(draw(size - first - 1) + 1));
            std::iota(order.begin(), order.end(), 0);
            std::shuffle(order.begin(), order.end(), rng);
            column.Permute(static_cast<size_t>(first), order);
            const std::vector<CellText> was = plain;
            for (size_t i = 0; i < order.size(); ++i)
                plain[first + i] = was[first + static_cast<size_t>(order[i])];
        } else if (what == 9) {
            column.Clear();
            std::fill(plain.begin(), plain.end(), CellText{});
        } else {
            const auto row = static_cast<size_t>(draw(size - 1));
            const CellText text = pool[draw(what < 19 ? 0 : 2)];
            ASSERT_EQ(column.Set(row, text), plain[row]);
            plain[row] = text;
        }
        ASSERT_EQ(column.Size(), plain.size());
        std::vector<CellText> texts;
        column.ForEachText([&](CellText t) { texts.push_back(t); });
        EXPECT_EQ(static_cast<ptrdiff_t>(texts.size()),
                  std::count_if(plain.begin(), plain.end(), [](CellText t) { return bool(t); }));
        for (size_t r = 0; r < plain.size(); ++r)
            ASSERT_EQ(column.At(r), plain[r]) << "step " << step << ", row " << r;
    }
}

}  // namespace
}  // namespace tabulon
