#include "files/RecentFiles.h"

#include <algorithm>
#include <filesystem>

#include "files/Settings.h"

namespace tabulon {

namespace {

// Longer than any path the system opens.
constexpr size_t kLongestPath = 4096;

bool Keepable(std::string_view path) {
    return !path.empty() && path.size() <= kLongestPath &&
           path.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos &&
           std::filesystem::path(path).is_absolute();
}

}  // namespace

void RecentFiles::Add(std::string_view path) {
    if (!Keepable(path)) return;
    Remove(path);
    paths_.emplace(paths_.begin(), path);
    if (paths_.size() > kMaxRecentFiles) paths_.resize(kMaxRecentFiles);
}

void RecentFiles::Remove(std::string_view path) {
    std::erase(paths_, path);
}

void RecentFiles::Read(const std::string& file) {
    paths_.clear();
    for (std::string& line : ReadSettingsLines(file)) {
        if (paths_.size() == kMaxRecentFiles) break;
        if (Keepable(line) && std::ranges::find(paths_, line) == paths_.end()) {
            paths_.push_back(std::move(line));
        }
    }
}

bool RecentFiles::Write(const std::string& file) const {
    return WriteSettingsLines(file, paths_);
}

}  // namespace tabulon
