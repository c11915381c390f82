#include "edit/ItemNames.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "text/LineBreaks.h"

namespace tabulon {

namespace {

// The run of names in the entries: line breaks removed, up to the first empty one.
std::vector<std::string> NamesOf(const std::vector<std::string>& entries) {
    std::vector<std::string> names;
    for (const std::string& entry : entries) {
        std::string name = RemoveLineBreaks(entry);
        if (name.empty()) {
            break;
        }
        names.push_back(std::move(name));
    }
    return names;
}

int ColumnsKept(const std::vector<std::string>& names) {
    return std::max(2, static_cast<int>(names.size()) + 1);
}

bool HoldsText(const TableModel& model, int col) {
    for (int r = 0; r < model.RowCount(); ++r) {
        if (!model.GetCell(col, r).empty()) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> ItemNames(const TableModel& model) {
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(model.ColCount() - 1));
    for (int c = 1; c < model.ColCount(); ++c) {
        names.emplace_back(model.GetCell(c, 0));
    }
    return names;
}

std::vector<RemovedColumn> ApplyNameList(TableModel& model,
                                         const std::vector<std::string>& entries) {
    const std::vector<std::string> names = NamesOf(entries);
    const int count = static_cast<int>(names.size());
    const int cols = ColumnsKept(names);
    std::vector<RemovedColumn> dropped;
    for (int c = cols; c < model.ColCount(); ++c) {
        dropped.push_back({model.GetColTexts(c), model.GetColWidth(c)});
    }
    model.SetColCount(cols);
    const std::vector<std::string_view> row(names.begin(), names.begin() + count);
    model.SetRowCells(0, 1, row);  // the names' record packed once
    return dropped;
}

int DroppedColumnsWithText(const TableModel& model, const std::vector<std::string>& entries) {
    int count = 0;
    for (int c = ColumnsKept(NamesOf(entries)); c < model.ColCount(); ++c) {
        count += HoldsText(model, c) ? 1 : 0;
    }
    return count;
}

}  // namespace tabulon
