#pragma once
// Counting the places in a long text where conditions on its bytes hold,
// sixteen bytes a step with no branch: line ends, and which kind they are.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <utility>

namespace tabulon {

using ByteLanes = unsigned char __attribute__((vector_size(16)));

// Counts the places from `p` on, up to `end` but short of the last sixteen
// bytes or fewer, where first(here, next) is true, and those where
// second(here, next) is, in one pass: `here` the sixteen bytes at a place and
// `next` those one further on, so the byte after each place exists. Each
// gives all ones in a lane where true, as comparisons do. Moves `p` to the
// first place not counted, for the caller to finish.
template <typename First, typename Second>
std::pair<size_t, size_t> CountInLanes(const char*& p, const char* end, First&& first,
                                       Second&& second) {
    constexpr size_t kStep = sizeof(ByteLanes);
    std::pair<size_t, size_t> counts{0, 0};
    while (static_cast<size_t>(end - p) > kStep) {
        // Each lane counts up to 255 steps, then the lanes are summed.
        const size_t steps = std::min<size_t>(255, static_cast<size_t>(end - p - 1) / kStep);
        ByteLanes firsts{}, seconds{};
        for (size_t i = 0; i < steps; ++i, p += kStep) {
            ByteLanes here, next;
            std::memcpy(&here, p, kStep);
            std::memcpy(&next, p + 1, kStep);
            firsts -= std::bit_cast<ByteLanes>(first(here, next));  // all ones subtract one
            seconds -= std::bit_cast<ByteLanes>(second(here, next));
        }
        for (size_t lane = 0; lane < kStep; ++lane) {
            counts.first += firsts[lane];
            counts.second += seconds[lane];
        }
    }
    return counts;
}

// The same for one condition.
template <typename Holds>
size_t CountInLanes(const char*& p, const char* end, Holds&& holds) {
    return CountInLanes(p, end, holds, [](ByteLanes, ByteLanes) { return ByteLanes{}; }).first;
}

}  // namespace tabulon
