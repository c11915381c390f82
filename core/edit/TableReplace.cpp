#include "edit/TableReplace.h"

#include "search/TextMatcher.h"
#include "text/LineBreaks.h"

namespace tabulon {

namespace {

// `replacement` has lost its line breaks already.
std::optional<std::string> Replace(TextMatcher& matcher, std::string_view text,
                                   std::string_view replacement) {
    const std::vector<TextSpan> spans = matcher.Occurrences(text);
    if (spans.empty()) {
        return std::nullopt;
    }
    std::string result;
    result.reserve(text.size() + spans.size() * replacement.size());
    size_t kept = 0;
    for (const TextSpan& span : spans) {
        result.append(text.substr(kept, span.begin - kept));
        result.append(replacement);
        kept = span.end;
    }
    result.append(text.substr(kept));
    return result;
}

void ReplaceCell(TableModel& model, CellPosition cell, TextMatcher& matcher,
                 std::string_view replacement, Replacements& done) {
    const std::string_view text = model.GetCell(cell.col, cell.row);
    std::optional<std::string> replaced = Replace(matcher, text, replacement);
    if (!replaced) {
        return;
    }
    std::string oldText(text);
    model.SetCell(cell.col, cell.row, *replaced);
    done.cells.push_back({cell, std::move(oldText)});
    if (cell.row == model.RowCount() - 1 && !model.GetCell(cell.col, cell.row).empty()) {
        model.SetRowCount(model.RowCount() + 1);
        done.rowAppended = true;
    }
}

}  // namespace

std::optional<std::string> ReplaceInText(std::string_view text, std::string_view search,
                                         std::string_view replacement, FindOptions options) {
    TextMatcher matcher(search, options);
    return Replace(matcher, text, RemoveLineBreaks(replacement));
}

Replacements ReplaceInCell(TableModel& model, CellPosition cell, std::string_view search,
                           std::string_view replacement, FindOptions options) {
    TextMatcher matcher(search, options);
    Replacements done;
    ReplaceCell(model, cell, matcher, RemoveLineBreaks(replacement), done);
    return done;
}

Replacements ReplaceAll(TableModel& model, CellPosition current, std::string_view search,
                        std::string_view replacement, FindScope place, FindDirection way,
                        FindOptions options) {
    const std::vector<CellPosition> hits =
        FindAllCells(model, current, search, place, way, options);
    const std::string typed = RemoveLineBreaks(replacement);
    TextMatcher matcher(search, options);
    Replacements done;
    done.cells.reserve(hits.size());
    for (const CellPosition& cell : hits) {
        ReplaceCell(model, cell, matcher, typed, done);
    }
    return done;
}

}  // namespace tabulon
