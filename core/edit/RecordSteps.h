#pragma once
// Moving through the shown records one at a time, as the card does, and where
// a record stands among them. Without a filter the records are rows
// 1 .. RowCount - 1, the empty one that typing fills included.

#include "search/RecordFilter.h"

namespace tabulon {

enum class RecordStep { First, Previous, Next, Last };

// The record `step` leads to from `row`; it stops at either end.
int StepRecord(const RecordFilter& shown, int row, RecordStep step);

// `row` as people count shown records: its place from 1 (0 when hidden), out of `count`.
struct RecordPlace {
    int number = 0;
    int count = 0;
};
RecordPlace PlaceOfRecord(const RecordFilter& shown, int row);

}  // namespace tabulon
