#pragma once
// What tells whether a file changed since the program last read or wrote it:
// its size and its modification time.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace tabulon {

struct FileStamp {
    std::uintmax_t size = 0;
    std::chrono::nanoseconds modified{0};  // since the epoch

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path` (links followed); none if it cannot be read.
std::optional<FileStamp> StampOf(const std::string& path);

}  // namespace tabulon
