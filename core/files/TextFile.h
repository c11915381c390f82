#pragma once
// Whole-file reading, the one line splitter every reader uses, and (through
// FileWriter.h) the writer that replaces a file only once the new content is
// completely on disk.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <sys/stat.h>

#include "files/FileDescriptor.h"
#include "files/FileWriter.h"
#include "table/LargeBlocks.h"
#include "text/Progress.h"

namespace tabulon {

// A file's bytes with one writable NUL byte after them, so that line and field
// splitters can terminate texts in place.
class FileBytes {
  public:
    FileBytes() = default;
    FileBytes(ByteBuffer data, size_t size) : data_(std::move(data)), size_(size) {}
    char* data() { return data_.get(); }
    const char* data() const { return data_.get(); }
    size_t size() const { return size_; }
    ByteBuffer release() { return std::move(data_); }

  private:
    ByteBuffer data_;
    size_t size_ = 0;
};

// Opens a file for ReadFileBytes, taking its status into `st`, or throws
// "ファイル %s は開けません" as it does.
FileDescriptor OpenToRead(const std::string& path, struct stat& st);

// Reads up to `bytes` bytes of a file from `at` on into `to`; how many it
// read, 0 at the file's end. Throws "ファイル %s は開けません" if reading fails.
size_t ReadAt(int fd, char* to, size_t bytes, size_t at, const std::string& path);

// Reads the whole file as it was when opened (a file growing meanwhile is
// read up to its size then), or at most `limit` bytes of it, or throws
// "ファイル %s は開けません". Only regular files are read: a pipe, a device or a
// folder fails at once (a FIFO would wait for a writer forever, /dev/zero never
// ends). The one exception is the path "/dev/stdin", read as it comes.
// `progress` follows the bytes read of the size the file had when opened.
FileBytes ReadFileBytes(const std::string& path, size_t limit = SIZE_MAX,
                        const Progress& progress = {});

// Takes every NUL byte out of the text (a cell cannot hold one, and a file's
// text does not end there); the count of those taken out.
size_t DropNulBytes(FileBytes& text);

// 0 if `p` is no line end, else the length of the line end that starts at `p`:
// 2 for CR LF, 1 for a lone CR or LF (LF CR is two line ends).
inline size_t LineEndLength(const char* p, const char* end) {
    if (*p == '\n') return 1;
    if (*p == '\r') return (p + 1 < end && p[1] == '\n') ? 2 : 1;
    return 0;
}

// Which of the kByteBlock bytes at `p` equal `a`, `b` or `c`, as bits, the
// first byte lowest: a splitter then takes what it looks for one by one, one
// branch for each rather than one for every byte.
constexpr size_t kByteBlock = 64;
uint64_t BytesIn(const char* p, char a, char b, char c);

// Calls visit(at) for every `separator`, CR and LF from `from`, which begins a
// line, to `end`, in order, but for the LF of a CR LF, which ends no line of
// its own; a block at a time. Each byte is looked at before visit is called
// there, so that visit may write over the bytes before `at`. Stops where
// visit returns false and returns that place; `end` when it never did.
template <typename Char, typename Visit>
Char* VisitEnds(Char* from, Char* end, char separator, Visit&& visit) {
    Char* lf = nullptr;  // the LF of the last CR LF
    const auto take = [&](Char* at) {
        if (at == lf) return true;
        if (*at == '\r' && at + 1 < end && at[1] == '\n') lf = at + 1;
        return visit(at);
    };
    Char* p = from;
    for (; end - p >= static_cast<std::ptrdiff_t>(kByteBlock); p += kByteBlock) {
        for (uint64_t found = BytesIn(p, separator, '\r', '\n'); found != 0; found &= found - 1) {
            Char* at = p + std::countr_zero(found);
            if (!take(at)) return at;
        }
    }
    for (; p < end; ++p) {
        if ((*p == separator || *p == '\r' || *p == '\n') && !take(p)) return p;
    }
    return end;
}

// Splits text into lines at CR, LF or CR LF; a NUL byte ends the text. A last
// line without line end is a line; a line end at the very end adds none. Each
// line is NUL-terminated in place (the byte after `size` must be writable).
class LineReader {
  public:
    LineReader(char* data, size_t size);
    explicit LineReader(FileBytes& bytes) : LineReader(bytes.data(), bytes.size()) {}
    // Reads text known to hold no NUL byte and leaves it untouched: no NUL is
    // looked for, and none is written after a line, so that readers may read
    // the same text at once.
    struct Untouched {};
    LineReader(char* data, size_t size, Untouched)
        : pos_(data), end_(data + size), terminate_(false) {}

    bool Next(std::string_view& line);
    // Passes over up to `lines` lines without changing them; returns how many.
    size_t Skip(size_t lines);
    char* Position() const { return pos_; }
    // Lines not yet read, counted without changing anything.
    size_t CountRemaining() const;

  private:
    char* pos_;
    char* end_;
    bool terminate_ = true;
};

// Up to lines.size() lines of a text without NUL bytes from `from`, which
// begins one, to `end`, split as LineReader splits them, without changing
// anything; returns how many, and moves `from` to where the next begins.
size_t ReadLines(char*& from, char* end, std::span<std::string_view> lines);

// Passes over up to `lines` lines from `from`, which begins one, as ReadLines
// would read them, but counting their ends a block at a time instead of
// taking each; returns how many, and moves `from` to where the next begins.
size_t SkipLines(char*& from, char* end, size_t lines);

// A stretch of a text that begins a line and ends one (or the text).
struct TextPart {
    char* begin;
    char* end;
    size_t Size() const { return static_cast<size_t>(end - begin); }
};

// The text cut into `parts` stretches of about equal size, each cut made
// after an LF, which always ends a line. A stretch may be empty.
std::vector<TextPart> CutAtLineEnds(char* begin, char* end, size_t parts);

// Where every so many lines of a text without NUL bytes begin, found on every
// core at once: any line of a large file is then reached by passing over a
// few hundred lines at most, as LineReader splits them.
class LineMarks {
  public:
    LineMarks(char* begin, char* end);
    size_t Lines() const { return lines_; }
    // A reader from line `line` (0 the first) on; at the end past the last.
    LineReader From(size_t line) const;
    // The same, from `near`, a reader at line `nearLine`, when that is closer.
    LineReader From(size_t line, LineReader near, size_t nearLine) const;

  private:
    static constexpr size_t kStep = 512;
    struct Stretch {
        size_t firstLine = 0;
        size_t lines = 0;
        std::vector<char*> marks;  // where lines 0, kStep, 2 kStep, ... of it begin
    };
    char* end_;
    size_t lines_ = 0;
    std::vector<Stretch> stretches_;
};

}  // namespace tabulon
