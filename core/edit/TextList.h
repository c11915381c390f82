#pragma once
// A list of texts in one block of bytes: a text costs its bytes and one
// offset, and the empty texts after the last one that holds something cost
// nothing, so that an undo step over millions of short or empty cells takes
// a fraction of what as many strings would.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

class TextList {
  public:
    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::string_view operator[](size_t i) const;
    void push_back(std::string_view text);
    // Room for texts up to the last one that is not empty, `counted` of
    // them, with `bytes` bytes in all, so that the list takes no more.
    void reserve(size_t counted, size_t bytes);
    // The bytes of all its texts.
    size_t TextBytes() const { return bytes_.size(); }
    // Memory the list holds, its own size included.
    size_t Bytes() const;
    // What a list reserved so takes.
    static size_t Bytes(size_t counted, size_t bytes);
    bool operator==(const TextList& other) const;

  private:
    size_t count_ = 0;
    std::string bytes_;
    std::vector<size_t> ends_;  // of the texts up to the last one that is not empty
};

}  // namespace tabulon
