#pragma once
// Memory for the big blocks of a loaded table (the file's bytes, the columns
// of text handles). Blocks of several megabytes are aligned to and advised for
// the system's huge pages: a million-record table then costs a few hundred
// page faults instead of tens of thousands.

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

namespace tabulon {

// Freed with std::free, whatever its size.
void* AllocateLarge(size_t bytes);
// The memory a block of `bytes` from AllocateLarge really occupies: the
// allocator's header and rounding, or for a large block whole huge pages and
// the slack of its alignment (address space, if never touched).
size_t LargeBlockFootprint(size_t bytes);

// The size of the huge pages large blocks are given where the system has them.
inline constexpr size_t kHugePage = size_t{2} << 20;

// Gives the huge pages between `begin` and `end`, inside a block this
// program allocated, back to the system: bytes a load is done with need not
// be held (read again, they are zeros). Whole ones, and one the range covers
// only in part where it holds half of it or more: giving back part of a huge
// page makes the system split it, which costs more than a little memory.
void DropHugePages(const char* begin, const char* end);

// Gives the memory of freed small blocks back to the system, after a command
// that made and dropped millions of them.
void ReturnFreeMemory();

struct FreeDeleter {
    void operator()(char* p) const noexcept { std::free(p); }
};
using ByteBuffer = std::unique_ptr<char[], FreeDeleter>;

inline ByteBuffer AllocateBytes(size_t bytes) {
    return ByteBuffer(static_cast<char*>(AllocateLarge(bytes)));
}

// A standard allocator over AllocateLarge, for vectors that may hold millions.
template <typename T>
struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <typename U>
    LargeAllocator(const LargeAllocator<U>&) noexcept {}
    T* allocate(size_t n) { return static_cast<T*>(AllocateLarge(n * sizeof(T))); }
    void deallocate(T* p, size_t) noexcept { std::free(p); }
    template <typename U>
    bool operator==(const LargeAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace tabulon
