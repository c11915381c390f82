#pragma once
// How far a long file operation has come, for a window to show while it
// waits: whole percents from 0 to 100 that never go back. The file functions
// report each percent at most once, so a report may cost a repaint while the
// loops that count stay as fast as without one.

#include <cstdint>
#include <functional>

namespace tabulon {

using Progress = std::function<void(int percent)>;

// The stretch `from` .. `to` of `whole`, as a progress of its own from 0 to
// 100; empty when `whole` is, so that nothing is counted for no one.
Progress ProgressPart(const Progress& whole, int from, int to);

// Turns the units a loop has done out of `total` into whole percents and
// reports each once: the loop may tell it every step for one comparison.
class ProgressCounter {
  public:
    ProgressCounter(Progress progress, uint64_t total);

    void Reached(uint64_t done) {
        if (done >= next_) Report(done);
    }

  private:
    void Report(uint64_t done);

    Progress progress_;
    uint64_t total_;
    uint64_t next_;  // the units at which the next percent is due
};

}  // namespace tabulon
