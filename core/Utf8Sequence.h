#pragma once
// One UTF-8 sequence read strictly: no overlong forms, no surrogates, nothing
// past U+10FFFF. Shared by the encoding detection and the file converter so
// that both take the same bytes for UTF-8.

#include <cstddef>

namespace tabulon {

// The length of the sequence that starts at `p` (a byte of 0x80 or more, before
// `end`) with its code point in `c`, or 0 when the bytes there are no character.
inline size_t ReadUtf8Sequence(const unsigned char* p, const unsigned char* end, char32_t& c) {
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

}  // namespace tabulon
