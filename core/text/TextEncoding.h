#pragma once
// The encodings a CSV or TSV file may come in, how one is recognised from the
// file's bytes, and what a document remembers of its file's encoding so that
// Save writes the file back the way it came. Table files (tbn) are always
// cp932, and so is the text the model holds whatever the file was.

#include <cstdint>
#include <string_view>

namespace tabulon {

enum class TextEncoding { ShiftJis, Utf8, Utf8Bom, Utf16Le, Utf16Be };

// What the status bar shows: "Shift-JIS", "UTF-8", "UTF-8 BOM", "UTF-16LE", "UTF-16BE".
std::string_view EncodingDisplayName(TextEncoding encoding);
// The byte-order mark a file of this encoding starts with; empty for none.
std::string_view ByteOrderMark(TextEncoding encoding);
constexpr bool IsUnicode(TextEncoding encoding) {
    return encoding != TextEncoding::ShiftJis;
}

// A mark decides: UTF-8, UTF-16LE or UTF-16BE. Without one, text (up to its
// first NUL) that is valid UTF-8 and holds at least one multi-byte sequence is
// UTF-8; anything else is cp932, ASCII-only text included, since its bytes
// mean the same either way.
TextEncoding DetectEncoding(std::string_view bytes);

enum class LineEnd { CrLf, Lf };

// How a document's file is written, so that Save gives back what the user
// opened. Seven characters have two Unicode forms that cp932 keeps as one
// (see Cp932.h): `microsoftForms` has bit i set when the file spelled the
// i-th of them (in the order U+301C, U+2016, U+2212, U+00A2, U+00A3, U+00AC,
// U+2014) mostly with Microsoft's code point; any other, and every one in a
// file that never showed it, is written with the JIS code point Linux
// programs use. A Unicode file's line ends are those it mostly had; cp932
// files always end their lines in CR LF.
struct FileEncoding {
    TextEncoding encoding = TextEncoding::ShiftJis;
    uint8_t microsoftForms = 0;
    LineEnd lineEnd = LineEnd::CrLf;
    bool operator==(const FileEncoding&) const = default;
};

// The line end that text uses most: LF when lone LFs outnumber CR LF pairs.
LineEnd DetectLineEnd(std::string_view text);

// The LFs of a text and the CR LF pairs among them, which tell which line end
// the text uses most.
struct LineEndCounts {
    size_t feeds = 0;
    size_t pairs = 0;
    void Add(const LineEndCounts& other) {
        feeds += other.feeds;
        pairs += other.pairs;
    }
    LineEnd Used() const { return feeds - pairs > pairs ? LineEnd::Lf : LineEnd::CrLf; }
};
// Those of `text`, where the byte before it was `before`: a CR there makes a
// pair with an LF the text begins with.
LineEndCounts CountLineEnds(std::string_view text, char before);

}  // namespace tabulon
