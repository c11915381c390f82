#pragma once
// The one test every search applies to a cell: the search text and the cell
// text, both folded under the same options, compared whole or for containment.
// Containment is on bytes, so a match may begin on a trail byte.

#include <string>
#include <string_view>

#include "FindOptions.h"

namespace tabulon {

// Folds the search text once and keeps one buffer for the cells, so a scan
// over many cells allocates nothing per cell.
class TextMatcher {
  public:
    TextMatcher(std::string_view search, FindOptions options);

    bool Matches(std::string_view cell);

  private:
    FindOptions options_;
    std::string search_;  // folded
    std::string buffer_;  // the folded cell
};

// An empty folded search text matches nothing, except an empty folded cell
// when WholeCell is on.
bool TextMatches(std::string_view search, std::string_view cell, FindOptions options);

}  // namespace tabulon
