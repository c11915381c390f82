#include "files/NativeWriter.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>

#include "text/InParallel.h"

namespace tabulon {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
// Fewer cells are done on one core: threads would cost more than they save.
constexpr size_t kLeastCellsPerPart = 8192;
// A batch this large is formatted on every core and written on the writer's
// thread; smaller ones are gathered up to kMostCellsHeld, then written here.
constexpr size_t kLeastCellsBehind = 16384;
constexpr size_t kMostCellsHeld = 65536;

}  // namespace

NativeWriter::NativeWriter(const TableModel& model, FileWriter& file)
    : model_(model),
      file_(file),
      rows_(model.RowCount()),
      items_(std::max(model.ColCount() - 1, 0)),
      total_(2 * static_cast<uint64_t>(items_) * static_cast<uint64_t>(rows_)),
      next_(static_cast<size_t>(items_)),
      behind_(file) {
    std::string head;
    const auto line = [&](int value) {
        head += std::to_string(value);
        head += kLineEnd;
    };
    line(model_.ColCount());
    line(rows_);
    for (int c = 0; c < model_.ColCount(); ++c)
        line(model_.GetColWidth(c));
    file.Write(head);
    // Each text ends its line.
    std::ranges::fill(next_, static_cast<uint64_t>(rows_) * kLineEnd.size());
    textsBegin_ = head.size();
}

bool NativeWriter::WriteCells(uint64_t count) {
    if (items_ == 0 || rows_ == 0) return true;
    int rows = static_cast<int>(std::clamp<uint64_t>(count / static_cast<uint64_t>(items_), 1,
                                                     static_cast<uint64_t>(rows_)));
    if (measured_ < rows_) {
        const int to = std::min(rows_, measured_ + rows);
        MeasureRows(measured_, to);
        rows -= to - measured_;
        measured_ = to;
        // The measures become places: each item's texts follow the one's before.
        if (measured_ == rows_) {
            std::exclusive_scan(next_.begin(), next_.end(), next_.begin(), textsBegin_);
        }
    }
    if (measured_ == rows_ && rows > 0 && written_ < rows_) {
        const int to = std::min(rows_, written_ + rows);
        WriteRows(written_, to);
        written_ = to;
        // Complete only once the file has all.
        if (written_ == rows_) behind_.Wait();
    }
    return written_ == rows_;
}

void NativeWriter::MeasureRows(int from, int to) {
    const auto rows = static_cast<size_t>(to - from);
    const size_t parts = PartsFor(rows * static_cast<size_t>(items_), kLeastCellsPerPart);
    std::vector<Stretch>& stretches = batches_[0];
    stretches.resize(std::max(stretches.size(), parts));
    RunParts(parts, [&](size_t i) {
        std::vector<uint64_t>& bytes = stretches[i].bytes;
        bytes.assign(static_cast<size_t>(items_), 0);
        const int end = from + static_cast<int>(PartBegin(rows, i + 1, parts));
        for (int row = from + static_cast<int>(PartBegin(rows, i, parts)); row < end; ++row) {
            const TableModel::RecordView record = model_.Record(row);
            for (int c = 1; c <= items_; ++c)
                bytes[static_cast<size_t>(c - 1)] += record.Cell(c).size();
        }
    });
    for (size_t i = 0; i < parts; ++i) {
        for (size_t c = 0; c < next_.size(); ++c)
            next_[c] += stretches[i].bytes[c];
    }
}

void NativeWriter::FormatRows(int from, int to, std::vector<RecordBuffer>& items) const {
    items.resize(static_cast<size_t>(items_));
    for (int row = from; row < to; ++row) {
        const TableModel::RecordView record = model_.Record(row);
        for (int c = 1; c <= items_; ++c) {
            RecordBuffer& text = items[static_cast<size_t>(c - 1)];
            const std::string_view cell = record.Cell(c);
            char* out =
                record.Write(cell, text.Room(cell.size() + kLineEnd.size() + PackedRecord::kChunk));
            std::memcpy(out, kLineEnd.data(), kLineEnd.size());
            text.Wrote(out + kLineEnd.size());
        }
    }
}

void NativeWriter::WriteRows(int from, int to) {
    const auto rows = static_cast<size_t>(to - from);
    const size_t cells = rows * static_cast<size_t>(items_);
    // Small batches, as the snapshot's slices make, are gathered until they
    // are worth a write for each item.
    if (cells < kLeastCellsBehind) {
        FormatRows(from, to, held_);
        heldCells_ += cells;
        if (heldCells_ >= kMostCellsHeld || to == rows_) WriteHeld();
        return;
    }
    if (heldCells_ != 0) WriteHeld();
    const size_t parts = PartsFor(cells, kLeastCellsPerPart);
    // Formatted while the batch before is written.
    batch_ ^= 1;
    std::vector<Stretch>& stretches = batches_[batch_];
    stretches.resize(std::max(stretches.size(), parts));
    RunParts(parts, [&](size_t i) {
        std::vector<RecordBuffer>& items = stretches[i].items;
        for (RecordBuffer& text : items)
            text.Clear();
        FormatRows(from + static_cast<int>(PartBegin(rows, i, parts)),
                   from + static_cast<int>(PartBegin(rows, i + 1, parts)), items);
    });
    std::vector<std::pair<uint64_t, std::string_view>> pieces;
    for (size_t c = 0; c < next_.size(); ++c) {
        for (size_t i = 0; i < parts; ++i) {
            const std::string_view text = stretches[i].items[c].View();
            pieces.emplace_back(next_[c], text);
            next_[c] += text.size();
        }
    }
    behind_.Hand([pieces = std::move(pieces)](FileWriter& file) {
        for (const auto& [at, text] : pieces)
            file.WriteAt(at, text);
    });
}

void NativeWriter::WriteHeld() {
    behind_.Wait();
    for (size_t c = 0; c < held_.size(); ++c) {
        const std::string_view text = held_[c].View();
        file_.WriteAt(next_[c], text);
        next_[c] += text.size();
        held_[c].Clear();
    }
    heldCells_ = 0;
}

}  // namespace tabulon
