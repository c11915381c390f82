#include "files/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "files/FileDescriptor.h"
#include "text/ByteLanes.h"
#include "text/InParallel.h"
#include "text/Messages.h"

namespace tabulon {

namespace {

// A large file is read in steps of this many bytes, each one reported.
constexpr size_t kReadStep = size_t{8} << 20;

// The first CR or LF from `p` on, or `end`: eight bytes a step, for the
// millions of short lines of a large table file.
char* FindLineEnd(char* p, char* end) {
    constexpr uint64_t kOnes = 0x0101010101010101;
    constexpr uint64_t kHighBits = 0x8080808080808080;
    for (; end - p >= 8; p += 8) {
        uint64_t word = 0;
        std::memcpy(&word, p, sizeof word);
        const uint64_t cr = word ^ (kOnes * '\r');
        const uint64_t lf = word ^ (kOnes * '\n');
        // A zero byte sets its high bit here; only bytes after one can be
        // set wrongly, so the lowest bit set is exact.
        const uint64_t found = (((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighBits;
        if (found != 0) {
            static_assert(std::endian::native == std::endian::little);
            return p + std::countr_zero(found) / 8;
        }
    }
    while (p < end && *p != '\r' && *p != '\n') {
        ++p;
    }
    return p;
}

}  // namespace

size_t ReadAt(int fd, char* to, size_t bytes, size_t at, const std::string& path) {
    for (;;) {
        const ssize_t n = ::pread(fd, to, bytes, static_cast<off_t>(at));
        if (n >= 0) return static_cast<size_t>(n);
        if (errno != EINTR) throw messages::CannotOpen(path);
    }
}

namespace {

// Reads the first `size` bytes of a regular file into `data` on every core at
// once: copying from the page cache and faulting the buffer in both take a
// core's time. Steps go to whichever core is free, not a half to each: on
// some machines fresh memory costs one stretch of the buffer many times what
// it costs another. Returns how many it read: a file cut short meanwhile ends
// where the first step that met its end stopped.
size_t ReadInParts(int fd, char* data, size_t size, size_t parts, ProgressCounter& counter,
                   const std::string& path) {
    constexpr size_t kStep = kHugePage;
    std::atomic<size_t> next{0};
    std::atomic<size_t> cut{size};
    RunParts(parts, [&](size_t i) {
        for (size_t at = next.fetch_add(kStep); at < size; at = next.fetch_add(kStep)) {
            // Only the calling thread reports, the steps it takes standing for all.
            if (i == 0) counter.Reached(at);
            const size_t end = std::min(size, at + kStep);
            while (at < end) {
                const size_t n = ReadAt(fd, data + at, end - at, at, path);
                if (n == 0) break;
                at += n;
            }
            if (at < end) {
                size_t shortest = cut.load();
                while (at < shortest && !cut.compare_exchange_weak(shortest, at)) {
                }
                return;
            }
        }
    });
    return cut.load();
}

// Reads a file from where it stands into `data`, which holds `capacity`
// bytes, a step at a time, up to `limit` bytes: a buffer that fills before
// the limit is replaced by one twice as large. Returns how many it read.
size_t ReadInSteps(int fd, ByteBuffer& data, size_t& capacity, size_t limit,
                   ProgressCounter& counter, const std::string& path) {
    size_t size = 0;
    for (;;) {
        counter.Reached(size);
        if (size == capacity) {
            if (size == limit) break;
            char probe;
            const ssize_t n = ::read(fd, &probe, 1);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                throw messages::CannotOpen(path);
            }
            const size_t larger = std::min(std::max(capacity * 2, capacity + 1), limit);
            auto bigger = AllocateBytes(larger + 1);
            std::memcpy(bigger.get(), data.get(), size);
            bigger[size++] = probe;
            data = std::move(bigger);
            capacity = larger;
            continue;
        }
        const ssize_t n = ::read(fd, data.get() + size, std::min(capacity - size, kReadStep));
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw messages::CannotOpen(path);
        }
        size += static_cast<size_t>(n);
    }
    return size;
}

}  // namespace

FileDescriptor OpenToRead(const std::string& path, struct stat& st) {
    FileDescriptor fd;
    if (path == "/dev/stdin") {
        // Taken over, not opened anew: opening a pipe whose writer is gone waits.
        fd = FileDescriptor(::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0));
        if (!fd || ::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) {
            throw messages::CannotOpen(path);
        }
    } else {
        // Looked at before opening: opening a FIFO waits for a writer, and
        // opening some devices acts. The second look catches a swap meanwhile.
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            throw messages::CannotOpen(path);
        }
        fd = FileDescriptor(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
            throw messages::CannotOpen(path);
        }
    }
    return fd;
}

