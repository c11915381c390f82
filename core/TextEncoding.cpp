#include "TextEncoding.h"

#include <cstring>

#include "Utf8Sequence.h"

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

TextEncoding DetectEncoding(std::string_view bytes) {
    for (TextEncoding marked :
         {TextEncoding::Utf8Bom, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        if (bytes.starts_with(ByteOrderMark(marked))) return marked;
    }
    if (const void* nul = std::memchr(bytes.data(), '\0', bytes.size())) {
        bytes = bytes.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - bytes.data()));
    }
    // Most of a table is ASCII: eight bytes at a time while none has its high
    // bit set. A cp932 file with Japanese text fails at its first character.
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    bool multiByte = false;
    while (p < end) {
        if (end - p >= 8) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080u) == 0) {
                p += 8;
                continue;
            }
        }
        if (*p < 0x80) {
            ++p;
            continue;
        }
        char32_t c;
        const size_t length = ReadUtf8Sequence(p, end, c);
        if (length == 0) return TextEncoding::ShiftJis;
        multiByte = true;
        p += length;
    }
    return multiByte ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

}  // namespace tabulon
