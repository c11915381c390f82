#include "text/Transcoder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tabulon {

namespace {

// Text is decoded in steps of about this many bytes, each one reported.
constexpr size_t kDecodeStep = size_t{4} << 20;

// One UTF-8 sequence read strictly (no overlong forms, no surrogates, nothing
// past U+10FFFF), for the last bytes of a text: the length of the sequence
// that starts at `p` (a byte of 0x80 or more, before `end`) with its code
// point in `c`, or 0 when the bytes there are no character.
size_t ReadUtf8Sequence(const unsigned char* p, const unsigned char* end, char32_t& c) {
    const unsigned char b = p[0];
    const auto remaining = static_cast<size_t>(end - p);
    const auto tail = [&](size_t i) { return i < remaining && (p[i] & 0xC0) == 0x80; };
    if (b >= 0xC2 && b <= 0xDF) {
        if (!tail(1)) return 0;
        c = (char32_t{b} & 0x1F) << 6 | (p[1] & 0x3F);
        return 2;
    }
    if (b >= 0xE0 && b <= 0xEF) {
        if (!tail(1) || !tail(2)) return 0;
        c = (char32_t{b} & 0x0F) << 12 | char32_t{p[1] & 0x3Fu} << 6 | (p[2] & 0x3F);
        return c >= 0x800 && (c < 0xD800 || c > 0xDFFF) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (!tail(1) || !tail(2) || !tail(3)) return 0;
        c = (char32_t{b} & 0x07) << 18 | char32_t{p[1] & 0x3Fu} << 12 |
            char32_t{p[2] & 0x3Fu} << 6 | (p[3] & 0x3F);
        return c >= 0x10000 && c <= 0x10FFFF ? 4 : 0;
    }
    return 0;
}

// The seven characters with two Unicode forms, in FileEncoding::jisForms'
// order (cp932 bytes in SevenIndex): the JIS code points.
constexpr std::array<char32_t, 7> kJisCodePoints = {0x301C, 0x2016, 0x2212, 0x00A2,
                                                    0x00A3, 0x00AC, 0x2014};

constexpr int SevenIndex(uint16_t form) {
    switch (form) {
        case 0x8160:
            return 0;
        case 0x8161:
            return 1;
        case 0x817C:
            return 2;
        case 0x8191:
            return 3;
        case 0x8192:
            return 4;
        case 0x81CA:
            return 5;
        case 0x815C:
            return 6;
        default:
            return -1;
    }
}

// How often the file wrote each of the seven in either form.
struct FormCounts {
    std::array<size_t, 7> jis{};
    std::array<size_t, 7> microsoft{};

    void Note(uint16_t form, char32_t c) {
        const int i = SevenIndex(form);
        if (i < 0) return;
        const auto k = static_cast<size_t>(i);
        ++(c == kJisCodePoints[k] ? jis : microsoft)[k];
    }
    uint8_t JisForms() const {
        uint8_t bits = 0;
        for (size_t i = 0; i < jis.size(); ++i) {
            if (jis[i] > microsoft[i]) bits |= static_cast<uint8_t>(1u << i);
        }
        return bits;
    }
};

// Whether a cp932 form may be one of the seven, without a branch on the
// common symbols of row 0x81 around them (ー, 「, 」): the seven lie within
// 0x815C .. 0x81CA, and a small table says which of those they are.
constexpr uint16_t kSevenFirst = 0x815C;
constexpr unsigned kSevenSpan = 0x81CA - kSevenFirst + 1;
constexpr std::array<bool, kSevenSpan + 1> kMaySeven = [] {
    std::array<bool, kSevenSpan + 1> may{};
    for (unsigned i = 0; i < kSevenSpan; ++i)
        may[i] = SevenIndex(static_cast<uint16_t>(kSevenFirst + i)) >= 0;
    return may;
}();

bool MaySeven(uint16_t form) {
    return kMaySeven[std::min<unsigned>(static_cast<uint16_t>(form - kSevenFirst), kSevenSpan)];
}

// The decoders write cp932 at `w`, which never runs ahead of what they have
// read. It is a local pointer, returned by each step, so that it stays in a
// register: stores through char may alias anything in memory.
struct Cp932Sink {
    const uint16_t* fromUnicode;
    Transcoder::Decoded& result;
    FormCounts& counts;

