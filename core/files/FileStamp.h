#pragma once
// What tells whether a file changed since the program last read or wrote it:
// which file it is (device and inode), its size, and both its modification
// and its status-change time. The status-change time cannot be set back, so a
// same-size edit whose modification time was restored (cp -p, touch -r,
// rsync -t) still shows, and a file moved into place is another inode.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace tabulon {

struct FileStamp {
    std::uintmax_t device = 0;
    std::uintmax_t inode = 0;
    std::uintmax_t size = 0;
    std::chrono::nanoseconds modified{0};  // since the epoch
    std::chrono::nanoseconds changed{0};   // the status change, since the epoch

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path` (links followed); none if it cannot be read.
std::optional<FileStamp> StampOf(const std::string& path);

}  // namespace tabulon
