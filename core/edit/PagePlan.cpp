#include "edit/PagePlan.h"

#include <algorithm>
#include <numeric>

namespace tabulon {

std::vector<int> PrintedRecords(const TableModel& model, const RecordFilter* shown, int firstRow,
                                int lastRow) {
    std::vector<int> records;
    lastRow = std::min(lastRow, model.RowCount() - 2);
    for (int r = shown != nullptr ? shown->NextShown(firstRow - 1) : firstRow; r <= lastRow;
         r = NextRow(shown, r)) {
        records.push_back(r);
    }
    return records;
}

TablePagePlan::TablePagePlan(const TablePageInput& input)
    : records_(input.records), columnEnd_(static_cast<int>(input.widths.size())) {
    const double total = std::accumulate(input.widths.begin(), input.widths.end(), 0.0);
    if (total > input.pageWidth) {
        scale_ = std::max(input.pageWidth / total, std::min(input.minScale, 1.0));
    }
    // Parts at this scale: each column starts one when it would cross the page's edge.
    const double room = input.pageWidth / scale_;
    double used = 0;
    for (int c = 0; c < columnEnd_; ++c) {
        const double width = input.widths[static_cast<size_t>(c)];
        if (parts_.empty() || used + width > room) {
            parts_.push_back(c);
            used = 0;
        }
        used += width;
    }
    if (parts_.empty()) {
        parts_.push_back(0);
    }
    const int rows = static_cast<int>(input.pageHeight / scale_ / input.rowHeight);
    perPage_ = std::max(rows - 1, 1);
    blocks_ = std::max((records_ + perPage_ - 1) / perPage_, 1);
}

TablePage TablePagePlan::PageAt(int page) const {
    const int partCount = static_cast<int>(parts_.size());
    const int part = page % partCount;
    TablePage at;
    at.firstRecord = page / partCount * perPage_;
    at.recordCount = std::clamp(records_ - at.firstRecord, 0, perPage_);
    at.columnBegin = parts_[static_cast<size_t>(part)];
    at.columnEnd = part + 1 < partCount ? parts_[static_cast<size_t>(part) + 1] : columnEnd_;
    return at;
}

std::vector<int> PlanCardPages(const std::vector<double>& heights, double pageHeight, double gap) {
    std::vector<int> starts{0};
    double used = 0;
    for (size_t i = 0; i < heights.size(); ++i) {
        const double needed = (used > 0 ? gap : 0) + heights[i];
        if (used > 0 && used + needed > pageHeight) {
            starts.push_back(static_cast<int>(i));
            used = heights[i];
        } else {
            used += needed;
        }
    }
    return starts;
}

}  // namespace tabulon
