#include "text/Transcoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "text/FormCounts.h"
#include "text/InParallel.h"
#include "text/Utf8Wide.h"

namespace tabulon {

namespace {

// Text is decoded in steps of about this many bytes, each one reported.
constexpr size_t kDecodeStep = size_t{4} << 20;

// The decoders write cp932 at `w`, which never runs ahead of what they have
// read. It is a local pointer, returned by each step, so that it stays in a
// register: stores through char may alias anything in memory.
struct Cp932Sink {
    const Cp932Tables& tables;
    Transcoder::Decoded& result;
    FormCounts& counts;

    // What was read: a character cp932 holds, one it does not, or bytes that
    // are none (one mark each).
    char* Put(char* w, UnicodeRead read) const {
        const uint16_t form = Cp932Form(read.c, tables);
        if (form != 0) {
            if (MaySeven(form)) counts.Note(form, read.c);
            return WriteCp932(w, form);
        }
        if (read.c != kNoCharacter) {
            std::memcpy(w, Transcoder::kUnheldMark.data(), 2);
            result.unheld.push_back(read.c);
            return w + 2;
        }
        std::memset(w, Transcoder::kUnreadableMark, read.length);
        result.unreadable = true;
        return w + read.length;
    }
};

// The wide way where the processor has it, character by character where it
// does not and for what the wide way leaves; there, NUL, bytes that are no
// character, and characters cp932 cannot hold take the rare slow way.
Decoding DecodeUtf8(const unsigned char* r, const unsigned char* end, char* w,
                    const Cp932Sink& sink) {
    // A local copy: stores through char may alias the table's own pointer.
    const uint16_t* const fromUnicode = sink.tables.fromUnicode.data();
    const bool wide = HasWideUtf8();
    // Where the wide way may try again: past the sixteen characters (48 bytes
    // at most) it could not take.
    const unsigned char* wideAgain = r;
    while (r < end) {
        if (wide && r >= wideAgain) {
            const Decoding decoded = DecodeUtf8Wide(r, end, w, fromUnicode, sink.counts);
            w = decoded.w;
            r = decoded.r;
            wideAgain = r + 48;
            if (r == end) break;
        }
        // Eight ASCII bytes, none of them NUL, are their own cp932.
        uint64_t eight = 0;
        if (end - r >= 8 && AsciiWord(r, eight)) {
            std::memcpy(w, &eight, 8);  // in place, `w` may lag `r` by less than 8
            w += 8;
            r += 8;
            continue;
        }
        UnicodeRead read = end - r >= 4 ? ReadUtf8Within(r) : ReadUtf8(r, end);
        // kNoCharacter and code points past the BMP have no form.
        const uint16_t form = read.c < 0x10000 ? fromUnicode[read.c] : 0;
        if (form != 0) [[likely]] {
            if (MaySeven(form)) sink.counts.Note(form, read.c);
            w = WriteCp932(w, form);
        } else if (read.c == 0) {
            break;
        } else {
            if (read.c == kNoCharacter) read = ReadUtf8(r, end);
            w = sink.Put(w, read);
        }
        r += read.length;
    }
    return {w, r};
}

Decoding DecodeUtf16(const unsigned char* r, const unsigned char* end, bool littleEndian, char* w,
                     const Cp932Sink& sink) {
    while (r < end) {
        const UnicodeRead read = ReadUtf16(r, end, littleEndian);
        if (read.c == 0) break;
        // A unit that is no character is one mark, whatever its size.
        w = sink.Put(w, read.c == kNoCharacter ? UnicodeRead{kNoCharacter, 1} : read);
        r += read.length;
    }
    return {w, r};
}

// Where a step of decoding may end near `at` without cutting a character in
// two: at the last byte from three before `at` up to it that continues no
// UTF-8 sequence (where all four do, no character can span `at`), or after a
// UTF-16 unit that is no high surrogate.
const unsigned char* StepEnd(const unsigned char* from, const unsigned char* at, bool utf16,
                             bool littleEndian) {
    if (utf16) {
        at -= (at - from) % 2;
        const unsigned high = littleEndian ? at[-1] : at[-2];
        return high >= 0xD8 && high <= 0xDB ? at - 2 : at;
    }
    return Utf8CutNear(at);
}

}  // namespace

Transcoder::Transcoder() : tables_(Cp932TablesOnce()) {}

Transcoder::Decoded Transcoder::Decode(char* data, size_t size, TextEncoding from,
                                       const Progress& progress) const {
    if (from == TextEncoding::ShiftJis) {
        Decoded cp932;  // already
        cp932.size = size;
        return cp932;
    }
    const std::string_view mark = ByteOrderMark(from);
    const size_t skip = std::string_view(data, size).starts_with(mark) ? mark.size() : 0;
    const auto* r = reinterpret_cast<const unsigned char*>(data) + skip;
    const auto* end = reinterpret_cast<const unsigned char*>(data) + size;
    const bool utf16 = from == TextEncoding::Utf16Le || from == TextEncoding::Utf16Be;
    const bool littleEndian = from == TextEncoding::Utf16Le;
    const unsigned char* start = r;
    ProgressCounter counter(progress, static_cast<size_t>(end - start));
    // The text is cut into parts decoded at once, each in place over its own
    // bytes, then moved together; no cut falls inside a character.
    const auto length = static_cast<size_t>(end - start);
    const size_t parts = PartsFor(length);
    std::vector<const unsigned char*> cuts;
    for (const size_t cut : CutsAt(length, parts, [&](size_t at) {
             return static_cast<size_t>(StepEnd(start, start + at, utf16, littleEndian) - start);
         })) {
        cuts.push_back(start + cut);
    }
    std::vector<Piece> pieces(parts);
    std::vector<const unsigned char*> readTo(parts);
    const auto* base = reinterpret_cast<const unsigned char*>(data);
    RunParts(parts, [&](size_t i) {
        Piece& piece = pieces[i];
        const Cp932Sink sink{tables_, piece.decoded, piece.counts};
        // The first part writes over the byte-order mark too.
        piece.begin = i == 0 ? data : data + (cuts[i] - base);
        Decoding at{piece.begin, cuts[i]};
        // In steps, until the part's end or a NUL character; only the calling
        // thread reports, its part standing for all.
        for (const unsigned char* stepEnd = cuts[i]; at.r == stepEnd && stepEnd < cuts[i + 1];) {
            if (i == 0) counter.Reached(static_cast<size_t>(at.r - start) * parts);
            stepEnd = static_cast<size_t>(cuts[i + 1] - at.r) > kDecodeStep
                          ? StepEnd(at.r, at.r + kDecodeStep, utf16, littleEndian)
                          : cuts[i + 1];
            at = utf16 ? DecodeUtf16(at.r, stepEnd, littleEndian, at.w, sink)
                       : DecodeUtf8(at.r, stepEnd, at.w, sink);
        }
        piece.end = at.w;
        readTo[i] = at.r;
    });
    counter.Reached(static_cast<size_t>(end - start));
    // A NUL character ends the text: the parts after the one that met it go.
    size_t kept = 1;
    while (kept < parts && readTo[kept - 1] == cuts[kept])
        ++kept;
    return Join(data, std::span(pieces).first(kept));
}

Transcoder::Decoded Transcoder::Join(char* data, std::span<const Piece> pieces) {
    Decoded result;
    FormCounts counts;
    char* w = data;
    for (const Piece& piece : pieces) {
        const auto written = static_cast<size_t>(piece.end - piece.begin);
        if (w != piece.begin) std::memmove(w, piece.begin, written);
        w += written;
        result.unheld.insert(result.unheld.end(), piece.decoded.unheld.begin(),
                             piece.decoded.unheld.end());
        result.unreadable = result.unreadable || piece.decoded.unreadable;
        counts.Add(piece.counts);
    }
    result.size = static_cast<size_t>(w - data);
    data[result.size] = '\0';
    result.microsoftForms = counts.MicrosoftForms();
    return result;
}

Decoding Transcoder::DecodeUtf8Into(std::string_view from, char* to, Decoded& result,
                                    FormCounts& counts) const {
    const auto* r = reinterpret_cast<const unsigned char*>(from.data());
    return DecodeUtf8(r, r + from.size(), to, Cp932Sink{tables_, result, counts});
}

void Transcoder::Encode(std::string_view cp932, const FileEncoding& to, std::string& out) const {
    const bool utf16 = to.encoding == TextEncoding::Utf16Le || to.encoding == TextEncoding::Utf16Be;
    const bool littleEndian = to.encoding == TextEncoding::Utf16Le;
    // At most three bytes for each: a half-width kana takes three in UTF-8.
    const size_t start = out.size();
    out.resize(start + 3 * cp932.size());
    char* w = out.data() + start;
    const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
    const auto* end = p + cp932.size();
    while (p < end) {
        UnicodeRead read = ReadCp932(p, end, tables_);
        if (to.microsoftForms != 0x7F && read.length == 2 && p[0] == 0x81) {
            const int i = SevenIndex(static_cast<uint16_t>(p[0] << 8 | p[1]));
            if (i >= 0 && !(to.microsoftForms >> i & 1)) {
                read.c = kJisCodePoints[static_cast<size_t>(i)];
            }
        }
        p += read.length;
        w = utf16 ? WriteUtf16(w, read.c, littleEndian) : WriteUtf8(w, read.c);
    }
    out.resize(static_cast<size_t>(w - out.data()));
}

}  // namespace tabulon
