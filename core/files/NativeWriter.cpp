#include "files/NativeWriter.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "text/InParallel.h"

namespace tabulon {

NativeWriter::NativeWriter(const TableModel& model, FileWriter& file)
    : model_(model),
      file_(file),
      total_(static_cast<uint64_t>(std::max(model.ColCount() - 1, 0)) *
             static_cast<uint64_t>(model.RowCount())) {
    file_.WriteLine(std::to_string(model_.ColCount()));
    file_.WriteLine(std::to_string(model_.RowCount()));
    for (int c = 0; c < model_.ColCount(); ++c) {
        file_.WriteLine(std::to_string(model_.GetColWidth(c)));
    }
}

bool NativeWriter::WriteCells(uint64_t count) {
    const int rows = model_.RowCount();
    while (count > 0 && written_ < total_) {
        const auto run = static_cast<int>(std::min<uint64_t>(count, rows - row_));
        WriteColumn(col_, row_, row_ + run);
        count -= static_cast<uint64_t>(run);
        written_ += static_cast<uint64_t>(run);
        row_ += run;
        if (row_ == rows) {
            row_ = 0;
            ++col_;
        }
    }
    return written_ == total_;
}

void NativeWriter::WriteColumn(int col, int from, int to) {
    constexpr size_t kLeastCellsPerPart = 8192;
    const auto cells = static_cast<size_t>(to - from);
    const size_t parts = PartsFor(cells, kLeastCellsPerPart);
    stretches_.resize(parts);
    RunParts(parts, [&](size_t i) {
        RecordBuffer& text = stretches_[i].text;
        text.Clear();
        const int end = from + static_cast<int>(PartBegin(cells, i + 1, parts));
        for (int row = from + static_cast<int>(PartBegin(cells, i, parts)); row < end; ++row) {
            const TableModel::RecordView record = model_.Record(row);
            const std::string_view cell = record.Cell(col);
            char* out = record.Write(cell, text.Room(cell.size() + 2 + PackedRecord::kChunk));
            std::memcpy(out, "\r\n", 2);
            text.Wrote(out + 2);
        }
    });
    for (const Stretch& stretch : stretches_)
        file_.Write(stretch.text.View());
}

}  // namespace tabulon
