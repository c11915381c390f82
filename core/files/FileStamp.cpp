#include "files/FileStamp.h"

#include <sys/stat.h>

#include <chrono>

namespace tabulon {

namespace {

std::chrono::nanoseconds Since(const timespec& time) {
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

}  // namespace

// One look at the file, so every field belongs to the same state.
std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return FileStamp{
        static_cast<std::uintmax_t>(status.st_dev), static_cast<std::uintmax_t>(status.st_ino),
        static_cast<std::uintmax_t>(status.st_size), Since(status.st_mtim), Since(status.st_ctim)};
}

}  // namespace tabulon