    // A character that took at least two bytes in the file, or ASCII.
    char* Put(char* w, char32_t c) const {
        const uint16_t form = c < 0x10000 ? fromUnicode[c] : 0;
        if (form == 0) {
            std::memcpy(w, Transcoder::kUnheldMark.data(), 2);
            result.unheld.push_back(c);
            return w + 2;
        }
        return PutForm(w, form, c);
    }
    // Writes a form, one byte or two, without a branch on which.
    char* PutForm(char* w, uint16_t form, char32_t c) const {
        // 1 for a pair (forms stay below 0xFD00), computed so that no
        // compiler turns it into a branch.
        const unsigned two = (form + 0xFF00u) >> 16;
        w[0] = static_cast<char>(form >> (8 * two));
        w[two] = static_cast<char>(form & 0xFF);
        if (MaySeven(form)) counts.Note(form, c);
        return w + 1 + two;
    }
    char* Unreadable(char* w) const {
        *w = Transcoder::kUnreadableMark;
        result.unreadable = true;
        return w + 1;
    }
};

// By the first byte of a UTF-8 sequence: its length (0 for bytes that start
// none), the bits it contributes, the least code point of that length, and
// which of the next three bytes must be continuations.
struct SequenceKind {
    uint8_t length;
    uint8_t leadBits;
    char32_t least;
    uint8_t tails;
};
constexpr std::array<SequenceKind, 5> kKinds = {{{0, 0x00, 0, 0},
                                                 {1, 0x7F, 0, 0},
                                                 {2, 0x1F, 0x80, 1},
                                                 {3, 0x0F, 0x800, 3},
                                                 {4, 0x07, 0x10000, 7}}};
constexpr std::array<uint8_t, 256> kLengthOfLead = [] {
    std::array<uint8_t, 256> length{};
    for (unsigned b = 0; b < 256; ++b) {
        length[b] = b < 0x80                 ? 1
                    : b >= 0xC2 && b <= 0xDF ? 2
                    : b >= 0xE0 && b <= 0xEF ? 3
                    : b >= 0xF0 && b <= 0xF4 ? 4
                                             : 0;
    }
    return length;
}();

// Where a decoder stopped: the next byte to write and the next to read, which
// is short of the end where the text had a NUL character.
struct Decoding {
    char* w;
    const unsigned char* r;
};

// Decodes without a branch on the kind of character, since mixed Japanese
// and ASCII would mispredict most of them: four bytes are read at once and
// the sequence's length decides how many of them count. NUL, bytes that are
// no character, and characters cp932 cannot hold take the rare slow way.
Decoding DecodeUtf8(const unsigned char* r, const unsigned char* end, char* w,
                    const Cp932Sink& sink) {
    while (end - r >= 4) {
        const unsigned b0 = r[0], b1 = r[1], b2 = r[2], b3 = r[3];
        const SequenceKind& kind = kKinds[kLengthOfLead[b0]];
        const uint32_t bits =
            (b0 & kind.leadBits) << 18 | (b1 & 0x3Fu) << 12 | (b2 & 0x3Fu) << 6 | (b3 & 0x3Fu);
        const char32_t c = bits >> (6 * (4 - kind.length));
        const unsigned tails =
            unsigned{b1 >> 6 == 2} | unsigned{b2 >> 6 == 2} << 1 | unsigned{b3 >> 6 == 2} << 2;
        const bool valid = kind.length != 0 && (tails & kind.tails) == kind.tails &&
                           c >= kind.least && c - 0xD800 >= 0x800 && c <= 0x10FFFF;
        const uint16_t form = c < 0x10000 ? sink.fromUnicode[c & 0xFFFF] : 0;
        if (valid && form != 0) {
            w = sink.PutForm(w, form, c);
            r += kind.length;
        } else if (b0 == 0) {
            return {w, r};
        } else if (valid) {
            w = sink.Put(w, c);
            r += kind.length;
        } else {
            w = sink.Unreadable(w);
            ++r;
        }
    }
    while (r < end && *r != 0) {
        char32_t c = *r;
        const size_t length = c < 0x80 ? 1 : ReadUtf8Sequence(r, end, c);
        w = length ? sink.Put(w, c) : sink.Unreadable(w);
        r += length ? length : 1;
    }
    return {w, r};
}

Decoding DecodeUtf16(const unsigned char* r, const unsigned char* end, bool littleEndian, char* w,
                     const Cp932Sink& sink) {
    const auto unitAt = [&](const unsigned char* p) {
        return static_cast<char32_t>(littleEndian ? p[0] | p[1] << 8 : p[0] << 8 | p[1]);
    };
    while (end - r >= 2) {
        const char32_t unit = unitAt(r);
        r += 2;
        if (unit < 0x80) {
            if (unit == 0) return {w, r - 2};
            *w++ = static_cast<char>(unit);
        } else if (unit >= 0xD800 && unit <= 0xDBFF && end - r >= 2 && unitAt(r) >= 0xDC00 &&
                   unitAt(r) <= 0xDFFF) {
            const char32_t c = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(r) - 0xDC00);
            r += 2;
            w = sink.Put(w, c);
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            w = sink.Unreadable(w);
        } else {
            w = sink.Put(w, unit);
        }
    }
    return {r < end ? sink.Unreadable(w) : w, end};  // half a unit at the end
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
    for (const unsigned char* p = at; p > at - 4; --p) {
        if ((*p & 0xC0) != 0x80) return p;
    }
    return at;
}

