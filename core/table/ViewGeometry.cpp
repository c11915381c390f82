#include "table/ViewGeometry.h"

#include <algorithm>

#include "text/IntegerText.h"
#include "text/Messages.h"

namespace tabulon {

int ShownSize(int pixels) {
    return std::clamp(pixels, kSmallestViewSize, kLargestViewSize);
}

void ApplyRowHeight(TableModel& model, int height) {
    if (height >= kSmallestViewSize) {
        model.SetRowHeight(std::min(height, kLargestViewSize));
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
        if (width >= kSmallestViewSize) {
            model.SetColWidth(col, std::min(width, kLargestViewSize));
        }
    }
}

void ApplyFont(TableModel& model, const FontDesc& font) {
    model.SetFont(font);
    FitMarkerColumnToFont(model);
}

}  // namespace tabulon
