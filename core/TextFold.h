#pragma once
// Bringing a cp932 text into the form in which searches compare it: lower-cased
// unless case matters, and half-width characters widened to their full-width
// partners unless width matters. The cell itself is never changed.

#include <string>
#include <string_view>

#include "FindOptions.h"

namespace tabulon {

// Lower-cases (MatchCase off: ASCII, full-width Latin, Greek and Cyrillic
// capitals), then widens (MatchWidth off: HalfToFull).
std::string FoldText(std::string_view text, FindOptions options);

// The same fold without allocating once `buffer` is large enough: the result
// lies in `buffer` (whose size may exceed it), or is `text` itself when the
// options fold nothing; it stays valid until the next call with that buffer.
std::string_view FoldTextInto(std::string_view text, FindOptions options, std::string& buffer);

// Every half-width key of the fold table becomes its full-width partner; a
// half-width kana followed by a sound mark becomes one voiced kana, or nothing
// when the two do not combine. The marks themselves are always consumed.
std::string HalfToFull(std::string_view text);

// The full-width voiced ("ﾞ", 0xDE) or semi-voiced ("ﾟ", 0xDF) katakana for a
// half-width katakana and a mark; empty when they do not combine.
std::string_view VoicedKana(char kana, char mark);

}  // namespace tabulon
