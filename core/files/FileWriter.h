#pragma once
// Writes a file so that no failure, signal or crash leaves it half written,
// and so that it stays the file it was: owner, group, permissions, ACLs and
// other extended attributes, its other hard links, the symbolic link that
// names it.
//
// The new content goes to an unnamed file (O_TMPFILE) in the target's folder,
// or to a named temporary ".tabulon-XXXXXX" where the file system has no
// unnamed files. Only once complete and flushed does the unnamed file get that
// short name, to be renamed over the target at once: nothing half written is
// ever visible, and a killed process leaves nothing behind. Where a rename
// cannot keep the file as it was (another owner, other hard links, attributes
// this process may not set, a folder that takes no new file), the file is
// rewritten in place under an advisory lock that Tabulon's other writers wait
// for, its old bytes first kept in a visible backup (SaveTarget.h) that goes
// once the new bytes are complete and flushed, and goes back if that write
// fails. SIGINT, SIGTERM or SIGHUP in the middle of a save remove the
// temporary, or put the old bytes back, on the saving thread, before the
// process ends as the signal says. A symbolic link, dangling or not, is
// written through to the path it names; anything but a regular file is
// refused. Saves run on one thread at a time.

#include <sys/stat.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "files/FileDescriptor.h"

namespace tabulon {

// Of a save's progress, the share of writing the content; Commit, which waits
// for the disk, takes the rest.
inline constexpr int kWritingShare = 95;

// Failures throw "ファイル %s を作成できません", with the reason where the
// target is no regular file, or "ファイル %s に書き込めません: <reason>".
class FileWriter {
  public:
    // Named forces the named temporary that Unnamed falls back to.
    enum class Staging { Unnamed, Named };

    // `newFileMode` (less the umask) is what a file that did not exist gets;
    // one that exists keeps its own.
    explicit FileWriter(const std::string& path, Staging staging = Staging::Unnamed,
                        mode_t newFileMode = 0666);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Inline: a table's save writes tens of millions of short pieces. A long
    // piece is handed to the system as it is, not copied first.
    void Write(std::string_view bytes) {
        if (bytes.size() <= kBufferSize - used_ && bytes.size() < kLongPiece) {
            // An empty view may hold no address, which memcpy must not get.
            if (!bytes.empty()) std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
            used_ += bytes.size();
        } else {
            WriteThrough(bytes);
        }
    }
    void WriteLine(std::string_view line) {
        Write(line);
        Write("\r\n");
    }
    // Puts `bytes` at `offset` of the new content, for a format made out of
    // order; what Write holds goes first. Write goes on where it left off.
    void WriteAt(uint64_t offset, std::string_view bytes);
    // Hands what is written so far to the system and has a thread of its own
    // wait for the disk to take it, so that a Commit after SyncDone() waits
    // for little. The writer may be dropped meanwhile; the thread finishes alone.
    void StartSync();
    bool SyncDone() const { return synced_ && *synced_; }
    // Puts the new content in place. Until then the old file stays as it was;
    // a writer destroyed without Commit() leaves it so, and no temporary.
    void Commit();

  private:
    enum class Mode { Replace, InPlace };
    static constexpr size_t kBufferSize = size_t{1} << 20;
    static constexpr size_t kLongPiece = kBufferSize / 4;  // written as it is

    void WriteThrough(std::string_view bytes);
    void WriteAll(uint64_t offset, std::string_view bytes);

    bool OpenScratch(const std::string& folder);
    void Flush();
    void CommitByRename();
    void CommitInPlace();
    // The backup of the file open as `out` (described by `st`), complete and
    // flushed, its name in `backup`, and registered in `slot` so that a signal
    // puts it back; its descriptor is returned.
    FileDescriptor KeepOldBytes(int out, const struct stat& st, std::string& backup, int& slot);
    void Discard() noexcept;

    std::string path_;      // as the caller named it, for messages
    bool unnamed_;          // whether staged files may be unnamed
    std::string target_;    // the file written (symbolic links followed)
    std::string folder_;    // target_'s folder
    std::string tempName_;  // the named temporary; empty while there is none
    int undoSlot_ = -1;     // where a signal learns to remove tempName_
    Mode mode_ = Mode::Replace;
    FileDescriptor fd_;  // the new content: temporary, or the target itself
    std::unique_ptr<char[]> buffer_;
    size_t used_ = 0;
    // Where the next Write goes in the content; bytes handed to the system,
    // and how many of them it was asked to start putting on disk, so that
    // Commit's wait for the disk is short.
    uint64_t end_ = 0;
    uint64_t handed_ = 0;
    uint64_t flushing_ = 0;
    std::shared_ptr<std::atomic<bool>> synced_;  // set by StartSync's thread
};

}  // namespace tabulon
