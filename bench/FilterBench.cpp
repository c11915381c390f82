// The record filter over 1,000,000 x 13 random Japanese cells: applying it
// (one condition, and three), and what scrolling and typing cost with it on
// against off (a page of cells read through the filter's positions, one cell
// typed into a shown record).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "RandomTable.h"
#include "search/RecordFilter.h"
#include "table/TableModel.h"

namespace {

using namespace tabulon;

constexpr int kRecords = 1'000'000;
constexpr int kItems = 13;

TableModel& Table() {
    static TableModel* model = [] {
        auto* made = new TableModel;
        testing::RandomTable(7).Fill(
            *made,
            testing::TableShape{kItems, kRecords, testing::TextKind::Japanese, 16, true, 10});
        return made;
    }();
    return *model;
}

// A text of one cell, so that a condition matches some records: its first
// character (two bytes or one).
std::string Condition(int col, int row) {
    const std::string_view text = Table().GetCell(col, row);
    const auto lead = static_cast<unsigned char>(text.empty() ? 0 : text[0]);
    const bool twoBytes = (lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0;
    return std::string(text.substr(0, twoBytes ? 2 : 1));
}

void Apply(benchmark::State& state, int conditions) {
    std::vector<FilterCondition> items;
    for (int i = 0; i < conditions; ++i) {
        items.push_back({ItemIndex{i * 4}, Condition(i * 4 + 1, 10 + i)});
    }
    RecordFilter filter(Table());
    int shown = 0;
    for (auto _ : state) {
        shown = filter.Apply(items, {});
        filter.Clear();
    }
    state.counters["shown"] = shown;
}

void Filtered(benchmark::State& state, bool on, bool typing) {
    TableModel& model = Table();
    RecordFilter filter(model);
    if (on) {
        filter.Apply({{ItemIndex{0}, Condition(1, 10)}}, {});
    }
    int position = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        // A page of 40 rows further down each time, as a scroll reads it.
        position = (position + 40) % (filter.Count() - 40);
        if (typing) {
            const int record = filter.RecordAt(position);
            model.SetCell(1 + position % kItems, record, "\x93\x8C\x8B\x9E");
            benchmark::DoNotOptimize(filter.PositionOf(record));
            continue;
        }
        for (int row = position; row < position + 40; ++row) {
            for (int col = 1; col <= kItems; ++col) {
                bytes += model.GetCell(col, filter.RecordAt(row)).size();
            }
        }
    }
    benchmark::DoNotOptimize(bytes);
}

}  // namespace

BENCHMARK_CAPTURE(Apply, one_condition, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Apply, three_conditions, 3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Filtered, page_off, false, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Filtered, page_on, true, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Filtered, type_off, false, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Filtered, type_on, true, true)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
