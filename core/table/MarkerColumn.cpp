#include "table/MarkerColumn.h"

#include <algorithm>
#include <utility>

namespace tabulon {

CellText MarkerColumn::Set(size_t row, CellText text) {
    if (!texts_.empty()) {
        return std::exchange(texts_[row], text);
    }
    if (row == lone_ || !loneText_) {
        lone_ = row;
        return std::exchange(loneText_, text);
    }
    if (text) {
        texts_.resize(size_);
        texts_[lone_] = std::exchange(loneText_, {});
        texts_[row] = text;
    }
    return {};
}

void MarkerColumn::Resize(size_t size) {
    if (!texts_.empty()) texts_.resize(size);
    size_ = size;
}

void MarkerColumn::Clear() {
    texts_ = {};
    loneText_ = {};
}

void MarkerColumn::Rotate(size_t from, size_t to) {
    if (!texts_.empty()) {
        RotateOne(texts_, from, to);
    } else {
        lone_ = FollowMove(lone_, from, to);
    }
}

void MarkerColumn::Permute(size_t first, const std::vector<int>& order) {
    if (!texts_.empty()) {
        PermuteRun(texts_, first, order);
        return;
    }
    if (!loneText_ || lone_ < first || lone_ >= first + order.size()) {
        return;
    }
    const auto to = std::find(order.begin(), order.end(), static_cast<int>(lone_ - first));
    lone_ = first + static_cast<size_t>(to - order.begin());
}

}  // namespace tabulon