FileBytes ReadFileBytes(const std::string& path, size_t limit, const Progress& progress) {
    struct stat st {};
    const FileDescriptor fd = OpenToRead(path, st);
    // A regular file is read in one allocation, as it was when opened: one
    // that grows meanwhile must not be read on and on. Standard input grows
    // the buffer as it comes.
    size_t capacity = size_t{64} << 10;
    if (S_ISREG(st.st_mode)) {
        capacity = static_cast<size_t>(st.st_size);
        limit = std::min(limit, capacity);
    }
    capacity = std::min(capacity, limit);
    auto data = AllocateBytes(capacity + 1);
    ProgressCounter counter(progress, capacity);
    const size_t parts = S_ISREG(st.st_mode) ? PartsFor(capacity) : 1;
    const size_t size = parts > 1
                            ? ReadInParts(fd.get(), data.get(), capacity, parts, counter, path)
                            : ReadInSteps(fd.get(), data, capacity, limit, counter, path);
    counter.Reached(size);
    data[size] = '\0';
    return FileBytes(std::move(data), size);
}

size_t DropNulBytes(FileBytes& text) {
    if (text.size() == 0) return 0;
    char* const begin = text.data();
    char* const end = begin + text.size();
    // Looked for on every core at once: a large file almost never holds one.
    const size_t parts = PartsFor(text.size());
    std::vector<char*> firsts(parts);
    RunParts(parts, [&](size_t i) {
        const size_t from = PartBegin(text.size(), i, parts);
        const size_t to = PartBegin(text.size(), i + 1, parts);
        firsts[i] = static_cast<char*>(std::memchr(begin + from, '\0', to - from));
    });
    const auto first = std::ranges::find_if(firsts, [](const char* p) { return p != nullptr; });
    if (first == firsts.end()) return 0;
    char* nul = *first;
    char* out = nul;
    for (const char* in = nul; in < end; ++in) {
        if (*in != '\0') *out++ = *in;
    }
    const auto kept = static_cast<size_t>(out - begin);
    *out = '\0';
    text = FileBytes(text.release(), kept);
    return static_cast<size_t>(end - out);
}

uint64_t BytesIn(const char* p, char a, char b, char c) {
    // Sixteen bytes compared at once, then their high bits gathered.
    using Bytes = unsigned char __attribute__((vector_size(16)));
    constexpr uint64_t kHighs = 0x8080808080808080;
    constexpr uint64_t kGather = 0x0102040810204080;  // bit 8k + 7 to bit 56 + k
    const auto byte = [](char x) { return static_cast<unsigned char>(x); };
    uint64_t bits = 0;
    for (unsigned i = 0; i < kByteBlock; i += sizeof(Bytes)) {
        Bytes bytes;
        std::memcpy(&bytes, p + i, sizeof bytes);
        const auto found =
            static_cast<Bytes>((bytes == byte(a)) | (bytes == byte(b)) | (bytes == byte(c)));
        uint64_t halves[2];
        std::memcpy(halves, &found, sizeof halves);
        for (unsigned h = 0; h < 2; ++h)
            bits |= ((halves[h] & kHighs) >> 7) * kGather >> 56 << (i + 8 * h);
    }
    return bits;
}

size_t ReadLines(char*& from, char* end, std::span<std::string_view> lines) {
    if (lines.empty()) return 0;
    char* line = from;
    size_t read = 0;
    VisitEnds(from, end, '\n', [&](char* at) {
        lines[read++] = std::string_view(line, static_cast<size_t>(at - line));
        line = at + LineEndLength(at, end);
        return read < lines.size();
    });
    // A last line without a line end.
    if (read < lines.size() && line < end) {
        lines[read++] = std::string_view(line, static_cast<size_t>(end - line));
        line = end;
    }
    from = line;
    return read;
}

