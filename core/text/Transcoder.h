#pragma once
// Whole CSV and TSV texts between their file's encoding and the cp932 the
// model holds. Decoding works in place and leaves a mark where a character
// cp932 cannot hold stood, so that the question about them can come before
// anything is loaded; encoding writes the cp932 text back as the file had it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/Cp932.h"
#include "text/FormCounts.h"
#include "text/Progress.h"
#include "text/TextEncoding.h"
#include "text/Utf8Wide.h"

namespace tabulon {

class Transcoder {
  public:
    Transcoder();

    // Bytes that decoded text holds where the file had a character cp932
    // cannot hold (two), and where its bytes were no character (one per
    // byte). cp932 text from characters never holds 0xFE or 0xFF.
    static constexpr std::string_view kUnheldMark = "\xFF\xFF";
    static constexpr char kUnreadableMark = '\xFE';
    // cp932 for 〓, which takes each unheld character's place when asked.
    static constexpr std::string_view kReplacement = "\x81\xAC";

    struct Decoded {
        size_t size = 0;               // cp932 bytes now at the start of the buffer
        std::vector<char32_t> unheld;  // the characters behind the unheld marks, in order
        bool unreadable = false;       // the text holds at least one unreadable mark
        uint8_t microsoftForms = 0;    // as FileEncoding::microsoftForms
    };

    // Turns the text of a `from` file (its mark, if any, included) at `data`
    // into cp932 in place, up to its first NUL character: never longer than it
    // was, so the buffer stays as it is. `data[size]` must be writable; it ends
    // the text with a NUL. `progress` follows the bytes read.
    Decoded Decode(char* data, size_t size, TextEncoding from, const Progress& progress = {}) const;

    // Stretches of one text decoded at once, each on its own: where its cp932
    // lies, and what its decoding met (all but microsoftForms).
    struct Piece {
        Decoded decoded;
        FormCounts counts;
        char* begin = nullptr;
        char* end = nullptr;
    };
    // Moves the pieces' cp932 together from `data` on, in order, ends it with a
    // NUL, and gathers what their decoding met.
    static Decoded Join(char* data, std::span<const Piece> pieces);

    // Decodes `from`, whole UTF-8 characters, into cp932 at `to`, which has
    // room for as many bytes as `from` holds and may be `from.data()`, up to
    // its first NUL character; adds what it meets to `result` (all but
    // microsoftForms) and `counts`. Returns where it stopped writing and
    // reading: short of the end at a NUL.
    Decoding DecodeUtf8Into(std::string_view from, char* to, Decoded& result,
                            FormCounts& counts) const;

    // Appends cp932 text in `to`'s encoding, without its mark. Bytes that are
    // no cp932 character become U+FFFD, as they are shown.
    void Encode(std::string_view cp932, const FileEncoding& to, std::string& out) const;

  private:
    const Cp932Tables& tables_;
};

}  // namespace tabulon
