#pragma once
// What the fuzz targets share: bytes as a file in memory, a scratch file, the
// model's invariants checked after every load, and the memory a load may cost.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/allocator_interface.h>
#define TABULON_FUZZ_HEAP_STATS 1
#endif
#endif

#include "files/TextFile.h"
#include "table/LoadBudget.h"
#include "table/TableModel.h"

namespace tabulon::fuzz {

inline FileBytes BytesOf(const uint8_t* data, size_t size) {
    ByteBuffer buffer = AllocateBytes(size + 1);
    if (size) std::memcpy(buffer.get(), data, size);
    buffer[size] = '\0';
    return FileBytes(std::move(buffer), size);
}

// A file of this process's own in a memory-backed folder.
inline std::string ScratchFile(const char* name) {
    return "/dev/shm/tabulon-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

inline void Check(bool condition, const char* what) {
    if (!condition) Fail(what);
}

inline void CheckShape(const TableModel& model) {
    Check(model.ColCount() >= 2 && model.RowCount() >= 2, "at least 2 columns and 2 rows");
    Check(model.CurrentCol() >= 1 && model.CurrentCol() < model.ColCount(), "current column");
    Check(model.CurrentRow() >= 1 && model.CurrentRow() < model.RowCount(), "current row");
    Check(model.GetCell(0, 1) == kMarker, "marker in row 1");
}

inline void CheckInvariants(const TableModel& model) {
    CheckShape(model);
    for (int c = 0; c < model.ColCount(); ++c) {
        (void)model.GetColWidth(c);
        for (int r = 0; r < model.RowCount(); ++r) {
            Check(model.GetCell(c, r).find('\0') == std::string_view::npos, "no NUL in a cell");
        }
    }
}

// Bytes the allocator has handed out and not taken back; 0 without the
// sanitizer's statistics.
inline int64_t HeapInUse() {
#ifdef TABULON_FUZZ_HEAP_STATS
    return static_cast<int64_t>(__sanitizer_get_current_allocated_bytes());
#else
    return 0;
#endif
}

// A loaded file may cost its own bytes plus the load budget for its size,
// counted from `heapBefore`, taken before its bytes were copied in.
inline void CheckMemoryOfLoad(int64_t heapBefore, size_t fileSize) {
    const auto allowed = static_cast<int64_t>(fileSize + StorageBudget(fileSize));
    Check(HeapInUse() - heapBefore <= allowed, "a load costs at most its file and its budget");
}

}  // namespace tabulon::fuzz
