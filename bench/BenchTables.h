#pragma once
// The generated tables every benchmark works on, written once as tbn and CSV
// into a folder that stays (TABULON_BENCH_DIR, default /tmp/tabulon-bench) so
// that bench/run.sh can time `cat` and the peak memory on the same files.

#include <chrono>
#include <string>

#include "RandomTable.h"

namespace tabulon::bench {

struct BenchTable {
    std::string tbn;
    std::string csv;
    std::string utf8Csv;  // the same CSV in UTF-8
};

// records x 10 item columns; texts of 0..16 bytes.
const BenchTable& GetBenchTable(int records, testing::TextKind kind);

inline constexpr double kMiB = 1 << 20;

// Wall time of one call, for benchmarks that time a part of an iteration.
template <typename F>
double Seconds(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace tabulon::bench
