#include "edit/RecordSteps.h"

namespace tabulon {

int StepRecord(const RecordFilter& shown, int row, RecordStep step) {
    const int count = shown.Count();
    if (count == 0) return row;
    switch (step) {
        case RecordStep::First:
            return shown.RecordAt(0);
        case RecordStep::Previous: {
            const int before = shown.PreviousShown(row);
            return before > 0 ? before : row;
        }
        case RecordStep::Next: {
            const int after = shown.NextShown(row);
            return after <= shown.RecordAt(count - 1) ? after : row;
        }
        case RecordStep::Last:
            return shown.RecordAt(count - 1);
    }
    return row;
}

RecordPlace PlaceOfRecord(const RecordFilter& shown, int row) {
    return {shown.PositionOf(row).value_or(-1) + 1, shown.Count()};
}

}  // namespace tabulon
