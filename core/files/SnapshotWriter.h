#pragma once
// The recovery snapshot of a table: its native file, written in time slices
// so that typing never waits long, owner-only, and put in place only once it
// is complete. The table must not change between slices; a writer dropped
// before the end leaves nothing behind.

#include <chrono>
#include <string>

#include "files/FileWriter.h"
#include "files/NativeWriter.h"
#include "table/TableModel.h"

namespace tabulon {

class SnapshotWriter {
  public:
    SnapshotWriter(const TableModel& model, const std::string& path);

    // Writes for about `slice` at most; whether the file is complete and in
    // place. Once all is written, the disk is waited for on another thread:
    // the calls until then return at once. Throws the writer's errors.
    bool Continue(std::chrono::steady_clock::duration slice);
    // All is written and the disk is being waited for: calls may come less often.
    bool Syncing() const { return syncing_; }

  private:
    FileWriter file_;
    NativeWriter writer_;
    bool syncing_ = false;
};

}  // namespace tabulon