size_t SkipLines(char*& from, char* end, size_t lines) {
    char* p = from;
    size_t left = lines;
    // While the byte after the block can be read: every LF ends a line, and
    // so does every CR that is not the first half of a CR LF.
    for (; left > 0 && end - p > static_cast<std::ptrdiff_t>(kByteBlock); p += kByteBlock) {
        const uint64_t lf = BytesIn(p, '\n', '\n', '\n');
        const uint64_t lfAfter = lf >> 1 | uint64_t{p[kByteBlock] == '\n'} << (kByteBlock - 1);
        uint64_t ends = lf | (BytesIn(p, '\r', '\r', '\r') & ~lfAfter);
        const auto count = static_cast<size_t>(std::popcount(ends));
        if (count >= left) {
            for (; left > 1; --left)
                ends &= ends - 1;
            from = p + std::countr_zero(ends) + 1;
            return lines;
        }
        left -= count;
    }
    LineReader rest(p, static_cast<size_t>(end - p), LineReader::Untouched{});
    left -= rest.Skip(left);
    from = rest.Position();
    return lines - left;
}

LineReader::LineReader(char* data, size_t size) : pos_(data), end_(data + size) {
    if (size == 0) {
        return;
    }
    if (void* nul = std::memchr(data, '\0', size)) {
        end_ = static_cast<char*>(nul);
    }
}

bool LineReader::Next(std::string_view& line) {
    if (pos_ >= end_) {
        return false;
    }
    char* p = FindLineEnd(pos_, end_);
    line = std::string_view(pos_, static_cast<size_t>(p - pos_));
    const size_t endLength = p < end_ ? LineEndLength(p, end_) : 0;
    if (terminate_) *p = '\0';
    pos_ = p + endLength;
    return true;
}

size_t LineReader::Skip(size_t lines) {
    size_t skipped = 0;
    for (; skipped < lines && pos_ < end_; ++skipped) {
        char* p = FindLineEnd(pos_, end_);
        pos_ = p + (p < end_ ? LineEndLength(p, end_) : 0);
    }
    return skipped;
}

size_t LineReader::CountRemaining() const {
    const char* p = pos_;
    if (p >= end_) {
        return 0;
    }
    // Every LF ends a line, and so does every CR that is not the first half of
    // CR LF.
    size_t lines = CountInLanes(p, end_, [](ByteLanes here, ByteLanes next) {
        return (here == '\n') | ((here == '\r') & (next != '\n'));
    });
    for (; p < end_; ++p) {
        lines += *p == '\n' || (*p == '\r' && !(p + 1 < end_ && p[1] == '\n'));
    }
    if (end_[-1] != '\n' && end_[-1] != '\r') ++lines;
    return lines;
}

std::vector<TextPart> CutAtLineEnds(char* begin, char* end, size_t parts) {
    const auto size = static_cast<size_t>(end - begin);
    const std::vector<size_t> cuts = CutsAt(size, parts, [&](size_t at) {
        const void* lf = std::memchr(begin + at, '\n', size - at);
        return lf ? static_cast<size_t>(static_cast<const char*>(lf) - begin) + 1 : size;
    });
    std::vector<TextPart> cut;
    for (size_t i = 0; i + 1 < cuts.size(); ++i)
        cut.push_back({begin + cuts[i], begin + cuts[i + 1]});
    return cut;
}

LineMarks::LineMarks(char* begin, char* end) : end_(end) {
    const std::vector<TextPart> parts = CutAtLineEnds(begin, end, PartsFor(end - begin));
    stretches_.resize(parts.size());
    RunParts(parts.size(), [&](size_t i) {
        Stretch& stretch = stretches_[i];
        char* at = parts[i].begin;
        for (size_t passed = kStep; passed == kStep; stretch.lines += passed) {
            stretch.marks.push_back(at);
            passed = SkipLines(at, parts[i].end, kStep);
        }
    });
    for (Stretch& stretch : stretches_) {
        stretch.firstLine = lines_;
        lines_ += stretch.lines;
    }
}

LineReader LineMarks::From(size_t line) const {
    for (const Stretch& stretch : stretches_) {
        const size_t within = line - stretch.firstLine;
        if (line < stretch.firstLine || within >= stretch.lines) continue;
        char* mark = stretch.marks[within / kStep];
        LineReader reader(mark, static_cast<size_t>(end_ - mark), LineReader::Untouched{});
        reader.Skip(within % kStep);
        return reader;
    }
    return LineReader(end_, 0, LineReader::Untouched{});
}

LineReader LineMarks::From(size_t line, LineReader near, size_t nearLine) const {
    if (line < nearLine || line - nearLine >= kStep) return From(line);
    near.Skip(line - nearLine);
    return near;
}

}  // namespace tabulon
