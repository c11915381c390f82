// Any two texts and options through the fold and the matcher: folding never
// grows a text beyond twice its length, folding is the same through the
// reusable buffer and with its characters listed, a text always contains
// itself, and replacing finds exactly what matches.

#include "FuzzSupport.h"
#include "edit/TableReplace.h"
#include "search/TextMatcher.h"
#include "text/TextFold.h"

using namespace tabulon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const FindOptions options{(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0};
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t split = rest.find('\t');
    const std::string_view search = rest.substr(0, split);
    const std::string_view cell = split == std::string_view::npos ? "" : rest.substr(split + 1);

    for (std::string_view text : {search, cell}) {
        const std::string folded = FoldText(text, options);
        fuzz::Check(folded.size() <= 2 * text.size(), "folding at most doubles a text");
        std::string buffer;
        fuzz::Check(FoldTextInto(text, options, buffer) == folded, "both folds agree");
        std::string scratch;
        std::vector<FoldedCharacter> characters;
        fuzz::Check(FoldCharacters(text, options, scratch, characters) == folded,
                    "the fold with characters agrees");
        fuzz::Check(HalfToFull(text).size() <= 2 * text.size(), "widening at most doubles");
    }
    const bool matches = TextMatches(search, cell, options);
    TextMatcher matcher(search, options);
    fuzz::Check(matcher.Matches(cell) == matches, "matcher and TextMatches agree");
    fuzz::Check(ReplaceInText(cell, search, "x", options).has_value() == matches,
                "replacing finds what matches");
    if (!FoldText(cell, options).empty()) {
        fuzz::Check(TextMatches(cell, cell, options), "a text matches itself");
    }
    return 0;
}
