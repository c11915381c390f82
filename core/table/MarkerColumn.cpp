#include "table/MarkerColumn.h"

#include <algorithm>
#include <utility>

namespace tabulon {

CellText MarkerColumn::Set(size_t row, CellText text) {
    if (!texts_.empty()) {
        return std::exchange(texts_[row], text);
    }
    if (row == lone_) {
        const CellText old = loneText_;
        loneText_ = text;
        if (!text) lone_ = kNone;
        return old;
    }
    if (text) {
        if (lone_ == kNone) {
            lone_ = row;
            loneText_ = text;
        } else {
            texts_.resize(size_);
            texts_[lone_] = loneText_;
            texts_[row] = text;
            lone_ = kNone;
            loneText_ = {};
        }
    }
    return {};
}

void MarkerColumn::Resize(size_t size) {
    if (!texts_.empty()) texts_.resize(size);
    size_ = size;
}

void MarkerColumn::Clear() {
    texts_ = {};
    lone_ = kNone;
    loneText_ = {};
}

void MarkerColumn::Rotate(size_t from, size_t to) {
    if (!texts_.empty()) {
        const auto at = [&](size_t i) { return texts_.begin() + static_cast<ptrdiff_t>(i); };
        if (from < to) {
            std::rotate(at(from), at(from + 1), at(to + 1));
        } else if (to < from) {
            std::rotate(at(to), at(from), at(from + 1));
        }
    } else if (lone_ != kNone) {
        lone_ = FollowMove(lone_, from, to);
    }
}

void MarkerColumn::Permute(size_t first, const std::vector<int>& order) {
    if (!texts_.empty()) {
        std::vector<CellText> moved(order.size());
        for (size_t i = 0; i < order.size(); ++i) {
            moved[i] = texts_[first + static_cast<size_t>(order[i])];
        }
        std::copy(moved.begin(), moved.end(), texts_.begin() + static_cast<ptrdiff_t>(first));
        return;
    }
    if (lone_ < first || lone_ >= first + order.size()) {
        return;
    }
    const auto to = std::find(order.begin(), order.end(), static_cast<int>(lone_ - first));
    lone_ = first + static_cast<size_t>(to - order.begin());
}

}  // namespace tabulon
