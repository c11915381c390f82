#pragma once
// One record's texts in one piece of memory: the texts back to back, then
// where each ends, counted from the first text's start, in 1, 2 or 4 bytes as
// the total needs. A handle of 8 bytes points at those ends and carries, in
// the top 16 bits that user-space addresses leave free, how many texts there
// are and how wide an end is, so a cell is found without reading any other.
//
// A short record costs one byte a cell beyond its text, less than the
// separator and line end it had in its file: that is what lets a loader pack
// records in place in the file's own buffer, each one no longer than the
// bytes it was read from. Trailing empty texts are not stored; a record of
// nothing but empty texts is the null handle.

#include <cstdint>
#include <cstring>
#include <new>
#include <span>
#include <string_view>

namespace tabulon {

class PackedRecord {
  public:
    PackedRecord() = default;

    // What packing a record's cells takes: the texts it keeps (up to the last
    // non-empty one), their bytes, and the packed record's bytes (0: none).
    struct Layout {
        std::span<const std::string_view> kept;
        size_t textBytes = 0;
        size_t size = 0;
    };
    static Layout Plan(std::span<const std::string_view> cells) {
        size_t n = cells.size();
        while (n > 0 && cells[n - 1].empty())
            --n;
        Layout layout{cells.first(n)};
        for (const std::string_view cell : layout.kept)
            layout.textBytes += cell.size();
        if (n != 0) layout.size = layout.textBytes + n * Width(layout.textBytes, n) + CountBytes(n);
        return layout;
    }

    // Packs the planned record at `at`, which has layout.size bytes. A text may
    // lie inside that room, at or after the place it moves to: texts are
    // moved, in order, never copied over one still to be read.
    //
    // With `chunksReadableTo`, a text whose 16-byte chunks can all be read
    // before that address is moved chunk by chunk, without a branch on its
    // length. The caller promises that the up to kChunkLag bytes a last chunk
    // writes past a text hold nothing still to be read: in place, every text
    // lies at least that far after where it goes; elsewhere, the room goes on
    // that far past the record. What lands inside the record is written over.
    static constexpr size_t kChunkLag = 15;
    static PackedRecord Pack(char* at, const Layout& layout,
                             const char* chunksReadableTo = nullptr) {
        const std::span<const std::string_view> kept = layout.kept;
        if (kept.empty()) return {};
        const size_t count = kept.size();
        const unsigned width = Width(layout.textBytes, count);
        char* out = at;
        for (const std::string_view cell : kept) {
            MoveText(out, cell, chunksReadableTo);
            out += cell.size();
        }
        const char* address = out;
        char* ends = out;
        if (CountBytes(count) != 0) {
            const auto wide = static_cast<uint32_t>(count);
            std::memcpy(ends, &wide, sizeof wide);
            ends += sizeof wide;
        }
        size_t end = 0;
        for (size_t i = 0; i < count; ++i) {
            end += kept[i].size();
            Store(ends + i * width, width, end);
        }
        return PackedRecord(address, count, width);
    }

    explicit operator bool() const { return bits_ != 0; }
    bool operator==(const PackedRecord&) const = default;

    size_t Count() const {
        if (bits_ == 0) return 0;
        if (Code() == kBigCode) {
            uint32_t count = 0;
            std::memcpy(&count, Address(), sizeof count);
            return count;
        }
        return static_cast<size_t>(bits_ >> kCountShift & kCountMask);
    }

    // The record read once, for code that reads many of its texts: what
    // Cell, Texts and WriteText give, without decoding the handle each time.
    class Reader;

    std::string_view Cell(size_t i) const;
    // All its texts, back to back.
    std::string_view Texts() const;
    // Writes `text`, one of the record's, at `to`, which has room for it and
    // kChunk - 1 bytes more; returns the text's end. In whole chunks, without
    // a branch on its length, where they stay within the record's own bytes.
    char* WriteText(std::string_view text, char* to) const;
    static constexpr size_t kChunk = 16;

    // Where the record's bytes begin, and how many there are.
    const char* Begin() const { return bits_ == 0 ? nullptr : TextsBegin(); }
    size_t Size() const {
        const size_t count = Count();
        return count == 0 ? 0 : TextSize() + count * EndWidth() + CountBytes(count);
    }
    // The same record after its bytes were copied `by` bytes further on.
    PackedRecord Moved(std::ptrdiff_t by) const {
        PackedRecord moved;
        moved.bits_ = bits_ == 0 ? 0 : Made(Address() + by, bits_ & ~kAddressMask);
        return moved;
    }

  private:
    static constexpr int kCountShift = 48;
    static constexpr uint64_t kAddressMask = (uint64_t{1} << kCountShift) - 1;
    static constexpr uint64_t kCountMask = 0x3FFF;
    static constexpr int kCodeShift = 62;
    // More texts than the handle can count: the count is stored, ends are 4 bytes.
    static constexpr unsigned kBigCode = 3;

    PackedRecord(const char* address, size_t count, unsigned width) {
        const unsigned code = count > kCountMask ? kBigCode : width == 1 ? 0 : width == 2 ? 1 : 2;
        const uint64_t tag =
            uint64_t{code} << kCodeShift | (code == kBigCode ? 0 : uint64_t{count} << kCountShift);
        bits_ = Made(address, tag);
    }
    static uint64_t Made(const char* address, uint64_t tag) {
        const auto value = reinterpret_cast<uintptr_t>(address);
        if (value > kAddressMask) throw std::bad_alloc();  // no such address on our systems
        return value | tag;
    }

