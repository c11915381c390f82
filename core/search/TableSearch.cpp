#include "search/TableSearch.h"

#include <algorithm>

#include "search/TextMatcher.h"
#include "text/InParallel.h"

namespace tabulon {

namespace {

// Tests, in scan order, the cells of the scope that come after `after`, and
// hands each match to `onMatch`, which returns true to stop. Find all uses the
// same order from a start just before the scope.
template <typename OnMatch>
void ScanAfter(const TableModel& model, CellPosition after, FindScope place, FindDirection way,
               const RecordFilter* shown, TextMatcher& matcher, OnMatch&& onMatch) {
    const int cols = model.ColCount();
    const int rows = model.RowCount();
    const auto scanColumn = [&](int col, int firstRow) {
        for (int row = NextRow(shown, firstRow - 1); row < rows; row = NextRow(shown, row)) {
            if (matcher.Matches(model.GetCell(col, row)) && onMatch(CellPosition{col, row})) {
                return true;
            }
        }
        return false;
    };
    if (place == FindScope::Whole) {
        if (scanColumn(after.col, after.row + 1)) {
            return;
        }
        for (int col = after.col + 1; col < cols; ++col) {
            if (scanColumn(col, 1)) {
                return;
            }
        }
    } else if (way == FindDirection::Row) {
        for (int col = after.col + 1; col < cols; ++col) {
            if (matcher.Matches(model.GetCell(col, after.row)) &&
                onMatch(CellPosition{col, after.row})) {
                return;
            }
        }
    } else {
        scanColumn(after.col, after.row + 1);
    }
}

// Every match in the whole table, in scan order. The records are read row by
// row, where each keeps its texts together, a stretch of them on each core;
// the matches are then put in column order.
std::vector<CellPosition> FindEverywhere(const TableModel& model, std::string_view search,
                                         FindOptions options, const RecordFilter* shown) {
    const int cols = model.ColCount();
    const int records = std::max(model.RowCount() - 1, 0);
    const size_t parts = PartsFor(static_cast<size_t>(records) * static_cast<size_t>(cols) * 8);
    std::vector<std::vector<CellPosition>> found(parts);
    RunParts(parts, [&](size_t part) {
        TextMatcher matcher(search, options);
        const auto stretch = [&](size_t i) {
            return 1 + static_cast<int>(PartBegin(static_cast<size_t>(records), i, parts));
        };
        const int end = stretch(part + 1);
        for (int row = NextRow(shown, stretch(part) - 1); row < end; row = NextRow(shown, row)) {
            if (!matcher.MayMatchWithin(model.RowTexts(row))) continue;
            for (int col = 1; col < cols; ++col) {
                if (matcher.Matches(model.GetCell(col, row))) found[part].push_back({col, row});
            }
        }
    });
    std::vector<CellPosition> hits;
    for (const std::vector<CellPosition>& some : found)
        hits.insert(hits.end(), some.begin(), some.end());
    std::ranges::stable_sort(hits, {}, &CellPosition::col);
    return hits;
}

}  // namespace

std::optional<CellPosition> FindNextCell(const TableModel& model, CellPosition current,
                                         std::string_view search, FindScope place,
                                         FindDirection way, FindOptions options,
                                         const RecordFilter* shown) {
    TextMatcher matcher(search, options);
    std::optional<CellPosition> found;
    ScanAfter(model, current, place, way, shown, matcher, [&](CellPosition cell) {
        found = cell;
        return true;
    });
    return found;
}

std::vector<CellPosition> FindAllCells(const TableModel& model, CellPosition current,
                                       std::string_view search, FindScope place, FindDirection way,
                                       FindOptions options, const RecordFilter* shown) {
    if (place == FindScope::Whole) return FindEverywhere(model, search, options, shown);
    // Just before the first cell of the scope, so that it is tested too.
    const CellPosition start =
        way == FindDirection::Row ? CellPosition{0, current.row} : CellPosition{current.col, 0};
    TextMatcher matcher(search, options);
    std::vector<CellPosition> hits;
    ScanAfter(model, start, place, way, shown, matcher, [&](CellPosition cell) {
        hits.push_back(cell);
        return false;
    });
    return hits;
}

std::vector<int> FindRecordsByItem(const TableModel& model, ItemIndex item, std::string_view search,
                                   FindOptions options, const RecordFilter* shown) {
    // An item beyond the table (columns deleted since the item list was
    // filled) reads as empty cells; so does a negative one, never column 0.
    const bool inside = item.value >= 0 && item.Column() < model.ColCount();
    TextMatcher matcher(search, options);
    std::vector<int> rows;
    for (int row = NextRow(shown, 0); row < model.RowCount(); row = NextRow(shown, row)) {
        if (matcher.Matches(inside ? model.GetCell(item.Column(), row) : std::string_view())) {
            rows.push_back(row);
        }
    }
    return rows;
}

}  // namespace tabulon
