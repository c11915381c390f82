#include "table/LargeBlocks.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace tabulon {
namespace {

// A reader gives back the pages of what it has read: only whole pages of it,
// none of the bytes around it, and it goes on from where the drop ended.
TEST(LargeBlocks, PagesGivenBackAreOnlyWholePagesOfWhatWasRead) {
    const auto page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    const ByteBuffer block = AllocateBytes(4 * kHugePage);  // aligned to a huge page
    char* const base = block.get();
    const struct {
        size_t from, to;
        bool huge;
        size_t droppedFrom, droppedTo;  // the bytes that read zero after
    } cases[] = {
        {100, 100 + page / 2, false, 0, 0},
        {100, 3 * kHugePage + 7, false, page, 3 * kHugePage},
        // The small pages before the first huge one too.
        {100, 2 * kHugePage + 7, true, page, 2 * kHugePage},
        {kHugePage, 3 * kHugePage + 7, true, kHugePage, 3 * kHugePage},
        {kHugePage + 100, 2 * kHugePage - 1, true, 0, 0},  // no whole huge page
    };
    for (const auto& c : cases) {
        std::memset(base, 'x', 4 * kHugePage);
        const char* next = (c.huge ? DropHugePages : DropPages)(base + c.from, base + c.to);
        EXPECT_EQ(next, c.droppedTo == 0 ? base + c.from : base + c.droppedTo) << c.from;
        const auto zeros = static_cast<size_t>(std::count(base, base + 4 * kHugePage, '\0'));
        EXPECT_EQ(zeros, c.droppedTo - c.droppedFrom) << c.from;
        EXPECT_TRUE(std::all_of(base + c.droppedFrom, base + c.droppedTo,
                                [](char b) { return b == '\0'; }));
    }
}

}  // namespace
}  // namespace tabulon
