#pragma once
// Bringing a cp932 text into the form in which searches compare it: lower-cased
// unless case matters, and half-width characters widened to their full-width
// partners unless width matters. The cell itself is never changed.

#include <string>
#include <string_view>
#include <vector>

#include "text/FindOptions.h"

namespace tabulon {

// Lower-cases (MatchCase off: ASCII, full-width Latin, Greek and Cyrillic
// capitals), then widens (MatchWidth off: HalfToFull).
std::string FoldText(std::string_view text, FindOptions options);

// The same fold without allocating once `buffer` is large enough: the result
// lies in `buffer` (whose size may exceed it), or is `text` itself when the
// options fold nothing; it stays valid until the next call with that buffer.
std::string_view FoldTextInto(std::string_view text, FindOptions options, std::string& buffer);

// One character of a folded text and the bytes of the original text it came
// from. A sound mark that the fold consumed belongs to the character before
// it; a character that folds to nothing (a half-width key before a mark it
// does not combine with) has no entry.
struct FoldedCharacter {
    size_t begin;        // in the folded text; it ends where the next one begins
    size_t sourceBegin;  // in the original text
    size_t sourceEnd;
};

// The same fold, listing the characters of the result in order. Slower than
// FoldTextInto; for the few texts whose characters must be told apart.
std::string_view FoldCharacters(std::string_view text, FindOptions options, std::string& buffer,
                                std::vector<FoldedCharacter>& characters);

// Every half-width key of the fold table becomes its full-width partner; a
// half-width kana followed by a sound mark becomes one voiced kana, or nothing
// when the two do not combine. The marks themselves are always consumed.
std::string HalfToFull(std::string_view text);

// The full-width voiced ("ﾞ", 0xDE) or semi-voiced ("ﾟ", 0xDF) katakana for a
// half-width katakana and a mark; empty when they do not combine.
std::string_view VoicedKana(char kana, char mark);

}  // namespace tabulon
