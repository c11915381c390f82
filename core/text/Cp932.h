#pragma once
// The one place where table text (cp932 bytes) meets Unicode: the codec both
// ways, on two tables, and the UTF-8 and UTF-16 forms of Unicode text, read
// strictly and written. Showing a cell, taking typed text, the command line,
// the clipboard and whole CSV files all convert with these, so they cannot
// disagree on a character.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

// ---- Unicode text

// What the readers give for bytes that are no character.
inline constexpr char32_t kNoCharacter = 0xFFFFFFFF;
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

struct UnicodeRead {
    char32_t c;     // the code point, or kNoCharacter
    size_t length;  // the bytes it took: at least 1
};

namespace codec_detail {

// Strict UTF-8 by the first byte of a sequence: its length (0 for bytes that
// start none) and the range of its second byte, which rules out overlong
// forms, surrogates and code points past U+10FFFF; later bytes are any
// continuation. The reader and the validator both follow this one table.
struct LeadRule {
    uint8_t length;
    uint8_t low;
    uint8_t high;
};
inline constexpr std::array<LeadRule, 256> kLeadRules = [] {
    std::array<LeadRule, 256> rules{};
    for (unsigned b = 0; b < 256; ++b) {
        const unsigned length = b < 0x80                 ? 1
                                : b >= 0xC2 && b <= 0xDF ? 2
                                : b >= 0xE0 && b <= 0xEF ? 3
                                : b >= 0xF0 && b <= 0xF4 ? 4
                                                         : 0;
        // A byte that starts no sequence of two or more lets any second byte
        // pass, so that the reader needs no branch on the length.
        const bool single = length < 2;
        rules[b] = {static_cast<uint8_t>(length),
                    static_cast<uint8_t>(single      ? 0x00
                                         : b == 0xE0 ? 0xA0
                                         : b == 0xF0 ? 0x90
                                                     : 0x80),
                    static_cast<uint8_t>(single      ? 0xFF
                                         : b == 0xED ? 0x9F
                                         : b == 0xF4 ? 0x8F
                                                     : 0xBF)};
    }
    return rules;
}();
// By a sequence's length: the bits its first byte holds, and which of the
// next three bytes must be continuations.
inline constexpr std::array<uint8_t, 5> kLeadBits = {0, 0x7F, 0x1F, 0x0F, 0x07};
inline constexpr std::array<uint8_t, 5> kTails = {0, 0, 1, 3, 7};

// The bytes of a bad sequence at `p`: as far as they could still have begun a
// character, the part ICU and the browsers replace with one U+FFFD.
size_t BadUtf8Length(const unsigned char* p, const unsigned char* end);

// The four bytes from `p` decide; the ones past the end are zeros, which
// continue nothing. Without a branch on the kind of character, since mixed
// Japanese and ASCII would mispredict most of them. For bytes that are no
// character, c is kNoCharacter and the length not yet known.
inline UnicodeRead ReadUtf8Bytes(unsigned b0, unsigned b1, unsigned b2, unsigned b3) {
    const LeadRule rule = kLeadRules[b0];
    const uint32_t bits =
        (b0 & kLeadBits[rule.length]) << 18 | (b1 & 0x3Fu) << 12 | (b2 & 0x3Fu) << 6 | (b3 & 0x3Fu);
    const char32_t c = bits >> (6 * (4 - rule.length));
    const unsigned tails =
        unsigned{b1 >> 6 == 2} | unsigned{b2 >> 6 == 2} << 1 | unsigned{b3 >> 6 == 2} << 2;
    // Bitwise, not logical: no branch on the kind of character.
    const bool second = b1 - rule.low <= unsigned{rule.high} - rule.low;
    const bool valid =
        (rule.length != 0) & second & ((tails & kTails[rule.length]) == kTails[rule.length]);
    return {valid ? c : kNoCharacter, rule.length};
}

UnicodeRead ReadUtf8Tail(const unsigned char* p, const unsigned char* end);

}  // namespace codec_detail

// One character of UTF-8 at `p` (before `end`), strictly. Bytes that are no
// character are taken as far as they could still have begun one.
inline UnicodeRead ReadUtf8(const unsigned char* p, const unsigned char* end) {
    if (end - p < 4) [[unlikely]]
        return codec_detail::ReadUtf8Tail(p, end);
    const UnicodeRead read = codec_detail::ReadUtf8Bytes(p[0], p[1], p[2], p[3]);
    if (read.c != kNoCharacter) [[likely]]
        return read;
    return {kNoCharacter, codec_detail::BadUtf8Length(p, end)};
}

