#include "text/TextEncoding.h"

#include <cstring>

#include "text/ByteLanes.h"
#include "text/Cp932.h"

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
    return CheckUtf8(bytes) == Utf8Check::NonAscii ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

LineEnd DetectLineEnd(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    size_t pairs = CountInLanes(
        p, end, [](ByteLanes here, ByteLanes next) { return (here == '\r') & (next == '\n'); });
    const char* q = text.data();
    size_t feeds = CountInLanes(q, end, [](ByteLanes here, ByteLanes) { return here == '\n'; });
    for (; p < end; ++p)
        pairs += *p == '\r' && p + 1 < end && p[1] == '\n';
    for (; q < end; ++q)
        feeds += *q == '\n';
    return feeds - pairs > pairs ? LineEnd::Lf : LineEnd::CrLf;
}

}  // namespace tabulon
