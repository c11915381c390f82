#include "table/LargeBlocks.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace tabulon {
namespace {

// Whole huge pages of a range go back, and the small pages of one it holds
// half of or more; none of the bytes around them.
TEST(LargeBlocks, PagesGivenBackAreOnlyThoseOfTheRange) {
    const auto page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    const ByteBuffer block = AllocateBytes(4 * kHugePage);  // aligned to a huge page
    char* const base = block.get();
    constexpr size_t kHalf = kHugePage / 2;
    const struct {
        size_t from, to;
        size_t droppedFrom, droppedTo;  // the bytes that read zero after
    } cases[] = {
        {kHugePage, 3 * kHugePage, kHugePage, 3 * kHugePage},
        {100, 2 * kHugePage + 7, page, 2 * kHugePage},  // most of the first
        {kHugePage + kHalf + 100, 3 * kHugePage + kHalf + 100, 2 * kHugePage,
         3 * kHugePage + kHalf},  // most of the last
        {kHugePage + 100, 2 * kHugePage - 1, kHugePage + page, 2 * kHugePage - page},
        {kHugePage + 100, kHugePage + kHalf, 0, 0},  // less than half of one
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