// The same for the middle of a long text, four bytes from `p` readable: no
// look at the end, and for bytes that are no character, c is kNoCharacter
// and the length unknown (ReadUtf8 tells it).
inline UnicodeRead ReadUtf8Within(const unsigned char* p) {
    return codec_detail::ReadUtf8Bytes(p[0], p[1], p[2], p[3]);
}

// The ASCII fast path: whether the eight bytes at `p` are ASCII other than
// NUL (which ends texts), loaded into `word` for copying on.
inline bool AsciiWord(const unsigned char* p, uint64_t& word) {
    std::memcpy(&word, p, 8);
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kHigh = 0x8080808080808080u;
    return ((word | (word - kOnes)) & kHigh) == 0;
}

// Bytes that continue a UTF-8 sequence, where no character starts.
constexpr bool IsUtf8Continuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Where a text may be cut near `at`, three bytes or more into it, without
// cutting a character in two: at the last byte from three before `at` up to
// it that continues no UTF-8 sequence (where all four do, no character can
// span `at`).
inline const unsigned char* Utf8CutNear(const unsigned char* at) {
    for (const unsigned char* p = at; p > at - 4; --p) {
        if (!IsUtf8Continuation(*p)) return p;
    }
    return at;
}

// Writes `c` (no surrogate) at `w` as UTF-8, one to four bytes; returns the end.
inline char* WriteUtf8(char* w, char32_t c) {
    if (c < 0x80) {
        *w = static_cast<char>(c);
        return w + 1;
    }
    if (c < 0x800) {
        w[0] = static_cast<char>(0xC0 | c >> 6);
        w[1] = static_cast<char>(0x80 | (c & 0x3F));
        return w + 2;
    }
    if (c < 0x10000) {
        w[0] = static_cast<char>(0xE0 | c >> 12);
        w[1] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        w[2] = static_cast<char>(0x80 | (c & 0x3F));
        return w + 3;
    }
    w[0] = static_cast<char>(0xF0 | c >> 18);
    w[1] = static_cast<char>(0x80 | (c >> 12 & 0x3F));
    w[2] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
    w[3] = static_cast<char>(0x80 | (c & 0x3F));
    return w + 4;
}
void AppendUtf8(char32_t c, std::string& out);

// Strict UTF-8 throughout, and whether any of it is more than ASCII.
enum class Utf8Check { Invalid, Ascii, NonAscii };
Utf8Check CheckUtf8(std::string_view text);

// One character of UTF-16 at `p` (before `end`) in either byte order. An
// unpaired surrogate is no character (two bytes), nor is half a unit.
inline UnicodeRead ReadUtf16(const unsigned char* p, const unsigned char* end, bool littleEndian) {
    const auto unitAt = [&](const unsigned char* q) {
        return static_cast<char32_t>(littleEndian ? q[0] | q[1] << 8 : q[0] << 8 | q[1]);
    };
    if (end - p < 2) return {kNoCharacter, 1};
    const char32_t unit = unitAt(p);
    if (unit - 0xD800 >= 0x800) return {unit, 2};
    if (unit <= 0xDBFF && end - p >= 4 && unitAt(p + 2) - 0xDC00 < 0x400) {
        return {0x10000 + ((unit - 0xD800) << 10) + (unitAt(p + 2) - 0xDC00), 4};
    }
    return {kNoCharacter, 2};
}

// Writes `c` at `w` as UTF-16 in the byte order asked; returns the end.
inline char* WriteUtf16(char* w, char32_t c, bool littleEndian) {
    const auto unit = [&](char32_t u) {
        const auto high = static_cast<char>(u >> 8);
        const auto low = static_cast<char>(u & 0xFF);
        w[0] = littleEndian ? low : high;
        w[1] = littleEndian ? high : low;
        w += 2;
    };
    if (c >= 0x10000) {
        unit(0xD7C0 + (c >> 10));
        c = 0xDC00 | (c & 0x3FF);
    }
    unit(c);
    return w;
}

// ---- cp932

