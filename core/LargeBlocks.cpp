#include "LargeBlocks.h"

#include <sys/mman.h>

namespace tabulon {

namespace {

constexpr size_t kHugePage = 2 << 20;

}  // namespace

void* AllocateLarge(size_t bytes) {
    void* p = nullptr;
    if (bytes >= 2 * kHugePage) {
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

}  // namespace tabulon
