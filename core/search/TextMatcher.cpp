#include "search/TextMatcher.h"

namespace tabulon {

namespace {

// 1 at the first byte of every character and at the end of the text.
void MarkStarts(const std::vector<FoldedCharacter>& characters, size_t size,
                std::vector<char>& starts) {
    starts.assign(size + 1, 0);
    for (const FoldedCharacter& c : characters) {
        starts[c.begin] = 1;
    }
    starts[size] = 1;
}

}  // namespace

TextMatcher::TextMatcher(std::string_view search, FindOptions options) : options_(options) {
    search_ = FoldCharacters(search, options, scratch_, characters_);
    MarkStarts(characters_, search_.size(), searchStarts_);
}

void TextMatcher::MarkCharacterStarts(std::string_view cell) {
    const size_t size = FoldCharacters(cell, options_, scratch_, characters_).size();
    MarkStarts(characters_, size, starts_);
}

bool TextMatcher::WholeCharactersAt(size_t at) const {
    for (size_t k = 0; k < searchStarts_.size(); ++k) {
        if (starts_[at + k] != searchStarts_[k]) {
            return false;
        }
    }
    return true;
}

bool TextMatcher::Matches(std::string_view cell) {
    // The byte comparison decides almost every cell; only a cell whose bytes
    // do hold the search text is folded again to see its characters.
    const std::string_view folded = FoldTextInto(cell, options_, buffer_);
    if (options_.WholeCell) {
        if (folded != search_) {
            return false;
        }
        MarkCharacterStarts(cell);
        return WholeCharactersAt(0);
    }
    if (search_.empty()) {
        return false;
    }
    size_t at = folded.find(search_);
    if (at == std::string_view::npos) {
        return false;
    }
    MarkCharacterStarts(cell);
    for (; at != std::string_view::npos; at = folded.find(search_, at + 1)) {
        if (WholeCharactersAt(at)) {
            return true;
        }
    }
    return false;
}

std::vector<TextSpan> TextMatcher::Occurrences(std::string_view cell) {
    std::vector<TextSpan> spans;
    if (!Matches(cell)) {
        return spans;
    }
    if (options_.WholeCell) {
        spans.push_back({0, cell.size()});
        return spans;
    }
    // Matches left the cell's characters in characters_ and starts_.
    const std::string_view folded(scratch_.data(), starts_.size() - 1);
    std::vector<size_t> characterAt(folded.size(), 0);
    for (size_t k = 0; k < characters_.size(); ++k) {
        characterAt[characters_[k].begin] = k;
    }
    size_t at = folded.find(search_);
    while (at != std::string_view::npos) {
        if (!WholeCharactersAt(at)) {
            at = folded.find(search_, at + 1);
            continue;
        }
        const FoldedCharacter& first = characters_[characterAt[at]];
        // The last character is the one before the boundary that ends the match.
        const size_t end = at + search_.size();
        size_t lastIndex = characterAt[at];
        while (lastIndex + 1 < characters_.size() && characters_[lastIndex + 1].begin < end) {
            ++lastIndex;
        }
        spans.push_back({first.sourceBegin, characters_[lastIndex].sourceEnd});
        at = folded.find(search_, end);
    }
    return spans;
}

bool TextMatches(std::string_view search, std::string_view cell, FindOptions options) {
    return TextMatcher(search, options).Matches(cell);
}

}  // namespace tabulon
