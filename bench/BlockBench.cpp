// Blocks of 100,000 records x 10 items (Japanese texts) through the clipboard
// forms: a copy (the cells read, the tab-separated text and the HTML table
// written, both as UTF-8), and a paste of that text (read back to cp932 and
// parsed, then written through the undo history as one step) over the
// table's own records or into an empty table that grows to hold it.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "BenchTables.h"
#include "edit/CellBlocks.h"
#include "edit/UndoHistory.h"
#include "files/NativeFile.h"

namespace tabulon::bench {
namespace {

constexpr int kRecords = 100'000;
constexpr CellPosition kFirst{1, 1};
constexpr CellPosition kLast{10, kRecords};

void Load(TableModel& model) {
    LoadNative(model, GetBenchTable(kRecords, testing::TextKind::Japanese).tbn);
}

void BM_CopyBlock(benchmark::State& state) {
    TableModel model;
    Load(model);
    ClipboardTexts copied;
    for (auto _ : state) {
        copied = CopyBlock(model, kFirst, kLast);
        benchmark::DoNotOptimize(copied);
    }
    state.counters["plain_MiB"] = static_cast<double>(copied.plain.size()) / kMiB;
    state.counters["html_MiB"] = static_cast<double>(copied.html.size()) / kMiB;
}
BENCHMARK(BM_CopyBlock)->Unit(benchmark::kMillisecond)->Iterations(5);

enum Target { kOverRecords, kIntoEmptyTable };

void BM_PasteBlock(benchmark::State& state) {
    const auto target = static_cast<Target>(state.range(0));
    std::string text;
    {
        TableModel source;
        Load(source);
        text = CopyBlock(source, kFirst, kLast).plain;
    }
    TableModel model;
    if (target == kOverRecords) {
        Load(model);
    }
    UndoHistory history(model);
    double readSeconds = 0;
    for (auto _ : state) {
        PastedBlock pasted;
        readSeconds = Seconds([&] { pasted = ReadPastedBlock(text); });
        const double paste = Seconds([&] { history.PasteCells(kFirst, pasted.cells); });
        state.SetIterationTime(readSeconds + paste);
        history.Undo();
    }
    state.counters["read_ms"] = readSeconds * 1000;
    state.counters["text_MiB"] = static_cast<double>(text.size()) / kMiB;
}
BENCHMARK(BM_PasteBlock)
    ->ArgName("into_empty")
    ->DenseRange(kOverRecords, kIntoEmptyTable)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
}  // namespace tabulon::bench

BENCHMARK_MAIN();
