#include "text/TextEncoding.h"

#include <array>
#include <cstring>

namespace tabulon {

std::string_view EncodingDisplayName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::ShiftJis:
            return "Shift-JIS";
        case TextEncoding::Utf8:
            return "UTF-8";
        case TextEncoding::Utf8Bom:
            return "UTF-8 BOM";
        case TextEncoding::Utf16Le:
            return "UTF-16LE";
        case TextEncoding::Utf16Be:
            return "UTF-16BE";
    }
    return {};
}

std::string_view ByteOrderMark(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8Bom:
            return "\xEF\xBB\xBF";
        case TextEncoding::Utf16Le:
            return "\xFF\xFE";
        case TextEncoding::Utf16Be:
            return "\xFE\xFF";
        case TextEncoding::ShiftJis:
        case TextEncoding::Utf8:
            break;
    }
    return {};
}

namespace {

// Strict UTF-8 as a shift-based state machine: each state is a bit offset,
// and a byte's row holds, at each state's offset, the state that byte leads
// to. One load and one shift per byte, with no branch on the byte's kind.
enum Utf8State : unsigned {
    kAccept = 0,
    kReject = 6,
    kOneMore = 12,  // continuation bytes still wanted
    kTwoMore = 18,
    kThreeMore = 24,
    kAfterE0 = 30,  // A0-BF next: no overlong form
    kAfterED = 36,  // 80-9F next: no surrogate
    kAfterF0 = 42,  // 90-BF next: no overlong form
    kAfterF4 = 48,  // 80-8F next: nothing past U+10FFFF
};

// The state byte `b` leads to from `from`.
constexpr Utf8State Next(Utf8State from, unsigned b) {
    const bool tail = b >= 0x80 && b <= 0xBF;
    switch (from) {
        case kAccept:
            if (b < 0x80) return kAccept;
            if (b >= 0xC2 && b <= 0xDF) return kOneMore;
            if (b == 0xE0) return kAfterE0;
            if (b == 0xED) return kAfterED;
            if (b >= 0xE1 && b <= 0xEF) return kTwoMore;
            if (b == 0xF0) return kAfterF0;
            if (b >= 0xF1 && b <= 0xF3) return kThreeMore;
            if (b == 0xF4) return kAfterF4;
            return kReject;
        case kOneMore:
            return tail ? kAccept : kReject;
        case kTwoMore:
            return tail ? kOneMore : kReject;
        case kThreeMore:
            return tail ? kTwoMore : kReject;
        case kAfterE0:
            return b >= 0xA0 && b <= 0xBF ? kOneMore : kReject;
        case kAfterED:
            return b >= 0x80 && b <= 0x9F ? kOneMore : kReject;
        case kAfterF0:
            return b >= 0x90 && b <= 0xBF ? kTwoMore : kReject;
        case kAfterF4:
            return b >= 0x80 && b <= 0x8F ? kTwoMore : kReject;
        case kReject:
            break;
    }
    return kReject;
}

constexpr uint64_t Row(unsigned b) {
    uint64_t row = 0;
    for (Utf8State from : {kAccept, kReject, kOneMore, kTwoMore, kThreeMore, kAfterE0, kAfterED,
                           kAfterF0, kAfterF4}) {
        row |= uint64_t{Next(from, b)} << from;
    }
    return row;
}

constexpr std::array<uint64_t, 256> kUtf8Rows = [] {
    std::array<uint64_t, 256> rows{};
    for (unsigned b = 0; b < 256; ++b)
        rows[b] = Row(b);
    return rows;
}();

}  // namespace

TextEncoding DetectEncoding(std::string_view bytes) {
    for (TextEncoding marked :
         {TextEncoding::Utf8Bom, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        if (bytes.starts_with(ByteOrderMark(marked))) return marked;
    }
    if (const void* nul = std::memchr(bytes.data(), '\0', bytes.size())) {
        bytes = bytes.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - bytes.data()));
    }
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    uint64_t state = kAccept;
    unsigned high = 0;
    while (p < end) {
        // Most of a table is ASCII: eight bytes at a time between characters.
        uint64_t word = 0;
        if (end - p >= 8) std::memcpy(&word, p, 8);
        if (end - p >= 8 && (state & 63) == kAccept && (word & 0x8080808080808080u) == 0) {
            p += 8;
            continue;
        }
        // A block at a time, then a look whether it failed: a cp932 file with
        // Japanese text fails within its first characters.
        const auto* stop = end - p > 64 ? p + 64 : end;
        for (; p < stop; ++p) {
            high |= *p;
            state = kUtf8Rows[*p] >> (state & 63);
        }
        if ((state & 63) == kReject) return TextEncoding::ShiftJis;
    }
    return (state & 63) == kAccept && (high & 0x80) ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

}  // namespace tabulon
