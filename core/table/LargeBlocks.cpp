#include "table/LargeBlocks.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace tabulon {

namespace {

bool IsLarge(size_t bytes) {
    return bytes >= 2 * kHugePage;
}

}  // namespace

size_t LargeBlockFootprint(size_t bytes) {
    if (IsLarge(bytes)) {
        // Whole huge pages, and the mapping keeps the slack it was aligned in.
        return (bytes + kHugePage - 1) / kHugePage * kHugePage + kHugePage;
    }
    // malloc: an 8-byte header, 16-byte steps, 32 bytes at least.
    return std::max<size_t>(32, (bytes + 8 + 15) & ~size_t{15});
}

void* AllocateLarge(size_t bytes) {
    void* p = nullptr;
    if (IsLarge(bytes)) {
        const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        p = std::aligned_alloc(kHugePage, rounded);
        if (p) {
            // Only advice: without huge pages the block works the same.
            ::madvise(p, rounded, MADV_HUGEPAGE);
        }
    } else {
        p = std::malloc(bytes ? bytes : 1);
    }
    if (!p) {
        throw std::bad_alloc();
    }
    return p;
}

void DropHugePages(const char* begin, const char* end) {
    static const auto kPage = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto b = reinterpret_cast<uintptr_t>(begin);
    const auto e = reinterpret_cast<uintptr_t>(end);
    uintptr_t from = (b + kPage - 1) & ~(kPage - 1);
    uintptr_t to = e & ~(kPage - 1);
    // A huge page the range only partly covers goes too, in small pages,
    // where the range holds half of it or more: splitting it then frees
    // enough to be worth its cost.
    const uintptr_t firstWhole = (b + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t lastWholeEnd = e & ~(kHugePage - 1);
    if (std::min(firstWhole, e) - b < kHugePage / 2) from = std::max(from, firstWhole);
    if (e - std::max(lastWholeEnd, b) < kHugePage / 2) to = std::min(to, lastWholeEnd);
    // Only advice: if the system keeps the pages, nothing but memory is lost.
    if (from < to) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
}

void ReturnFreeMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

}  // namespace tabulon
