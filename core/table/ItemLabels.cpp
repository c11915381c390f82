#include "table/ItemLabels.h"

namespace tabulon {

std::string ItemLabel(const TableModel& model, int col) {
    const std::string_view name = model.GetCell(col, 0);
    if (!name.empty()) {
        return std::string(name);
    }
    // "（", the number, "列目）" in cp932.
    return "\x81\x69" + std::to_string(col) + "\x97\xF1\x96\xDA\x81\x6A";
}

std::vector<std::string> ItemLabels(const TableModel& model) {
    std::vector<std::string> labels;
    labels.reserve(static_cast<size_t>(model.ColCount() - 1));
    for (int c = 1; c < model.ColCount(); ++c) {
        labels.push_back(ItemLabel(model, c));
    }
    return labels;
}

}  // namespace tabulon
