#include "ViewGeometry.h"

#include "IntegerText.h"
#include "Messages.h"

namespace tabulon {

namespace {

constexpr int kSmallestSize = 1;

}  // namespace

void ApplyRowHeight(TableModel& model, int height) {
    if (height >= kSmallestSize) {
        model.SetRowHeight(height);
    }
}

void FitMarkerColumnToFont(TableModel& model) {
    model.SetColWidth(0, model.Font().Size() + 6);
}

void ApplyColumnWidths(TableModel& model, const std::vector<std::string>& widths) {
    for (size_t i = 0; i < widths.size(); ++i) {
        const int width = ReadInteger(widths[i]);
        const int col = static_cast<int>(i) + 1;
        if (col >= model.ColCount()) {
            throw messages::GridIndexOutOfRange();
        }
        if (width >= kSmallestSize) {
            model.SetColWidth(col, width);
        }
    }
}

void ApplyFont(TableModel& model, const FontDesc& font) {
    model.SetFont(font);
    model.SetColWidth(0, font.Size() + 6);
}

}  // namespace tabulon
