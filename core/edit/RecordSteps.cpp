#include "edit/RecordSteps.h"

#include <algorithm>

namespace tabulon {

int StepRecord(const TableModel& model, int row, RecordStep step) {
    const int last = std::max(model.RowCount() - 1, 1);
    switch (step) {
        case RecordStep::First:
            return 1;
        case RecordStep::Previous:
            return std::clamp(row - 1, 1, last);
        case RecordStep::Next:
            return std::clamp(row + 1, 1, last);
        case RecordStep::Last:
            return last;
    }
    return row;
}

RecordPlace PlaceOfRecord(const TableModel& model, int row) {
    return {row, std::max(model.RowCount() - 1, 1)};
}

}  // namespace tabulon
