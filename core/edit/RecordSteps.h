#pragma once
// Moving through the records one at a time, as the card does, and where a
// record stands among them. The records are rows 1 .. RowCount - 1, the empty
// one that typing fills included. Every record view asks here, so that a view
// that shows only some records has one place to change.

#include "table/TableModel.h"

namespace tabulon {

enum class RecordStep { First, Previous, Next, Last };

// The record `step` leads to from `row`; it stops at either end.
int StepRecord(const TableModel& model, int row, RecordStep step);

// `row` as people count records: its number from 1, out of `count`.
struct RecordPlace {
    int number = 0;
    int count = 0;
};
RecordPlace PlaceOfRecord(const TableModel& model, int row);

}  // namespace tabulon
