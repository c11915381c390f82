#pragma once
// What a document with unsaved edits keeps on disk so that a crash loses none
// of them: a snapshot of the table in the native format and a small record
// beside it (the document's file and its stamp, the time of the last change,
// what the native format does not hold), in one folder shared by every
// running copy of the program. Each document's files are named by an id; the
// copy that keeps them holds a lock on <id>.lock for as long as it runs, so
// that the data of a copy that ended without saving or discarding its edits
// is the data whose lock no one holds.
//
// A new snapshot gets a new name; the record names it and replaces the old
// record in one rename, and only then does the old snapshot go: whenever the
// process dies, the record names a complete snapshot. Files are owner-only.

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "files/FileDescriptor.h"
#include "files/FileStamp.h"
#include "table/TableModel.h"
#include "text/TextEncoding.h"

namespace tabulon {

struct RecoveryRecord {
    std::string path;                // the document's file; empty when untitled
    std::optional<FileStamp> stamp;  // that file as last read or written
    std::time_t lastChange = 0;
    FileEncoding encoding;
    int rows = 0;  // the native format may add an empty last record
    int currentCol = 1;
    int currentRow = 1;
    int markerRow = 1;
};

// The record of what `model` holds now.
RecoveryRecord RecordOf(const TableModel& model, std::optional<FileStamp> stamp,
                        std::time_t lastChange);

// Data older than this is removed unasked when the program starts.
inline constexpr std::time_t kRecoveryKeptSeconds = 30 * 24 * 60 * 60;

class RecoveryData {
  public:
    // A new id in `folder` (created owner-only), its lock held. Throws
    // "ファイル %s を作成できません" when the folder takes no file.
    static RecoveryData Create(const std::string& folder);
    // The data left by copies that are no longer running, each with its lock
    // now held by this one, newest first. Data older than kRecoveryKeptSeconds
    // at `now`, and data without a readable record, is removed on the way.
    static std::vector<RecoveryData> ClaimLeftOver(const std::string& folder, std::time_t now);

    RecoveryData(RecoveryData&&) noexcept = default;
    RecoveryData& operator=(RecoveryData&&) noexcept = default;
    // Lets the lock go; the data stays.
    ~RecoveryData() = default;

    // The record last kept; empty before the first.
    const std::optional<RecoveryRecord>& Record() const { return record_; }
    // Where the next snapshot is to be written (SnapshotWriter.h).
    std::string NextSnapshotPath() const;
    // Makes the snapshot at NextSnapshotPath() the one kept, with `record`.
    void Keep(const RecoveryRecord& record);
    // Fills a model fresh from ResetToEmpty with the kept table. The file name
    // is the record's when that file is unchanged since, else none.
    void Restore(TableModel& model) const;
    // Removes the record and the snapshots; the lock stays held.
    void Remove();
    // Removes everything, the lock file too: the document's end.
    void Finish();

  private:
    RecoveryData(std::string folder, std::string id, FileDescriptor lock);
    std::string FileOf(const std::string& name) const;
    std::string SnapshotName(unsigned serial) const;

    std::string folder_;
    std::string id_;
    FileDescriptor lock_;
    std::optional<RecoveryRecord> record_;
    unsigned serial_ = 0;  // of the kept snapshot
};

}  // namespace tabulon
