#pragma once
// Work on a large text split into parts that run at once, one per core: a
// million-record file is read and searched in a fraction of the time one
// core takes.

#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

namespace tabulon {

// How many parts work over `bytes` is worth: one per core, and a single part
// below a few megabytes, where starting threads would cost more than it saves.
// Work counted otherwise names the least worth a part of its own.
inline constexpr size_t kLeastBytesPerPart = size_t{4} << 20;
size_t PartsFor(size_t work, size_t leastPerPart = kLeastBytesPerPart);

// Where part `part` of `parts` begins in a run of `count` items cut into
// parts that differ by one item at most; PartBegin(count, parts, parts) is
// the run's end.
constexpr size_t PartBegin(size_t count, size_t part, size_t parts) {
    return count * part / parts;
}

// Where the parts of a run of `count` items begin, then the run's end: each
// cut PartBegin makes is moved by allowed(at) to a place where a part may
// begin, never before the cut before it.
template <typename Allowed>
std::vector<size_t> CutsAt(size_t count, size_t parts, Allowed&& allowed) {
    std::vector<size_t> cuts{0};
    for (size_t i = 1; i < parts; ++i)
        cuts.push_back(std::max(cuts.back(), allowed(PartBegin(count, i, parts))));
    cuts.push_back(count);
    return cuts;
}

// Runs work(0) .. work(parts - 1) at once, part 0 on the calling thread, and
// returns when all have ended; then rethrows the exception of the first part
// that threw, if any did.
void RunParts(size_t parts, const std::function<void(size_t part)>& work);

}  // namespace tabulon
