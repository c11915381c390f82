#pragma once
// Where a save of a path writes, and where a rewrite in place keeps the old
// bytes until the new ones are complete: a visible backup beside the file
// ("name.csv~"), or, when the file's folder takes no new file, one in the
// temporary folder named after the file's identity. A backup found when the
// file is opened is the mark of a save that did not finish.

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace tabulon {

// Symbolic links followed to the path they name, which need not exist yet;
// empty for a loop of links.
std::string SavedPath(const std::string& path);
// Why a save cannot write a file of this mode (a folder, a pipe, a device);
// empty for a regular file.
std::string_view NotAFileReason(mode_t mode);

std::string TemporaryFolder();
// The two places of the backup of `target`, described by `st`.
std::string BackupBeside(const std::string& target);
std::string BackupInTemporaryFolder(const struct stat& st);
// Flushes the folder's entries, so that a rename or removal outlives a power cut.
void SyncFolder(const std::string& folder);

// The backup left by a save of `path` that did not finish; empty when there
// is none, or when another Tabulon is saving the file right now.
std::string UnfinishedSaveBackup(const std::string& path);
// Puts the backup's bytes back into the file (in place, under the writers'
// lock) and removes the backup.
void RestoreBackup(const std::string& path, const std::string& backup);

}  // namespace tabulon
