#pragma once
// Texts copied out of the table into one buffer, for the result lists, which
// show what the table held at the search and must not follow later edits.
// Each text costs one offset beside its bytes, so ten million of them fit.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

class TextSnapshot {
  public:
    void Reserve(size_t texts, size_t bytes);
    void Append(std::string_view text);

    size_t size() const { return ends_.size(); }
    std::string_view operator[](size_t i) const;

  private:
    std::string bytes_;
    std::vector<size_t> ends_;
};

}  // namespace tabulon
