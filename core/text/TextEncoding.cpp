#include "text/TextEncoding.h"

#include <cstring>
#include <numeric>
#include <vector>

#include "text/ByteLanes.h"
#include "text/Cp932.h"
#include "text/InParallel.h"

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
    // On every core, each part counting its LFs and the CR LFs whose CR it
    // holds.
    const size_t parts = PartsFor(text.size());
    std::vector<size_t> feeds(parts);
    std::vector<size_t> pairs(parts);
    const char* const textEnd = text.data() + text.size();
    RunParts(parts, [&](size_t i) {
        const char* const begin = text.data() + PartBegin(text.size(), i, parts);
        const char* const end = text.data() + PartBegin(text.size(), i + 1, parts);
        const char* p = begin;
        pairs[i] = CountInLanes(
            p, end, [](ByteLanes here, ByteLanes next) { return (here == '\r') & (next == '\n'); });
        for (; p < end; ++p)
            pairs[i] += *p == '\r' && p + 1 < textEnd && p[1] == '\n';
        p = begin;
        feeds[i] = CountInLanes(p, end, [](ByteLanes here, ByteLanes) { return here == '\n'; });
        for (; p < end; ++p)
            feeds[i] += *p == '\n';
    });
    const size_t pairCount = std::accumulate(pairs.begin(), pairs.end(), size_t{0});
    const size_t loneCount = std::accumulate(feeds.begin(), feeds.end(), size_t{0}) - pairCount;
    return loneCount > pairCount ? LineEnd::Lf : LineEnd::CrLf;
}

}  // namespace tabulon
