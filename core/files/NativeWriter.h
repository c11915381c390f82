#pragma once
// Writes a table in the native format (NativeFile.h) a piece at a time, so
// that its writer can stop between pieces: the recovery snapshot is written
// between keystrokes, a few milliseconds at a time.

#include <cstdint>
#include <vector>

#include "files/FileWriter.h"
#include "files/RecordBuffer.h"
#include "table/TableModel.h"

namespace tabulon {

class NativeWriter {
  public:
    // Writes the counts and the widths at once. The model must not change
    // while cells remain to be written.
    NativeWriter(const TableModel& model, FileWriter& file);

    // Writes up to `count` more cells, column by column; whether all are written.
    bool WriteCells(uint64_t count);
    uint64_t Written() const { return written_; }
    uint64_t Total() const { return total_; }

  private:
    // Cells from..to - 1 of one column: formatted on every core at once when
    // there are many, then written in order.
    void WriteColumn(int col, int from, int to);

    const TableModel& model_;
    FileWriter& file_;
    int col_ = 1;
    int row_ = 0;
    uint64_t written_ = 0;
    uint64_t total_ = 0;
    // A cache line each: stretches formatted at once must not share one.
    struct alignas(64) Stretch {
        RecordBuffer text;
    };
    std::vector<Stretch> stretches_;
};

}  // namespace tabulon
