#pragma once
// Writes a table in the native format (NativeFile.h) a piece at a time, so
// that its writer can stop between pieces: the recovery snapshot is written
// between keystrokes, a few milliseconds at a time.
//
// The format holds the texts column by column, but the table keeps them
// record by record: reading every record once for each column would pass over
// the whole table as many times as it has columns. Instead, one pass measures
// each column, and a second reads each record once and puts each of its texts
// at its column's place in the file.

#include <cstdint>
#include <vector>

#include "files/FileWriter.h"
#include "files/RecordBuffer.h"
#include "files/WriteBehind.h"
#include "table/TableModel.h"

namespace tabulon {

class NativeWriter {
  public:
    // Writes the counts and the widths at once. The model must not change
    // while cells remain to be written.
    NativeWriter(const TableModel& model, FileWriter& file);

    // Measures or writes up to `count` more cells, at least a record's; whether
    // all are written. A cell counts once measured and once written.
    bool WriteCells(uint64_t count);
    uint64_t Written() const {
        return static_cast<uint64_t>(measured_ + written_) * static_cast<uint64_t>(items_);
    }
    uint64_t Total() const { return total_; }

  private:
    // Rows from..to - 1: each column's texts measured, or formatted and
    // written in order; cut into a stretch for each core when there are many.
    void MeasureRows(int from, int to);
    void WriteRows(int from, int to);
    // Appends each item's texts of rows from..to - 1, a line each, to its buffer.
    void FormatRows(int from, int to, std::vector<RecordBuffer>& items) const;
    // Writes the small batches gathered so far.
    void WriteHeld();

    const TableModel& model_;
    FileWriter& file_;
    const int rows_;
    const int items_;  // columns 1 and up
    int measured_ = 0;
    int written_ = 0;
    uint64_t total_ = 0;
    // Each item's bytes, measured so far; once all are, where its next text goes.
    std::vector<uint64_t> next_;
    uint64_t textsBegin_ = 0;  // where the first item's texts go
    // A cache line each: stretches formatted at once must not share one.
    struct alignas(64) Stretch {
        std::vector<RecordBuffer> items;
        std::vector<uint64_t> bytes;
    };
    // One batch of stretches is formatted while the other is written.
    std::vector<Stretch> batches_[2];
    int batch_ = 0;
    std::vector<RecordBuffer> held_;  // each item's texts of small batches
    size_t heldCells_ = 0;
    WriteBehind behind_;  // last: gone first, once done with the batches
};

}  // namespace tabulon
