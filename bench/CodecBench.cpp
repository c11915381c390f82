// The display path of the codec on the cells of a 100,000 x 10 Japanese
// table: each cell shown (cp932 to UTF-8) as the views do, and each shown text
// taken back (UTF-8 to cp932) as typing does.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BenchTables.h"
#include "files/NativeFile.h"
#include "text/Cp932.h"

namespace tabulon::bench {
namespace {

std::vector<std::string> Cells() {
    TableModel model;
    LoadNative(model, GetBenchTable(100'000, testing::TextKind::Japanese).tbn);
    std::vector<std::string> cells;
    for (int row = 1; row < model.RowCount(); ++row) {
        for (int col = 1; col < model.ColCount(); ++col)
            cells.emplace_back(model.GetCell(col, row));
    }
    return cells;
}

void BM_ShowCells(benchmark::State& state) {
    const std::vector<std::string> cells = Cells();
    for (auto _ : state) {
        for (const std::string& cell : cells)
            benchmark::DoNotOptimize(Cp932ToUtf8(cell));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(cells.size()));
}
BENCHMARK(BM_ShowCells)->Unit(benchmark::kMillisecond);

void BM_TypeCells(benchmark::State& state) {
    std::vector<std::string> shown;
    for (const std::string& cell : Cells())
        shown.push_back(Cp932ToUtf8(cell));
    for (auto _ : state) {
        for (const std::string& text : shown)
            benchmark::DoNotOptimize(Utf8ToCp932(text));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(shown.size()));
}
BENCHMARK(BM_TypeCells)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tabulon::bench

BENCHMARK_MAIN();
