// Load and save of the native and CSV formats, the encoding detection and a
// UTF-8 CSV beside its cp932 twin, and the row moves that the structural
// commands are made of, on 10,000 and 1,000,000 records.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <thread>

#include "BenchTables.h"
#include "TestFiles.h"
#include "edit/TableOperations.h"
#include "files/CsvFile.h"
#include "files/NativeFile.h"
#include "files/RecoveryData.h"
#include "files/SnapshotWriter.h"
#include "files/TableFile.h"
#include "text/Error.h"

namespace tabulon::bench {
namespace {

using testing::TextKind;

TextKind Kind(const benchmark::State& state) {
    return state.range(1) ? TextKind::Japanese : TextKind::Ascii;
}

void SetLabel(benchmark::State& state, const std::string& file) {
    state.SetLabel(std::string(Kind(state) == TextKind::Ascii ? "ascii " : "japanese ") +
                   std::to_string(std::filesystem::file_size(file) >> 20) + " MiB");
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(file)));
}

template <void (*Load)(TableModel&, const std::string&), bool Csv>
void BM_Load(benchmark::State& state) {
    const BenchTable& table = GetBenchTable(static_cast<int>(state.range(0)), Kind(state));
    const std::string& file = Csv ? table.csv : table.tbn;
    TableModel model;
    for (auto _ : state) {
        model.ResetToEmpty();
        Load(model, file);
        benchmark::DoNotOptimize(model.RowCount());
    }
    SetLabel(state, file);
}

template <void (*Load)(TableModel&, const std::string&),
          void (*Save)(TableModel&, const std::string&, const Progress&), bool Csv>
void BM_Save(benchmark::State& state) {
    const BenchTable& table = GetBenchTable(static_cast<int>(state.range(0)), Kind(state));
    const std::string& file = Csv ? table.csv : table.tbn;
    TableModel model;
    model.ResetToEmpty();
    Load(model, file);
    const std::string out = file + ".out";
    for (auto _ : state) {
        Save(model, out, {});
    }
    std::filesystem::remove(out);
    SetLabel(state, file);
}

const std::string& CsvIn(benchmark::State& state, const BenchTable& table) {
    return state.range(2) ? table.utf8Csv : table.csv;
}

void SetEncodingLabel(benchmark::State& state, const std::string& file) {
    SetLabel(state, file);
    state.SetLabel((state.range(2) ? "utf-8 " : "cp932 ") +
                   std::string(Kind(state) == TextKind::Ascii ? "ascii" : "japanese"));
}

// The detection alone, on the bytes in memory: what it adds to a load.
void BM_DetectEncoding(benchmark::State& state) {
    const BenchTable& table = GetBenchTable(static_cast<int>(state.range(0)), Kind(state));
    const std::string& file = CsvIn(state, table);
    const FileBytes bytes = ReadFileBytes(file);
    for (auto _ : state) {
        benchmark::DoNotOptimize(DetectEncoding({bytes.data(), bytes.size()}));
    }
    SetEncodingLabel(state, file);
}

// Open as the window does: read, detect, convert a UTF-8 file, load.
void BM_OpenCsv(benchmark::State& state) {
    const BenchTable& table = GetBenchTable(static_cast<int>(state.range(0)), Kind(state));
    const std::string& file = CsvIn(state, table);
    TableModel model;
    for (auto _ : state) {
        OpenTableFile(model, file);
        benchmark::DoNotOptimize(model.RowCount());
    }
    SetEncodingLabel(state, file);
}

// Save keeping the file's encoding.
void BM_SaveCsvKeepingEncoding(benchmark::State& state) {
    const BenchTable& table = GetBenchTable(static_cast<int>(state.range(0)), Kind(state));
    const std::string& file = CsvIn(state, table);
    TableModel model;
    OpenTableFile(model, file);
    const std::string out = file + ".out.csv";
    for (auto _ : state) {
        SaveTableFile(model, out);
    }
    std::filesystem::remove(out);
    SetEncodingLabel(state, file);
}

// Inserting a row at row 1 moves every row below down by one; deleting it moves
// them back: the handle moves the structural commands cost.
void BM_InsertDeleteRowAtTop(benchmark::State& state) {
    const BenchTable& table = GetBenchTable(static_cast<int>(state.range(0)), Kind(state));
    TableModel model;
    model.ResetToEmpty();
    LoadNative(model, table.tbn);
    for (auto _ : state) {
        InsertRow(model, 1);
        DeleteRow(model, 1);
    }
    state.SetLabel("one insert and one delete per iteration");
}

