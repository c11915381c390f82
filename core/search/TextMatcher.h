#pragma once
// The one test every search applies to a cell: the search text and the cell
// text, both folded under the same options, compared whole or for containment.
// Both compare whole characters: a match begins and ends on character
// boundaries of the folded cell, and its characters are those of the folded
// search text, so the bytes of a character never match across two others.

#include <string>
#include <string_view>
#include <vector>

#include "text/FindOptions.h"
#include "text/TextFold.h"

namespace tabulon {

// Bytes [begin, end) of a cell's own (unfolded) text.
struct TextSpan {
    size_t begin = 0;
    size_t end = 0;
    bool operator==(const TextSpan&) const = default;
};

// Folds the search text once and keeps its buffers, so a scan over many cells
// allocates nothing per cell.
class TextMatcher {
  public:
    TextMatcher(std::string_view search, FindOptions options);

    bool Matches(std::string_view cell);
    // False only if no text within `texts` can match: when bytes are compared
    // as they are, a match is a run of the search text's bytes.
    bool MayMatchWithin(std::string_view texts) const {
        return !options_.MatchCase || !options_.MatchWidth || search_.empty() ||
               texts.find(search_) != std::string_view::npos;
    }

    // Where the matches lie in `cell` itself, left to right, without overlaps:
    // with WholeCell the whole text (when it matches), otherwise every
    // occurrence. A span runs from the first byte of its first character to
    // the last byte of its last one, sound marks the fold joined to it
    // included, and takes in whatever folded to nothing between them.
    std::vector<TextSpan> Occurrences(std::string_view cell);

  private:
    // Marks in `starts_` where the characters of the folded `cell` begin.
    void MarkCharacterStarts(std::string_view cell);
    // Whether the folded search text found at `at` of the folded cell, whose
    // starts_ are marked, is made of the same characters.
    bool WholeCharactersAt(size_t at) const;

    FindOptions options_;
    std::string search_;              // folded
    std::vector<char> searchStarts_;  // 1 where a character of search_ begins, and at its end
    std::string buffer_;              // the folded cell
    std::string scratch_;             // the folded cell again, with its characters
    std::vector<FoldedCharacter> characters_;
    std::vector<char> starts_;  // as searchStarts_, for the folded cell
};

// An empty folded search text matches nothing, except an empty folded cell
// when WholeCell is on.
bool TextMatches(std::string_view search, std::string_view cell, FindOptions options);

}  // namespace tabulon
