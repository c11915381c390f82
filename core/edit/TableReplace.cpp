#include "edit/TableReplace.h"

#include <algorithm>

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

// Adds what replacing in the cell would give to `plan`; the table is only read.
void PlanCell(const TableModel& model, CellPosition cell, TextMatcher& matcher,
              std::string_view replacement, Replacements& plan) {
    const std::string_view text = model.GetCell(cell.col, cell.row);
    std::optional<std::string> replaced = Replace(matcher, text, replacement);
    if (!replaced) {
        return;
    }
    // Text going into the last row appends the next empty one, as typing does.
    if (cell.row == model.RowCount() - 1 && !replaced->empty()) {
        plan.rowAppended = true;
    }
    plan.cells.push_back(cell);
    plan.oldTexts.push_back(text);
    plan.newTexts.push_back(*replaced);
}

}  // namespace

void ApplyReplacements(TableModel& model, const Replacements& plan) {
    const int rows = model.RowCount();
    size_t done = 0;
    try {
        for (; done < plan.cells.size(); ++done) {
            const CellPosition cell = plan.cells[done];
            model.SetCell(cell.col, cell.row, plan.newTexts[done]);
        }
        if (plan.rowAppended) {
            model.SetRowCount(rows + 1);
        }
    } catch (...) {
        model.SetRowCount(rows);
        // The cell that failed may hold its new text already: the views hear
        // of a change after it is made.
        for (size_t i = std::min(done + 1, plan.cells.size()); i-- > 0;) {
            model.SetCell(plan.cells[i].col, plan.cells[i].row, plan.oldTexts[i]);
        }
        throw;
    }
}

std::optional<std::string> ReplaceInText(std::string_view text, std::string_view search,
                                         std::string_view replacement, FindOptions options) {
    TextMatcher matcher(search, options);
    return Replace(matcher, text, RemoveLineBreaks(replacement));
}

Replacements ReplaceInCell(TableModel& model, CellPosition cell, std::string_view search,
                           std::string_view replacement, FindOptions options) {
    TextMatcher matcher(search, options);
    Replacements plan;
    PlanCell(model, cell, matcher, RemoveLineBreaks(replacement), plan);
    ApplyReplacements(model, plan);
    return plan;
}

Replacements ReplaceAll(TableModel& model, CellPosition current, std::string_view search,
                        std::string_view replacement, FindScope place, FindDirection way,
                        FindOptions options, const RecordFilter* shown) {
    Replacements plan =
        PlanReplaceAll(model, current, search, replacement, place, way, options, shown);
    ApplyReplacements(model, plan);
    return plan;
}

Replacements PlanReplaceAll(const TableModel& model, CellPosition current, std::string_view search,
                            std::string_view replacement, FindScope place, FindDirection way,
                            FindOptions options, const RecordFilter* shown) {
    const std::vector<CellPosition> hits =
        FindAllCells(model, current, search, place, way, options, shown);
    const std::string typed = RemoveLineBreaks(replacement);
    TextMatcher matcher(search, options);
    Replacements plan;
    plan.cells.reserve(hits.size());
    for (const CellPosition& cell : hits) {
        PlanCell(model, cell, matcher, typed, plan);
    }
    return plan;
}

}  // namespace tabulon
