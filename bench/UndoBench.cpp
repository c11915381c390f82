// The undo history at a million records (10 item columns, Japanese texts): a
// sort made, undone and made again through the history, beside the sort
// alone; deleting a column and undoing it. Each reports the memory its step
// keeps, by the history's own count and as the growth of resident memory.

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "BenchTables.h"
#include "edit/RecordSort.h"
#include "edit/UndoHistory.h"
#include "files/NativeFile.h"

namespace tabulon::bench {
namespace {

constexpr int kRecords = 1'000'000;

double ResidentMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    }
    return -1;
}

struct Loaded {
    Loaded() {
        model.ResetToEmpty();
        LoadNative(model, GetBenchTable(kRecords, testing::TextKind::Japanese).tbn);
    }
    TableModel model;
};

TableModel& Table() {
    static Loaded loaded;
    return loaded.model;
}

enum Phase { kSortAlone, kSort, kUndoSort, kRedoSort, kDeleteColumn, kUndoDeleteColumn };

// Every iteration starts and ends with the table as loaded; only the phase
// named is timed.
void BM_Undo(benchmark::State& state) {
    const auto phase = static_cast<Phase>(state.range(0));
    TableModel& model = Table();
    UndoHistory history(model);
    double stepMiB = 0;
    double residentMiB = 0;
    for (auto _ : state) {
        double seconds = 0;
        const double resident = ResidentMiB();
        switch (phase) {
            case kSortAlone: {
                std::vector<int> order;
                seconds = Seconds(
                    [&] { order = SortRecords(model, ItemIndex{0}, SortOrder::TextAscending); });
                std::vector<int> back(order.size());
                for (size_t i = 0; i < order.size(); ++i)
                    back[order[i]] = static_cast<int>(i);
                model.PermuteRows(1, back, 1);
                history.Clear();
                break;
            }
            case kSort:
            case kUndoSort:
            case kRedoSort: {
                const double sort =
                    Seconds([&] { history.SortRecords(ItemIndex{0}, SortOrder::TextAscending); });
                residentMiB = ResidentMiB() - resident;
                stepMiB = static_cast<double>(history.MemoryUsed()) / kMiB;
                const double undo = Seconds([&] { history.Undo(); });
                const double redo = Seconds([&] { history.Redo(); });
                history.Undo();
                seconds = phase == kSort ? sort : phase == kUndoSort ? undo : redo;
                break;
            }
            case kDeleteColumn:
            case kUndoDeleteColumn: {
                const double remove = Seconds([&] { history.DeleteColumn(1); });
                residentMiB = ResidentMiB() - resident;
                stepMiB = static_cast<double>(history.MemoryUsed()) / kMiB;
                const double undo = Seconds([&] { history.Undo(); });
                seconds = phase == kDeleteColumn ? remove : undo;
                break;
            }
        }
        state.SetIterationTime(seconds);
    }
    state.counters["step_MiB"] = stepMiB;
    state.counters["step_B/record"] = stepMiB * kMiB / kRecords;
    state.counters["rss_growth_MiB"] = residentMiB;
}

BENCHMARK(BM_Undo)
    ->ArgName("phase")
    ->DenseRange(kSortAlone, kUndoDeleteColumn)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
}  // namespace tabulon::bench

BENCHMARK_MAIN();
