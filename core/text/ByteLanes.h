#pragma once
// Counting the places in a long text where a condition on its bytes holds,
// sixteen bytes a step with no branch: line ends, and which kind they are.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

namespace tabulon {

using ByteLanes = unsigned char __attribute__((vector_size(16)));

// Counts the places from `p` on, up to `end` but short of the last sixteen
// bytes or fewer, where holds(here, next) is true: `here` the sixteen bytes
// at a place and `next` those one further on, so the byte after each place
// exists. holds gives all ones in a lane where true, as comparisons do.
// Moves `p` to the first place not counted, for the caller to finish.
template <typename Holds>
size_t CountInLanes(const char*& p, const char* end, Holds&& holds) {
    constexpr size_t kStep = sizeof(ByteLanes);
    size_t count = 0;
    while (static_cast<size_t>(end - p) > kStep) {
        // Each lane counts up to 255 steps, then the lanes are summed.
        const size_t steps = std::min<size_t>(255, static_cast<size_t>(end - p - 1) / kStep);
        ByteLanes counted{};
        for (size_t i = 0; i < steps; ++i, p += kStep) {
            ByteLanes here, next;
            std::memcpy(&here, p, kStep);
            std::memcpy(&next, p + 1, kStep);
            counted -= std::bit_cast<ByteLanes>(holds(here, next));  // all ones subtract one
        }
        for (size_t lane = 0; lane < kStep; ++lane)
            count += counted[lane];
    }
    return count;
}

}  // namespace tabulon
