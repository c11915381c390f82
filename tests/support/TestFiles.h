#pragma once
// A folder of its own for each test that needs files, removed afterwards.

#include <string>
#include <string_view>

namespace tabulon::testing {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }
    // Names of the entries in the folder, sorted.
    std::string Listing() const;

  private:
    std::string path_;
};

void WriteBytes(const std::string& path, std::string_view bytes);
std::string ReadBytes(const std::string& path);

}  // namespace tabulon::testing
