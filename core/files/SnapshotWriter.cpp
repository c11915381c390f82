#include "files/SnapshotWriter.h"

namespace tabulon {

SnapshotWriter::SnapshotWriter(const TableModel& model, const std::string& path)
    : file_(path, FileWriter::Staging::Unnamed, 0600), writer_(model, file_) {}

bool SnapshotWriter::Continue(std::chrono::steady_clock::duration slice) {
    if (!syncing_) {
        // The clock is read between pieces of cells short enough not to overrun.
        constexpr uint64_t kPiece = 4096;
        const auto end = std::chrono::steady_clock::now() + slice;
        bool complete = false;
        while (!(complete = writer_.WriteCells(kPiece)) && std::chrono::steady_clock::now() < end) {
        }
        if (!complete) return false;
        file_.StartSync();
        syncing_ = true;
    }
    if (!file_.SyncDone()) return false;
    file_.Commit();
    return true;
}

}  // namespace tabulon
