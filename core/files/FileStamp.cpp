#include "files/FileStamp.h"

#include <sys/stat.h>

#include <chrono>

namespace tabulon {

// One look at the file, so the size and the time belong to the same state.
std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    const std::chrono::nanoseconds modified = std::chrono::seconds(status.st_mtim.tv_sec) +
                                              std::chrono::nanoseconds(status.st_mtim.tv_nsec);
    return FileStamp{static_cast<std::uintmax_t>(status.st_size), modified};
}

}  // namespace tabulon
