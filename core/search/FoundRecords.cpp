#include "search/FoundRecords.h"

#include "table/ItemLabels.h"

namespace tabulon {

FoundRecords::FoundRecords(const TableModel& model, std::vector<int> rows)
    : rows_(std::move(rows)) {
    const int cols = model.ColCount();
    for (int col = 1; col < cols; ++col) {
        names_.push_back(ItemLabel(model, col));
        widths_.push_back(model.GetColWidth(col));
    }
    size_t bytes = 0;
    for (const int row : rows_) {
        for (int col = 1; col < cols; ++col) {
            bytes += model.GetCell(col, row).size();
        }
    }
    texts_.Reserve(rows_.size() * names_.size(), bytes);
    for (const int row : rows_) {
        for (int col = 1; col < cols; ++col) {
            texts_.Append(model.GetCell(col, row));
        }
    }
}

std::string_view FoundRecords::Text(size_t record, int col) const {
    return texts_[record * names_.size() + static_cast<size_t>(col - 1)];
}

}  // namespace tabulon
