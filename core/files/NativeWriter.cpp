#include "files/NativeWriter.h"

#include <algorithm>
#include <string>

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
    for (; count > 0 && written_ < total_; --count, ++written_) {
        file_.WriteLine(model_.GetCell(col_, row_));
        if (++row_ == rows) {
            row_ = 0;
            ++col_;
        }
    }
    return written_ == total_;
}

}  // namespace tabulon
