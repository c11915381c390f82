#pragma once
// Moves within a run of rows or columns, the same for every list the table
// keeps in their order: handles, widths, places, a row's texts.

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <type_traits>
#include <vector>

namespace tabulon {

// Where index `i` ends up when the element at `from` moves to `to`.
template <typename Index>
constexpr Index FollowMove(Index i, Index from, Index to) {
    if (i == from) return to;
    if (from < to && i > from && i <= to) return i - 1;
    if (to < from && i >= to && i < from) return i + 1;
    return i;
}

// The element at `from` moves to `to`; those between move up or down one.
template <typename Range, typename Index>
void RotateOne(Range& v, Index from, Index to) {
    const auto at = [&](Index i) { return std::begin(v) + static_cast<std::ptrdiff_t>(i); };
    if (from < to) {
        std::rotate(at(from), at(from + 1), at(to + 1));
    } else if (to < from) {
        std::rotate(at(to), at(from), at(from + 1));
    }
}

// Element first + i takes element first + order[i]'s place; `order` is a
// permutation of 0 .. its size - 1.
template <typename Range>
void PermuteRun(Range& v, size_t first, const std::vector<int>& order) {
    const auto run = std::begin(v) + static_cast<std::ptrdiff_t>(first);
    std::vector<std::remove_cvref_t<decltype(*run)>> moved(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        moved[i] = run[order[i]];
    std::copy(moved.begin(), moved.end(), run);
}

}  // namespace tabulon
