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

// How a document's file is written. Seven characters have two Unicode forms
// that cp932 keeps as one (see Cp932.h); `jisForms` has bit i set when the
// file spelled the i-th of them (in the order U+301C, U+2016, U+2212, U+00A2,
// U+00A3, U+00AC, U+2014) with the JIS code point rather than Microsoft's, so
// that a Unicode file comes back with the forms it had.
struct FileEncoding {
    TextEncoding encoding = TextEncoding::ShiftJis;
    uint8_t jisForms = 0;
    bool operator==(const FileEncoding&) const = default;
};

}  // namespace tabulon
