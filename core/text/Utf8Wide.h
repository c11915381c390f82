#pragma once
// UTF-8 checked and decoded with the vector instructions of processors that
// have them (AVX-512 with byte compression), 64 bytes at a time, or to cp932
// sixteen characters at a time. Japanese
// text mixes ASCII, kana and kanji at random, which leaves a branch on each
// character's kind nothing to predict; a block of sixteen here costs the same
// whatever its mix.

#include <atomic>
#include <cstdint>
#include <string_view>

#include "text/Cp932.h"

namespace tabulon {

struct FormCounts;

// Whether this processor can run the two below.
bool HasWideUtf8();

// Where a decoder stopped: the next byte to write and the next to read, which
// is short of the end where the text had a NUL character.
struct Decoding {
    char* w;
    const unsigned char* r;
};

// Decodes from `r` while 64 bytes remain before `end`, writing at `w` (which
// may be `r`, never ahead of it) and counting the seven into `counts`. Stops
// before the first sixteen characters it cannot take whole, for the caller's
// careful way: NUL, bytes that are no character, four-byte characters and
// characters without a cp932 form. `fromUnicode` is Cp932Tables'.
Decoding DecodeUtf8Wide(const unsigned char* r, const unsigned char* end, char* w,
                        const uint16_t* fromUnicode, FormCounts& counts);

// CheckUtf8 for a text that begins where a character does; gives up early
// (as invalid) once `giveUp` is set.
Utf8Check CheckUtf8Wide(std::string_view text, const std::atomic<bool>& giveUp);

}  // namespace tabulon
