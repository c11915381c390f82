#include "files/Utf8FileRead.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "text/FormCounts.h"
#include "text/InParallel.h"

namespace tabulon {

namespace {

// Bytes read at a time: the chunk stays in the core's cache while it is
// checked and decoded. The first is small: a cp932 file fails the check
// within it, and touching the memory of a larger one costs a cp932 load
// (which this way does not serve) milliseconds of page faults.
constexpr size_t kChunk = size_t{256} << 10;
constexpr size_t kFirstChunk = size_t{16} << 10;

// What one part of the file came to.
struct PartText {
    Transcoder::Decoded decoded;
    FormCounts counts;
    char* end = nullptr;  // of its cp932
    bool nonAscii = false;
    // Counted in each chunk's cp932 while it is in cache; the CR LFs the
    // part's first byte may end are counted when the parts are joined.
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
    std::vector<PartText> texts(parts);
    std::atomic<bool> giveUp = false;
    ProgressCounter counter(progress, size);
    RunParts(parts, [&](size_t i) {
        PartText& part = texts[i];
        const auto chunk = std::make_unique_for_overwrite<char[]>(kChunk + 4);
        char* const scratch = chunk.get();
        char* w = data.get() + cuts[i];
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
            const Decoding stop = transcoder.DecodeUtf8Into(text, w, part.decoded, part.counts);
            w = stop.w;
            if (stop.r != reinterpret_cast<const unsigned char*>(text.end()) ||
                part.decoded.unreadable) {
                giveUp = true;
                return;
            }
            // Text as long decoded may still hold two-byte characters.
            const auto written = static_cast<size_t>(w - decoded);
            part.nonAscii = part.nonAscii || written != whole || HasHighBit({decoded, written});
            const char* const partBegin = data.get() + cuts[i];
            part.lineEnds.Add(CountLineEnds({decoded, static_cast<size_t>(w - decoded)},
                                            decoded > partBegin ? decoded[-1] : '\0'));
            held = bytes - whole;
            std::memmove(scratch, scratch + whole, held);
        }
        part.end = w;
    });
    if (giveUp) return std::nullopt;

    Utf8FileText result;
    const bool nonAscii = std::ranges::any_of(texts, [](const PartText& t) { return t.nonAscii; });
    result.encoding = marked                 ? TextEncoding::Utf8Bom
                      : nonAscii || toldUtf8 ? TextEncoding::Utf8
                                             : TextEncoding::ShiftJis;
    FormCounts counts;
    LineEndCounts lineEnds;
    char* w = data.get();
    for (size_t i = 0; i < parts; ++i) {
        PartText& part = texts[i];
        const char* begin = data.get() + cuts[i];
        const auto written = static_cast<size_t>(part.end - begin);
        lineEnds.Add(part.lineEnds);
        if (w > data.get() && written > 0) lineEnds.pairs += w[-1] == '\r' && *begin == '\n';
        if (w != begin) std::memmove(w, begin, written);
        w += written;
        std::vector<char32_t>& unheld = result.decoded.unheld;
        unheld.insert(unheld.end(), part.decoded.unheld.begin(), part.decoded.unheld.end());
        counts.Add(part.counts);
    }
    counter.Reached(size);
    result.decoded.size = static_cast<size_t>(w - data.get());
    result.decoded.microsoftForms = counts.MicrosoftForms();
    result.lineEnd = lineEnds.Used();
    data[result.decoded.size] = '\0';
    result.text = FileBytes(std::move(data), result.decoded.size);
    return result;
}

}  // namespace tabulon
