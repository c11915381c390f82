#include "FileStamp.h"

namespace tabulon {

std::optional<FileStamp> StampOf(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        return std::nullopt;
    }
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error) {
        return std::nullopt;
    }
    return FileStamp{size, modified};
}

}  // namespace tabulon
