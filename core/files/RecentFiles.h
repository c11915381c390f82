#pragma once
// The files last opened or saved, newest first, as the file menu lists them
// and recent.ini keeps them: full paths as the system spells them, each once,
// at most kMaxRecentFiles. Like every settings file, a damaged list is taken
// for what it holds that makes sense, and nothing is ever reported.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

inline constexpr size_t kMaxRecentFiles = 8;

class RecentFiles {
  public:
    const std::vector<std::string>& Paths() const { return paths_; }

    // Puts `path` first, moving it up when listed, and drops the oldest past
    // the bound. A path the list cannot keep (not absolute, too long, holding
    // a line break or a NUL) is left out.
    void Add(std::string_view path);
    void Remove(std::string_view path);
    void Clear() { paths_.clear(); }

    // Replaces the list with the file's: its paths that can be kept, each once,
    // the first kMaxRecentFiles.
    void Read(const std::string& file);
    // Returns whether the file was written.
    bool Write(const std::string& file) const;

  private:
    std::vector<std::string> paths_;
};

}  // namespace tabulon