// The codec as two tables, built once from the converter (a few
// milliseconds) and then shared: they are constants of the codec.
struct Cp932Tables {
    // Indexed by a byte (below 0x100) or a lead and trail byte pair (lead << 8
    // | trail): the UTF-16 character they decode to, U+FFFD for an unassigned
    // pair, 0 for a pair that is no one character (its lead stands alone).
    std::vector<char16_t> toUnicode;
    // Indexed by a BMP code point: the cp932 form, a byte (below 0x100; ASCII
    // is itself) or a pair (lead << 8 | trail); 0 for none, and for U+0000.
    // The seven JIS code points below map to their Microsoft forms; no form
    // ever holds a byte above 0xFC. One more entry, 0, ends it, so that four
    // bytes can be read from any code point's place.
    std::vector<uint16_t> fromUnicode;
};
const Cp932Tables& Cp932TablesOnce();

// Lead bytes of cp932 double-byte characters: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Bytes that may follow a lead byte: 0x40-0x7E and 0x80-0xFC.
constexpr bool IsCp932TrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// One character of cp932 at `p` (before `end`): a lead byte takes its trail
// along only when the pair is one character; bytes that are none give U+FFFD.
// ASCII is itself both ways (the converter would swap 0x1A, 0x1C and 0x7F).
inline UnicodeRead ReadCp932(const unsigned char* p, const unsigned char* end,
                             const Cp932Tables& tables) {
    const unsigned b = p[0];
    if (b < 0x80) return {b, 1};
    const char16_t pair = end - p >= 2 ? tables.toUnicode[b << 8 | p[1]] : u'\0';
    if (pair != 0) return {pair, 2};
    const char16_t one = tables.toUnicode[b];
    return {one != 0 ? one : kReplacementCharacter, 1};
}

// The cp932 form of a character, 0 for none: nothing past the BMP is cp932.
inline uint16_t Cp932Form(char32_t c, const Cp932Tables& tables) {
    return c < 0x10000 ? tables.fromUnicode[c] : 0;
}

// Writes a form (not 0), one byte or two, without a branch on which.
inline char* WriteCp932(char* w, uint16_t form) {
    // 1 for a pair (forms stay below 0xFD00), computed so that no compiler
    // turns it into a branch.
    const unsigned two = (form + 0xFF00u) >> 16;
    w[0] = static_cast<char>(form >> (8 * two));
    w[two] = static_cast<char>(form & 0xFF);
    return w + 1 + two;
}

// Linux input methods and UTF-8 Japanese text write seven characters with the
// JIS table's code points; Microsoft's table, and so cp932, has them under
// others. They are the same characters, so the JIS code points are taken as
// the cp932 forms in the same place (〜 ‖ − ¢ £ ¬ —).
inline constexpr std::array<char32_t, 7> kJisCodePoints = {0x301C, 0x2016, 0x2212, 0x00A2,
                                                           0x00A3, 0x00AC, 0x2014};
inline constexpr std::array<uint16_t, 7> kJisCp932Forms = {0x8160, 0x8161, 0x817C, 0x8191,
                                                           0x8192, 0x81CA, 0x815C};
// Which of the seven a cp932 form is, or -1.
constexpr int SevenIndex(uint16_t form) {
    for (size_t i = 0; i < kJisCp932Forms.size(); ++i) {
        if (kJisCp932Forms[i] == form) return static_cast<int>(i);
    }
    return -1;
}

// Bytes that are no cp932 character come out as U+FFFD, one per bad sequence.
std::string Cp932ToUtf8(std::string_view cp932);

struct Cp932Encoding {
    std::string bytes;                 // what could be encoded, in order
    std::vector<char32_t> unmappable;  // every character cp932 cannot hold, in order
    bool ok() const { return unmappable.empty(); }
};

// Never substitutes: characters without a cp932 form are left out of `bytes`
// and listed in `unmappable`. Malformed UTF-8 counts as U+FFFD, which cp932
// lacks. The seven JIS code points above are taken as their cp932 forms;
// every other character is kept only when its bytes decode back to it.
Cp932Encoding Utf8ToCp932(std::string_view utf8);

// For callers that must not lose anything: the bytes, or tabulon::Error naming
// the first character that cp932 cannot hold.
std::string Utf8ToCp932OrThrow(std::string_view utf8);

}  // namespace tabulon
