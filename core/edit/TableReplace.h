#pragma once
// Find and replace: the search's own matching (whole characters, folded by
// the options) decides what is replaced; the replacement goes in as typed,
// unfolded, with line breaks removed, as typing does.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/TextList.h"
#include "search/TableSearch.h"
#include "table/CellPosition.h"
#include "table/TableModel.h"
#include "text/FindOptions.h"

namespace tabulon {

// The text with its matches replaced, or nothing when it does not match.
// WholeCell off: every occurrence, left to right, without overlaps (see
// TextMatcher::Occurrences for what an occurrence covers); WholeCell on: the
// whole text. `replacement` is cp932 and goes in without its line breaks.
std::optional<std::string> ReplaceInText(std::string_view text, std::string_view search,
                                         std::string_view replacement, FindOptions options);

// What a replacement did, all an undo step needs: the cells in scan order
// with their texts on either side, and whether the table grew by a row.
struct Replacements {
    std::vector<CellPosition> cells;
    TextList oldTexts;
    TextList newTexts;
    // Text went into the last row, so an empty last row was appended, as
    // typing does; undo removes it again.
    bool rowAppended = false;

    int Count() const { return static_cast<int>(cells.size()); }
    // The cell to make current afterwards: the last one replaced.
    std::optional<CellPosition> LastCell() const {
        return cells.empty() ? std::nullopt : std::optional(cells.back());
    }
};

// Both are all or nothing: every new text is made before the table changes,
// and a failure while they go in (std::bad_alloc) puts back what was there,
// so the table is either wholly replaced or as it was.

// Replaces in one cell (inside the table) when it matches; nothing happens
// otherwise.
Replacements ReplaceInCell(TableModel& model, CellPosition cell, std::string_view search,
                           std::string_view replacement, FindOptions options);

// Replaces in every cell that find all (FindAllCells) lists for the same
// arguments: the whole table, or the whole current row or column. The current
// cell stays; the caller moves it to LastCell() when Count() is not 0.
Replacements ReplaceAll(TableModel& model, CellPosition current, std::string_view search,
                        std::string_view replacement, FindScope place, FindDirection way,
                        FindOptions options, const RecordFilter* shown = nullptr);
// The same in two halves: what it would replace, the table only read, then
// the replacing, all or nothing.
Replacements PlanReplaceAll(const TableModel& model, CellPosition current, std::string_view search,
                            std::string_view replacement, FindScope place, FindDirection way,
                            FindOptions options, const RecordFilter* shown = nullptr);
void ApplyReplacements(TableModel& model, const Replacements& plan);

}  // namespace tabulon
