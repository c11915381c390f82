#include "files/Utf8FileRead.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "text/InParallel.h"

namespace tabulon {

namespace {

// Bytes read at a time: the chunk stays in the core's cache while it is
// checked and decoded. The first is small: a cp932 file fails the check
// within it, and touching the memory of a larger one costs a cp932 load
// (which this way does not serve) milliseconds of page faults.
constexpr size_t kChunk = size_t{256} << 10;
constexpr size_t kFirstChunk = size_t{16} << 10;

// What one part of the file came to besides its cp932.
struct PartNotes {
    bool nonAscii = false;
    // Counted in each chunk's cp932 while it is in cache; a CR LF pair the
    // parts' cut splits is counted when they are joined.
    LineEndCounts lineEnds;
};

// Where each part begins, where a character does (no part splits one), then
// the end: a few bytes read at each cut.
std::vector<size_t> PartCuts(int fd, size_t from, size_t size, size_t parts,
                             const std::string& path) {
    return CutsAt(size, parts, [&](size_t at) {
        if (at < from + 3) return from;
        // The four bytes up to the cut, after one spare: the look stays inside.
        unsigned char near[5] = {};
        ReadAt(fd, reinterpret_cast<char*>(near + 1), 4, at - 3, path);
        return at - 4 + static_cast<size_t>(Utf8CutNear(near + 4) - near);
    });
}

// Whether any byte of `text` is above 0x7F.
bool HasHighBit(std::string_view text) {
    uint64_t high = 0;
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        high |= word;
    }
    for (; i < text.size(); ++i)
        high |= static_cast<unsigned char>(text[i]);
    return (high & 0x8080808080808080u) != 0;
}

}  // namespace

std::optional<Utf8FileText> ReadUtf8File(const std::string& path, bool toldUtf8,
                                         const Progress& progress) {
    struct stat st {};
    const FileDescriptor fd = OpenToRead(path, st);
    const auto size = static_cast<size_t>(st.st_size);
    if (!S_ISREG(st.st_mode) || size < kLeastBytesPerPart) return std::nullopt;
    const std::string_view mark = ByteOrderMark(TextEncoding::Utf8Bom);
    char head[3] = {};
    ReadAt(fd.get(), head, sizeof head, 0, path);
    const bool marked = std::string_view(head, sizeof head) == mark;
    const size_t from = marked ? mark.size() : 0;

    auto data = AllocateBytes(size + 1);
    const size_t parts = PartsFor(size);
    std::vector<size_t> cuts = PartCuts(fd.get(), from, size, parts, path);
    cuts.front() = from;
    std::vector<Transcoder::Piece> pieces(parts);
    std::vector<PartNotes> notes(parts);
    std::atomic<bool> giveUp = false;
    ProgressCounter counter(progress, size);
    RunParts(parts, [&](size_t i) {
        Transcoder::Piece& piece = pieces[i];
        PartNotes& part = notes[i];
        const auto chunk = std::make_unique_for_overwrite<char[]>(kChunk + 4);
        char* const scratch = chunk.get();
        piece.begin = data.get() + cuts[i];
        char* w = piece.begin;
        size_t at = cuts[i];
        size_t held = 0;  // bytes of a character the last chunk cut, at the start
        while (at < cuts[i + 1] && !giveUp.load(std::memory_order_relaxed)) {
            if (i == 0) counter.Reached((at - from) * parts);
            const size_t n =
                ReadAt(fd.get(), scratch + held,
                       std::min(at == cuts[i] ? kFirstChunk : kChunk, cuts[i + 1] - at), at, path);
            at += n;
            const size_t bytes = held + n;
            // Whole characters now, the rest with the next chunk; all at the end.
            size_t whole = bytes;
            if (at < cuts[i + 1] && bytes > 4) {
                const auto* last = reinterpret_cast<const unsigned char*>(scratch + bytes - 1);
                whole =
                    static_cast<size_t>(reinterpret_cast<const char*>(Utf8CutNear(last)) - scratch);
            }
            const std::string_view text(scratch, whole);
            // A part's first chunk is checked before anything is decoded, so
            // that a cp932 file is turned away without the codec's tables.
            // After it the decoder is the check: it stops at NUL and marks
            // bytes that are no UTF-8.
            if (n == 0 || (at - n == cuts[i] && CheckUtf8(text) == Utf8Check::Invalid)) {
                giveUp = true;
                return;
            }
            static const Transcoder transcoder;
            char* const decoded = w;
            const Decoding stop = transcoder.DecodeUtf8Into(text, w, piece.decoded, piece.counts);
            w = stop.w;
            if (stop.r != reinterpret_cast<const unsigned char*>(text.end()) ||
                piece.decoded.unreadable) {
                giveUp = true;
                return;
            }
            // Text as long decoded may still hold two-byte characters.
            const auto written = static_cast<size_t>(w - decoded);
            part.nonAscii = part.nonAscii || written != whole || HasHighBit({decoded, written});
            part.lineEnds.Add(
                CountLineEnds({decoded, written}, decoded > piece.begin ? decoded[-1] : '\0'));
            held = bytes - whole;
            std::memmove(scratch, scratch + whole, held);
        }
        piece.end = w;
    });
    if (giveUp) return std::nullopt;

    counter.Reached(size);

    Utf8FileText result;
    const bool nonAscii = std::ranges::any_of(notes, [](const PartNotes& n) { return n.nonAscii; });
    result.encoding = marked                 ? TextEncoding::Utf8Bom
                      : nonAscii || toldUtf8 ? TextEncoding::Utf8
                                             : TextEncoding::ShiftJis;
    LineEndCounts lineEnds = notes.front().lineEnds;
    for (size_t i = 1; i < parts; ++i) {
        lineEnds.Add(notes[i].lineEnds);
        const Transcoder::Piece& before = pieces[i - 1];
        lineEnds.pairs += before.end > before.begin && before.end[-1] == '\r' &&
                          pieces[i].end > pieces[i].begin && *pieces[i].begin == '\n';
    }
    result.lineEnd = lineEnds.Used();
    result.decoded = Transcoder::Join(data.get(), pieces);
    result.text = FileBytes(std::move(data), result.decoded.size);
    return result;
}

}  // namespace tabulon
