#pragma once
// A cell's text as the model holds it outside records: where its
// NUL-terminated bytes are and, in the top 16 bits that user-space addresses
// leave free, its length, so that reading it needs no strlen and no handle
// grows. A text of 65,535 bytes or more keeps 0xFFFF there and is measured
// when read. All zero is empty.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tabulon {

class CellText {
  public:
    CellText() = default;
    // Throws std::bad_alloc for an address beyond 48 bits.
    CellText(const char* bytes, size_t size);
    const char* Bytes() const { return reinterpret_cast<const char*>(bits_ & kAddressMask); }
    std::string_view View() const {
        const uint64_t size = bits_ >> kSizeShift;
        return size == kLongSize ? std::string_view(Bytes())
                                 : std::string_view(Bytes(), static_cast<size_t>(size));
    }
    explicit operator bool() const { return bits_ != 0; }
    bool operator==(const CellText&) const = default;

  private:
    static constexpr int kSizeShift = 48;
    static constexpr uint64_t kAddressMask = (uint64_t{1} << kSizeShift) - 1;
    static constexpr uint64_t kLongSize = 0xFFFF;
    uint64_t bits_ = 0;
};

}  // namespace tabulon
