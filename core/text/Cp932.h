#pragma once
// The one place where table text (cp932 bytes) meets Unicode (UTF-8): showing
// a cell, taking typed text, printing on the command line, building a message.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

// Bytes that are no cp932 character come out as U+FFFD, one per bad sequence.
std::string Cp932ToUtf8(std::string_view cp932);

struct Cp932Encoding {
    std::string bytes;                 // what could be encoded, in order
    std::vector<char32_t> unmappable;  // every character cp932 cannot hold, in order
    bool ok() const { return unmappable.empty(); }
};

// Never substitutes: characters without a cp932 form are left out of `bytes`
// and listed in `unmappable`. Malformed UTF-8 counts as U+FFFD, which cp932 lacks.
// The seven code points that Linux writes for cp932 characters of Microsoft's
// table (U+301C, U+2016, U+2212, U+00A2, U+00A3, U+00AC, U+2014) are taken as
// those characters (0x8160, 0x8161, 0x817C, 0x8191, 0x8192, 0x81CA, 0x815C);
// every other character is kept only when its bytes decode back to it.
Cp932Encoding Utf8ToCp932(std::string_view utf8);

// For callers that must not lose anything: the bytes, or tabulon::Error naming
// the first character that cp932 cannot hold.
std::string Utf8ToCp932OrThrow(std::string_view utf8);

// The codec as two tables, for converting whole files at memory speed. They
// agree with Cp932ToUtf8 and Utf8ToCp932 character for character.
struct Cp932Tables {
    // Indexed by a byte (below 0x100) or a lead and trail byte pair (lead << 8
    // | trail): the UTF-16 character they decode to, U+FFFD for an unassigned
    // pair, 0 for a pair that is no one character (its lead stands alone).
    std::vector<char16_t> toUnicode;
    // Indexed by a BMP code point: the cp932 form, a byte (below 0x100; ASCII
    // is itself) or a pair (lead << 8 | trail); 0 for none, and for U+0000.
    // The seven code points above map to their Microsoft forms; no form ever
    // holds a byte above 0xFC.
    std::vector<uint16_t> fromUnicode;
};
// Built from the converter on first use (a few milliseconds), then shared:
// they are constants of the codec.
const Cp932Tables& Cp932TablesOnce();

// Lead bytes of cp932 double-byte characters: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Bytes that may follow a lead byte: 0x40-0x7E and 0x80-0xFC.
constexpr bool IsCp932TrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

}  // namespace tabulon
