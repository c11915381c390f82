#include "table/LargeBlocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace tabulon {
namespace {

// Only the whole huge pages of a range go back, none of the bytes around
// them.
TEST(LargeBlocks, PagesGivenBackAreOnlyWholeHugePagesOfTheRange) {
    const ByteBuffer block = AllocateBytes(4 * kHugePage);  // aligned to a huge page
    char* const base = block.get();
    const struct {
        size_t from, to;
        size_t droppedFrom, droppedTo;  // the bytes that read zero after
    } cases[] = {
        {100, 2 * kHugePage + 7, kHugePage, 2 * kHugePage},
        {kHugePage, 3 * kHugePage, kHugePage, 3 * kHugePage},
        {kHugePage + 100, 2 * kHugePage - 1, 0, 0},  // no whole huge page
    };
    for (const auto& c : cases) {
        std::memset(base, 'x', 4 * kHugePage);
        DropHugePages(base + c.from, base + c.to);
        const auto zeros = static_cast<size_t>(std::count(base, base + 4 * kHugePage, '\0'));
        EXPECT_EQ(zeros, c.droppedTo - c.droppedFrom) << c.from;
        EXPECT_TRUE(std::all_of(base + c.droppedFrom, base + c.droppedTo,
                                [](char b) { return b == '\0'; }));
    }
}

}  // namespace
}  // namespace tabulon
