#include "text/TextEncoding.h"

#include <cstring>
#include <tuple>
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

LineEndCounts CountLineEnds(std::string_view text, char before) {
    LineEndCounts counts;
    if (text.empty()) return counts;
    const char* const end = text.data() + text.size();
    const char* p = text.data();
    std::tie(counts.feeds, counts.pairs) = CountInLanes(
        p, end, [](ByteLanes here, ByteLanes) { return here == '\n'; },
        [](ByteLanes here, ByteLanes next) { return (here == '\r') & (next == '\n'); });
    counts.pairs += before == '\r' && text.front() == '\n';
    for (; p < end; ++p) {
        counts.feeds += *p == '\n';
        counts.pairs += *p == '\r' && p + 1 < end && p[1] == '\n';
    }
    return counts;
}

LineEnd DetectLineEnd(std::string_view text) {
    // On every core, each part counting its LFs and the CR LFs whose LF it holds.
    const size_t parts = PartsFor(text.size());
    std::vector<LineEndCounts> counts(parts);
    RunParts(parts, [&](size_t i) {
        const size_t begin = PartBegin(text.size(), i, parts);
        const size_t end = PartBegin(text.size(), i + 1, parts);
        counts[i] =
            CountLineEnds(text.substr(begin, end - begin), begin > 0 ? text[begin - 1] : '\0');
    });
    LineEndCounts all;
    for (const LineEndCounts& part : counts)
        all.Add(part);
    return all.Used();
}

}  // namespace tabulon