// The recovery data as the window writes it: slices of 20 ms with the
// window's events between them, polls every 10 ms while the disk catches up,
// then the record kept and the previous snapshot removed. What counts is the
// longest the window waits for one call.
void BM_RecoverySnapshot(benchmark::State& state) {
    const BenchTable& table = GetBenchTable(static_cast<int>(state.range(0)), Kind(state));
    TableModel model;
    model.ResetToEmpty();
    LoadNative(model, table.tbn);
    testing::TempDir dir;
    RecoveryData data = RecoveryData::Create(dir.File("recovery"));
    double longest = 0, commit = 0, keep = 0, slices = 0;
    uintmax_t size = 0;
    for (auto _ : state) {
        const std::string path = data.NextSnapshotPath();
        SnapshotWriter writer(model, path);
        for (bool done = false; !done; ++slices) {
            if (writer.Syncing()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            commit = Seconds([&] { done = writer.Continue(std::chrono::milliseconds(20)); });
            longest = std::max(longest, commit);
        }
        size = std::filesystem::file_size(path);
        keep = std::max(keep, Seconds([&] { data.Keep(RecordOf(model, std::nullopt, 0)); }));
    }
    data.Finish();
    state.counters["longest_call_ms"] = longest * 1000;
    state.counters["commit_call_ms"] = commit * 1000;
    state.counters["keep_ms"] = keep * 1000;
    state.counters["calls"] = slices / static_cast<double>(state.iterations());
    state.counters["size_of_tbn"] =
        static_cast<double>(size) / static_cast<double>(std::filesystem::file_size(table.tbn));
    SetLabel(state, table.tbn);
}

// Damaged or hostile native files: each must load or fail quickly and without
// exhausting memory.
void BM_HostileLoad(benchmark::State& state) {
    static const char* const kNames[] = {"a million empty lines", "one 100 MB line",
                                         "one 100 MB cell", "counts of 2147483647"};
    const std::string big(100 << 20, '7');
    const std::string contents[] = {
        std::string(1'000'000, '\n'),
        big,
        "2\r\n3\r\n15\r\n64\r\n\r\n" + big + "\r\n\r\n",
        "2147483647\r\n2147483647\r\n15\r\n64\r\n",
    };
    const auto index = static_cast<size_t>(state.range(0));
    testing::TempDir dir;
    testing::WriteBytes(dir.File("h.tbn"), contents[index]);
    TableModel model;
    for (auto _ : state) {
        model.ResetToEmpty();
        try {
            LoadNative(model, dir.File("h.tbn"));
        } catch (const Error&) {
        }
    }
    state.SetLabel(kNames[index]);
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int records : {10'000, 1'000'000}) {
        for (int japanese : {0, 1}) {
            b->Args({records, japanese});
        }
    }
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

void SizesAndEncodings(benchmark::internal::Benchmark* b) {
    for (int records : {10'000, 1'000'000}) {
        for (int japanese : {0, 1}) {
            for (int utf8 : {0, 1}) {
                b->Args({records, japanese, utf8});
            }
        }
    }
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_Load<LoadNative, false>)->Name("LoadNative")->Apply(Sizes);
BENCHMARK(BM_Save<LoadNative, SaveNative, false>)->Name("SaveNative")->Apply(Sizes);
BENCHMARK(BM_Load<LoadCsv, true>)->Name("LoadCsv")->Apply(Sizes);
BENCHMARK(BM_Save<LoadCsv, SaveCsv, true>)->Name("SaveCsv")->Apply(Sizes);
BENCHMARK(BM_DetectEncoding)->Name("DetectEncoding")->Apply(SizesAndEncodings);
BENCHMARK(BM_OpenCsv)->Name("OpenCsv")->Apply(SizesAndEncodings);
BENCHMARK(BM_SaveCsvKeepingEncoding)->Name("SaveCsvKeepingEncoding")->Apply(SizesAndEncodings);
BENCHMARK(BM_RecoverySnapshot)
    ->Name("RecoverySnapshot")
    ->Apply(Sizes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileLoad)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InsertDeleteRowAtTop)->Name("InsertRow+DeleteRow at 1")->Apply(Sizes);

}  // namespace
}  // namespace tabulon::bench

BENCHMARK_MAIN();