// Both write a character of the basic plane (all cp932 decodes to) at `w`.
char* PutUtf8(char* w, char32_t c) {
    if (c < 0x80) {
        *w = static_cast<char>(c);
        return w + 1;
    }
    if (c < 0x800) {
        w[0] = static_cast<char>(0xC0 | c >> 6);
        w[1] = static_cast<char>(0x80 | (c & 0x3F));
        return w + 2;
    }
    w[0] = static_cast<char>(0xE0 | c >> 12);
    w[1] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
    w[2] = static_cast<char>(0x80 | (c & 0x3F));
    return w + 3;
}

char* PutUtf16(char* w, char32_t c, bool littleEndian) {
    const auto high = static_cast<char>(c >> 8);
    const auto low = static_cast<char>(c & 0xFF);
    w[0] = littleEndian ? low : high;
    w[1] = littleEndian ? high : low;
    return w + 2;
}

}  // namespace

Transcoder::Transcoder() : tables_(Cp932TablesOnce()) {}

Transcoder::Decoded Transcoder::Decode(char* data, size_t size, TextEncoding from,
                                       const Progress& progress) const {
    Decoded result;
    if (from == TextEncoding::ShiftJis) {
        result.size = size;  // cp932 already
        return result;
    }
    const std::string_view mark = ByteOrderMark(from);
    const size_t skip = std::string_view(data, size).starts_with(mark) ? mark.size() : 0;
    const auto* r = reinterpret_cast<const unsigned char*>(data) + skip;
    const auto* end = reinterpret_cast<const unsigned char*>(data) + size;
    FormCounts counts;
    const Cp932Sink sink{tables_.fromUnicode.data(), result, counts};
    const bool utf16 = from == TextEncoding::Utf16Le || from == TextEncoding::Utf16Be;
    const bool littleEndian = from == TextEncoding::Utf16Le;
    const unsigned char* start = r;
    ProgressCounter counter(progress, static_cast<size_t>(end - start));
    Decoding at{data, r};
    // In steps, each reported, until the end or a NUL character.
    for (const unsigned char* stepEnd = r; at.r == stepEnd && stepEnd < end;) {
        counter.Reached(static_cast<size_t>(at.r - start));
        stepEnd = static_cast<size_t>(end - at.r) > kDecodeStep
                      ? StepEnd(at.r, at.r + kDecodeStep, utf16, littleEndian)
                      : end;
        at = utf16 ? DecodeUtf16(at.r, stepEnd, littleEndian, at.w, sink)
                   : DecodeUtf8(at.r, stepEnd, at.w, sink);
    }
    counter.Reached(static_cast<size_t>(end - start));
    result.size = static_cast<size_t>(at.w - data);
    data[result.size] = '\0';
    result.jisForms = counts.JisForms();
    return result;
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
        char32_t c = *p;
        if (c >= 0x80) {
            const unsigned pair = end - p >= 2 ? (unsigned{p[0]} << 8 | p[1]) : 0;
            const char16_t decoded = pair ? tables_.toUnicode[pair] : u'\0';
            if (decoded != 0) {
                c = decoded;
                if (to.jisForms && p[0] == 0x81) {
                    const int i = SevenIndex(static_cast<uint16_t>(pair));
                    if (i >= 0 && (to.jisForms >> i & 1))
                        c = kJisCodePoints[static_cast<size_t>(i)];
                }
                ++p;
            } else {
                c = tables_.toUnicode[*p] ? tables_.toUnicode[*p] : 0xFFFD;
            }
        }
        ++p;
        w = utf16 ? PutUtf16(w, c, littleEndian) : PutUtf8(w, c);
    }
    out.resize(static_cast<size_t>(w - out.data()));
}

}  // namespace tabulon
