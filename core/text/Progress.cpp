#include "text/Progress.h"

namespace tabulon {

Progress ProgressPart(const Progress& whole, int from, int to) {
    if (!whole) return {};
    return [whole, from, to](int percent) { whole(from + (to - from) * percent / 100); };
}

ProgressCounter::ProgressCounter(Progress progress, uint64_t total)
    : progress_(std::move(progress)), total_(total), next_(progress_ ? 0 : UINT64_MAX) {}

void ProgressCounter::Report(uint64_t done) {
    const uint64_t percent = done >= total_ ? 100 : done * 100 / total_;
    // The first unit count that makes the following percent, rounded up.
    next_ = percent == 100 ? UINT64_MAX : ((percent + 1) * total_ + 99) / 100;
    progress_(static_cast<int>(percent));
}

}  // namespace tabulon