    // memmove, with the short texts most cells hold moved inline: a call each
    // would cost more than the bytes. Every load comes before any store, so
    // the two may overlap.
    static void Move(char* to, const char* from, size_t size) {
        if (size > 16) {
            std::memmove(to, from, size);
        } else if (size >= 8) {
            Move2<uint64_t>(to, from, size);
        } else if (size >= 4) {
            Move2<uint32_t>(to, from, size);
        } else if (size != 0) {
            const char first = from[0], middle = from[size / 2], last = from[size - 1];
            to[0] = first;
            to[size / 2] = middle;
            to[size - 1] = last;
        }
    }
    // Moves `text` to `to`: in whole chunks, without a branch on its length,
    // when they can all be read before `chunksReadableTo` (null: nowhere).
    static void MoveText(char* to, std::string_view text, const char* chunksReadableTo) {
        const size_t size = text.size();
        if (chunksReadableTo != nullptr &&
            size + kChunk <= static_cast<size_t>(chunksReadableTo - text.data())) {
            MoveChunks(to, text.data(), size);
        } else if (text.data() != to) {
            Move(to, text.data(), size);
        }
    }
    // Whole chunks, each read before it is written: for texts elsewhere, or
    // kChunkLag bytes or more ahead of where they go, so that a chunk never
    // overwrites bytes still to be read.
    static void MoveChunks(char* to, const char* from, size_t size) {
        for (size_t k = 0; k < size; k += kChunk) {
            uint64_t head = 0, tail = 0;
            std::memcpy(&head, from + k, sizeof head);
            std::memcpy(&tail, from + k + sizeof head, sizeof tail);
            std::memcpy(to + k, &head, sizeof head);
            std::memcpy(to + k + sizeof head, &tail, sizeof tail);
        }
    }
    // Two words, at the start and the end, cover sizeof(Word) to twice that.
    template <typename Word>
    static void Move2(char* to, const char* from, size_t size) {
        Word head{}, tail{};
        std::memcpy(&head, from, sizeof head);
        std::memcpy(&tail, from + size - sizeof tail, sizeof tail);
        std::memcpy(to, &head, sizeof head);
        std::memcpy(to + size - sizeof tail, &tail, sizeof tail);
    }

    static size_t CountBytes(size_t count) { return count > kCountMask ? sizeof(uint32_t) : 0; }
    static unsigned Width(size_t textBytes, size_t count) {
        return count > kCountMask || textBytes > 0xFFFF ? 4 : textBytes > 0xFF ? 2 : 1;
    }
    static void Store(char* at, unsigned width, size_t value) {
        const auto wide = static_cast<uint32_t>(value);
        const auto narrow = static_cast<uint16_t>(value);
        if (width == 1) {
            *at = static_cast<char>(value);
        } else if (width == 2) {
            std::memcpy(at, &narrow, sizeof narrow);
        } else {
            std::memcpy(at, &wide, sizeof wide);
        }
    }
    static size_t Load(const char* at, unsigned width) {
        if (width == 1) return static_cast<unsigned char>(*at);
        if (width == 2) {
            uint16_t narrow = 0;
            std::memcpy(&narrow, at, sizeof narrow);
            return narrow;
        }
        uint32_t wide = 0;
        std::memcpy(&wide, at, sizeof wide);
        return wide;
    }

    unsigned Code() const { return static_cast<unsigned>(bits_ >> kCodeShift); }
    const char* Address() const { return reinterpret_cast<const char*>(bits_ & kAddressMask); }
    const char* Ends() const {
        return Code() == kBigCode ? Address() + sizeof(uint32_t) : Address();
    }
    unsigned EndWidth() const { return 1U << (Code() == kBigCode ? 2 : Code()); }
    size_t TextSize() const { return Load(Ends() + (Count() - 1) * EndWidth(), EndWidth()); }
    const char* TextsBegin() const { return Address() - TextSize(); }

    uint64_t bits_ = 0;
};

class PackedRecord::Reader {
  public:
    Reader() = default;
    explicit Reader(PackedRecord record) : count_(record.Count()) {
        if (count_ == 0) return;
        width_ = record.EndWidth();
        ends_ = record.Ends();
        textSize_ = Load(ends_ + (count_ - 1) * width_, width_);
        texts_ = record.Address() - textSize_;
    }

    std::string_view Cell(size_t i) const {
        if (i >= count_) return {};
        const size_t begin = i == 0 ? 0 : Load(ends_ + (i - 1) * width_, width_);
        const size_t end = Load(ends_ + i * width_, width_);
        return {texts_ + begin, end - begin};
    }
    std::string_view Texts() const { return {texts_, textSize_}; }
    char* WriteText(std::string_view text, char* to) const {
        // The record's bytes end with its texts' ends.
        if (!text.empty()) MoveText(to, text, ends_ + count_ * width_);
        return to + text.size();
    }

  private:
    size_t count_ = 0;
    unsigned width_ = 1;
    const char* ends_ = nullptr;
    const char* texts_ = nullptr;
    size_t textSize_ = 0;
};

inline std::string_view PackedRecord::Cell(size_t i) const {
    // A text the record does not hold is known from the handle alone: a
    // column of them reads without touching a record's bytes.
    return i < Count() ? Reader(*this).Cell(i) : std::string_view();
}
inline std::string_view PackedRecord::Texts() const {
    return Reader(*this).Texts();
}
inline char* PackedRecord::WriteText(std::string_view text, char* to) const {
    return Reader(*this).WriteText(text, to);
}

}  // namespace tabulon
