#include "edit/TextList.h"

namespace tabulon {

std::string_view TextList::operator[](size_t i) const {
    if (i >= ends_.size()) {
        return {};
    }
    const size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(bytes_).substr(begin, ends_[i] - begin);
}

void TextList::push_back(std::string_view text) {
    if (!text.empty()) {
        ends_.resize(count_, bytes_.size());
        bytes_ += text;
        ends_.push_back(bytes_.size());
    }
    ++count_;
}

void TextList::reserve(size_t counted, size_t bytes) {
    ends_.reserve(counted);
    bytes_.reserve(bytes);
}

size_t TextList::Bytes() const {
    return Bytes(ends_.capacity(), bytes_.capacity());
}

size_t TextList::Bytes(size_t counted, size_t bytes) {
    // Short texts live inside the string object itself.
    static const size_t inPlace = std::string().capacity();
    return sizeof(TextList) + (bytes > inPlace ? bytes + 1 : 0) + counted * sizeof(size_t);
}

bool TextList::operator==(const TextList& other) const {
    if (count_ != other.count_) {
        return false;
    }
    for (size_t i = 0; i < count_; ++i) {
        if ((*this)[i] != other[i]) return false;
    }
    return true;
}

}  // namespace tabulon
