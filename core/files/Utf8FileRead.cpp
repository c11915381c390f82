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

// Where chunk `k` of a text from `from` to `size` is cut before the cut moves
// back to a character's start; k = count is the end.
size_t ChunkCut(size_t k, size_t from, size_t size) {
    return k == 0 ? from : std::min(size, from + kFirstChunk + (k - 1) * kChunk);
}

size_t ChunkCount(size_t from, size_t size) {
    return size - from <= kFirstChunk ? 1 : 2 + (size - from - kFirstChunk - 1) / kChunk;
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

// Where each chunk's cp932 goes: right after the chunk before, whose length
// is known once it is decoded. A chunk's place is published as soon as it is
// known, and always (as abandoned where its decoding failed), so that no core
// waits for a chunk that will never come.
class Placement {
  public:
    explicit Placement(size_t chunks) : ends_(std::make_unique<std::atomic<size_t>[]>(chunks)) {}

    // Where chunk `k` begins, once the chunk before it has been placed.
    size_t StartOf(size_t k) const {
        if (k == 0) return 0;
        ends_[k - 1].wait(kUnknown);
        return ends_[k - 1].load() - 1;
    }
    void Publish(size_t k, size_t end) {
        ends_[k].store(end + 1);
        ends_[k].notify_all();
    }
    void Abandon(size_t k) { Publish(k, 0); }

  private:
    static constexpr size_t kUnknown = 0;  // ends are stored one past
    std::unique_ptr<std::atomic<size_t>[]> ends_;
};

// What one chunk came to besides its cp932.
struct ChunkNotes {
    bool nonAscii = false;
    // Counted while the chunk is in cache; a CR LF pair that chunks' cut
    // splits is counted once all are placed.
    LineEndCounts lineEnds;
};

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
    const size_t chunks = ChunkCount(from, size);
    std::vector<Transcoder::Piece> pieces(chunks);
    std::vector<ChunkNotes> notes(chunks);
    Placement placement(chunks);
    std::atomic<size_t> next{0};
    std::atomic<bool> giveUp = false;
    ProgressCounter counter(progress, size);

    // Decodes chunk `k` in `buffer`: the characters that begin between its
    // cuts, read with the three bytes before it and the one after, which tell
    // where the cuts move to. Where the text is no UTF-8 or is cut short,
    // nothing.
    const auto decode = [&](size_t k, char* buffer, bool check) -> std::optional<std::string_view> {
        const size_t cut = ChunkCut(k, from, size);
        const size_t nextCut = ChunkCut(k + 1, from, size);
        const size_t readFrom = k == 0 ? cut : cut - 3;
        const size_t readTo = std::min(size, nextCut + 1);
        for (size_t got = 0; got < readTo - readFrom;) {
            const size_t n =
                ReadAt(fd.get(), buffer + got, readTo - readFrom - got, readFrom + got, path);
            if (n == 0) return std::nullopt;
            got += n;
        }
        const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
        const auto cutAt = [&](size_t at) {
            return static_cast<size_t>(Utf8CutNear(bytes + (at - readFrom)) - bytes);
        };
        const size_t begin = k == 0 ? 0 : cutAt(cut);
        const size_t end = nextCut == size ? size - readFrom : cutAt(nextCut);
        const std::string_view text(buffer + begin, end - begin);
        // A core's first chunk is checked before anything is decoded, so that
        // a cp932 file is turned away without the codec's tables. After it
        // the decoder is the check: it stops at NUL and marks bytes that are
        // no UTF-8.
        if (check && CheckUtf8(text) == Utf8Check::Invalid) return std::nullopt;
        static const Transcoder transcoder;
        Transcoder::Piece& piece = pieces[k];
        const Decoding stop =
            transcoder.DecodeUtf8Into(text, buffer + begin, piece.decoded, piece.counts);
        if (stop.r != reinterpret_cast<const unsigned char*>(text.end()) ||
            piece.decoded.unreadable) {
            return std::nullopt;
        }
        const std::string_view decoded(buffer + begin,
                                       static_cast<size_t>(stop.w - (buffer + begin)));
        // Text as long decoded may still hold two-byte characters.
        notes[k].nonAscii = decoded.size() != text.size() || HasHighBit(decoded);
        notes[k].lineEnds = CountLineEnds(decoded, '\0');
        return decoded;
    };

    // Each core takes the next chunk, decodes it in its own small buffer and
    // copies the cp932 to its place: the one buffer the table keeps is
    // written once, in order, with no gaps to move together afterwards.
    RunParts(PartsFor(size), [&](size_t part) {
        const auto buffer = std::make_unique_for_overwrite<char[]>(kChunk + 4);
        bool first = true;
        for (size_t k = next.fetch_add(1); k < chunks; k = next.fetch_add(1)) {
            std::optional<std::string_view> decoded;
            try {
                if (part == 0) counter.Reached(ChunkCut(k, from, size));
                if (!giveUp.load(std::memory_order_relaxed))
                    decoded = decode(k, buffer.get(), first);
            } catch (...) {
                giveUp = true;
                placement.Abandon(k);
                throw;
            }
            first = false;
            if (!decoded) {
                giveUp = true;
                placement.Abandon(k);
                return;
            }
            const size_t start = placement.StartOf(k);
            if (giveUp) {
                placement.Abandon(k);
                return;
            }
            placement.Publish(k, start + decoded->size());
            Transcoder::Piece& piece = pieces[k];
            piece.begin = data.get() + start;
            piece.end = piece.begin + decoded->size();
            std::memcpy(piece.begin, decoded->data(), decoded->size());
        }
    });
    if (giveUp) return std::nullopt;

    counter.Reached(size);

    Utf8FileText result;
    const bool nonAscii =
        std::ranges::any_of(notes, [](const ChunkNotes& n) { return n.nonAscii; });
    result.encoding = marked                 ? TextEncoding::Utf8Bom
                      : nonAscii || toldUtf8 ? TextEncoding::Utf8
                                             : TextEncoding::ShiftJis;
    LineEndCounts lineEnds = notes.front().lineEnds;
    // No chunk is empty: its cuts lie 16 KB apart or more.
    for (size_t k = 1; k < chunks; ++k) {
        lineEnds.Add(notes[k].lineEnds);
        lineEnds.pairs += pieces[k - 1].end[-1] == '\r' && *pieces[k].begin == '\n';
    }
    result.lineEnd = lineEnds.Used();
    result.decoded = Transcoder::Join(data.get(), pieces);
    result.text = FileBytes(std::move(data), result.decoded.size);
    return result;
}

}  // namespace tabulon
