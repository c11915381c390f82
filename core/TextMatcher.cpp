#include "TextMatcher.h"

#include "TextFold.h"

namespace tabulon {

TextMatcher::TextMatcher(std::string_view search, FindOptions options)
    : options_(options), search_(FoldText(search, options)) {}

bool TextMatcher::Matches(std::string_view cell) {
    const std::string_view folded = FoldTextInto(cell, options_, buffer_);
    if (options_.WholeCell) {
        return folded == search_;
    }
    return !search_.empty() && folded.find(search_) != std::string_view::npos;
}

bool TextMatches(std::string_view search, std::string_view cell, FindOptions options) {
    return TextMatcher(search, options).Matches(cell);
}

}  // namespace tabulon
