#include "files/PathNames.h"

namespace tabulon {

std::string FileExtension(std::string_view path) {
    const size_t slash = path.rfind(kPathSeparator);
    const size_t dot = path.rfind('.');
    if (slash == std::string_view::npos || dot == std::string_view::npos || dot < slash) {
        return {};
    }
    return std::string(path.substr(dot + 1));
}

std::string FileStem(std::string_view path) {
    const size_t slash = path.rfind(kPathSeparator);
    if (slash == std::string_view::npos) {
        return {};
    }
    const size_t dot = path.rfind('.');
    if (dot != std::string_view::npos && dot > slash) {
        return std::string(path.substr(slash + 1, dot - slash - 1));
    }
    return std::string(path.substr(slash + 1));
}

std::string FolderOf(std::string_view path) {
    const size_t slash = path.rfind(kPathSeparator);
    return std::string(slash == std::string_view::npos ? path : path.substr(0, slash));
}

}  // namespace tabulon
