#pragma once
// Texts formatted for a file a record at a time: room is made once for a
// whole record and written through a pointer, not appended piece by piece
// (a table's save writes tens of millions of pieces).

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "table/LargeBlocks.h"

namespace tabulon {

class RecordBuffer {
  public:
    // Room for at least `bytes` more, up to the end of which Wrote is told.
    char* Room(size_t bytes) {
        if (capacity_ - size_ < bytes) {
            capacity_ = std::max(2 * capacity_, size_ + bytes);
            ByteBuffer larger = AllocateBytes(capacity_);
            if (size_ != 0) std::memcpy(larger.get(), data_.get(), size_);
            data_ = std::move(larger);
        }
        return data_.get() + size_;
    }
    void Wrote(const char* end) { size_ = static_cast<size_t>(end - data_.get()); }
    void Clear() { size_ = 0; }
    std::string_view View() const { return {data_.get(), size_}; }

  private:
    ByteBuffer data_;
    size_t capacity_ = 0;
    size_t size_ = 0;
};

}  // namespace tabulon
