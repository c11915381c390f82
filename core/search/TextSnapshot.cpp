#include "search/TextSnapshot.h"

namespace tabulon {

void TextSnapshot::Reserve(size_t texts, size_t bytes) {
    ends_.reserve(texts);
    bytes_.reserve(bytes);
}

void TextSnapshot::Append(std::string_view text) {
    bytes_.append(text);
    ends_.push_back(bytes_.size());
}

std::string_view TextSnapshot::operator[](size_t i) const {
    const size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(bytes_).substr(begin, ends_[i] - begin);
}

}  // namespace tabulon
