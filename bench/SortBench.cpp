// Sorting a million records by a Japanese text column: SortRecords alone in each
// order, and tabulon-cli sort from CSV to CSV beside coreutils sort on the
// same file, with the ratio of the two.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "JapaneseText.h"
#include "TestFiles.h"
#include "edit/RecordSort.h"
#include "files/TableFile.h"

namespace {

constexpr int kRecords = 1'000'000;

// Records "id,name,note" with ids counting up in file order and random names,
// so that sorting by id (in text order: the ids are zero-padded) restores the
// file's order between two timed sorts.
class SortData {
  public:
    static SortData& Get() {
        static SortData data;
        return data;
    }

    tabulon::testing::TempDir folder;
    std::string csv = folder.File("records.csv");
    tabulon::TableModel model;

  private:
    SortData() {
        JapaneseText names(20261208);
        std::string bytes;
        for (int i = 0; i < kRecords; ++i) {
            char id[16];
            std::snprintf(id, sizeof id, "%07d,", i);
            bytes += id + names.Next() + ",note" + std::to_string(i % 1000) + "\r\n";
        }
        tabulon::testing::WriteBytes(csv, bytes);
        tabulon::OpenTableFile(model, csv);
    }
};

std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

// Wall-clock seconds of a shell command; negative if it failed.
double TimeCommand(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return status == 0 ? elapsed.count() : -1;
}

void BM_SortRecords(benchmark::State& state) {
    SortData& data = SortData::Get();
    const int order = static_cast<int>(state.range(0));
    for (auto _ : state) {
        tabulon::SortRecords(data.model, tabulon::ItemIndex{1}, tabulon::SortOrder{order});
        state.PauseTiming();
        tabulon::SortRecords(data.model, tabulon::ItemIndex{0}, tabulon::SortOrder::TextAscending);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_CliSortBesideCoreutils(benchmark::State& state) {
    SortData& data = SortData::Get();
    const int order = static_cast<int>(state.range(0));
    const std::string out = data.folder.File("cli.csv");
    const std::string reference = data.folder.File("coreutils.csv");
    const std::string cli = Quote(TABULON_CLI) + " sort " + Quote(data.csv) + " " + Quote(out) +
                            " --key 1 --order " + std::to_string(order);
    const std::string coreutils =
        "LC_ALL=C sort -s -t, -k2,2 " + Quote(data.csv) + " > " + Quote(reference);
    double cliTotal = 0;
    double coreutilsTotal = 0;
    for (auto _ : state) {
        const double cliSeconds = TimeCommand(cli);
        const double coreutilsSeconds = TimeCommand(coreutils);
        if (cliSeconds < 0 || coreutilsSeconds < 0) {
            state.SkipWithError("command failed");
            return;
        }
        state.SetIterationTime(cliSeconds);
        cliTotal += cliSeconds;
        coreutilsTotal += coreutilsSeconds;
    }
    state.counters["coreutils_ms"] =
        coreutilsTotal * 1000 / static_cast<double>(state.iterations());
    state.counters["cli/coreutils"] = cliTotal / coreutilsTotal;
    if (order == 0) {
        // Ascending text order is the stable byte order coreutils sort gives.
        state.counters["same_file"] =
            tabulon::testing::ReadBytes(out) == tabulon::testing::ReadBytes(reference);
    }
}

BENCHMARK(BM_SortRecords)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CliSortBesideCoreutils)
    ->DenseRange(0, 5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
