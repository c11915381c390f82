// Find all, element search and replace all over 1,000,000 x 10 Japanese
// cells, against `LC_ALL=C grep -c -F` over the same table saved as a file, in
// the same run. "vs_grep" is the search's time divided by grep's best time.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "edit/TableReplace.h"
#include "files/NativeFile.h"
#include "search/TableSearch.h"
#include "table/LargeBlocks.h"
#include "table/TableModel.h"

namespace {

using namespace tabulon;

constexpr int kRecords = 1'000'000;
constexpr int kItems = 10;
constexpr std::string_view kTokyo = "\x93\x8C\x8B\x9E";  // 東京
// No random cell holds it: its trail bytes lie outside those the table draws.
constexpr std::string_view kOsaka = "\x91\xE5\x8D\xE3";  // 大阪

// One random character in cp932: mostly full-width kanji, hiragana and
// katakana, some half-width katakana (with sound marks) and ASCII.
void AppendCharacter(std::string& text, std::mt19937& random) {
    const unsigned pick = random() % 100;
    if (pick < 35) {  // kanji of the first level, rows 0x88-0x97
        const unsigned lead = 0x88 + random() % 16;
        text += static_cast<char>(lead);
        text += static_cast<char>(lead == 0x88 ? 0x9F + random() % 0x5E : 0x40 + random() % 0x3F);
    } else if (pick < 60) {  // hiragana
        text += '\x82';
        text += static_cast<char>(0x9F + random() % 0x53);
    } else if (pick < 80) {  // katakana
        text += '\x83';
        text += static_cast<char>(0x40 + random() % 0x3F);
    } else if (pick < 90) {  // half-width katakana, sometimes voiced
        text += static_cast<char>(0xB1 + random() % 0x2D);
        if (random() % 4 == 0) {
            text += '\xDE';
        }
    } else {  // ASCII letters and digits
        static constexpr char kAscii[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-";
        text += kAscii[random() % (sizeof kAscii - 1)];
    }
}

struct BenchTable {
    TableModel model;
    std::string path;
    std::string patternPath;
    double grepSeconds = 0;

    BenchTable() {
        std::mt19937 random(1);
        std::vector<std::string> texts;
        texts.reserve(static_cast<size_t>(kRecords) * kItems);
        size_t bytes = 0;
        for (int i = 0; i < kRecords * kItems; ++i) {
            std::string text;
            const unsigned length = 3 + random() % 12;
            const unsigned roll = random() % 1000;
            if (roll == 0) {
                text = kTokyo;  // some cells are the search text exactly
            } else {
                for (unsigned k = 0; k < length; ++k) {
                    AppendCharacter(text, random);
                }
                if (roll < 10) {  // and some contain it
                    random() % 2 ? text.insert(0, kTokyo) : text.append(kTokyo);
                }
            }
            bytes += text.size() + 1;
            texts.push_back(std::move(text));
        }
        // Records packed into one block, as after loading a file.
        {
            TableModel::BulkLoad load(model);
            model.SetColCount(kItems + 1);
            model.SetRowCount(kRecords + 2);
            // Into one buffer the model adopts, as a load packs a file's.
            ByteBuffer buffer = AllocateBytes(bytes + 1);
            TableModel::BulkLoad::Part::Room room{buffer.get(), buffer.get() + bytes};
            load.AdoptBuffer(std::move(buffer), bytes);
            TableModel::BulkLoad::Part part(load, nullptr);
            size_t only = 0;
            std::vector<std::string_view> record(kItems);
            for (int r = 1; r <= kRecords; ++r) {
                for (int c = 1; c <= kItems; ++c) {
                    record[static_cast<size_t>(c - 1)] =
                        texts[static_cast<size_t>(c - 1) * kRecords + static_cast<size_t>(r - 1)];
                }
                part.PlaceRecord(r, record, std::span(&room, 1), only);
            }
        }
        texts = {};
        const std::string folder = std::filesystem::temp_directory_path().string();
        path = folder + "/tabulon-search-bench-" + std::to_string(getpid()) + ".tbn";
        patternPath = path + ".pattern";
        SaveNative(model, path);
        std::ofstream(patternPath, std::ios::binary) << kTokyo << '\n';
        grepSeconds = 1e9;
        for (int run = 0; run < 3; ++run) {
            const auto start = std::chrono::steady_clock::now();
            RunGrep();
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            grepSeconds = std::min(grepSeconds, elapsed.count());
        }
    }
    ~BenchTable() {
        std::filesystem::remove(path);
        std::filesystem::remove(patternPath);
    }

    long RunGrep() const {
        const std::string command = "LC_ALL=C grep -c -F -f '" + patternPath + "' '" + path + "'";
        FILE* pipe = popen(command.c_str(), "r");
        long count = -1;
        if (pipe == nullptr || std::fscanf(pipe, "%ld", &count) != 1) {
            std::abort();
        }
        pclose(pipe);
        return count;
    }
};

BenchTable& Table() {
    static BenchTable table;
    return table;
}

using Clock = std::chrono::steady_clock;

// Hits, and the time per iteration divided by grep's best time.
void Report(benchmark::State& state, Clock::time_point start, size_t hits) {
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    state.counters["hits"] = static_cast<double>(hits);
    state.counters["vs_grep"] =
        elapsed.count() / static_cast<double>(state.iterations()) / Table().grepSeconds;
}

void FindAll(benchmark::State& state, FindOptions options, std::string_view search = kTokyo) {
    const TableModel& model = Table().model;
    size_t hits = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        const auto found =
            FindAllCells(model, {1, 1}, search, FindScope::Whole, FindDirection::Row, options);
        hits = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    Report(state, start, hits);
}

void FindRecords(benchmark::State& state, FindOptions options) {
    const TableModel& model = Table().model;
    size_t hits = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        const auto rows = FindRecordsByItem(model, ItemIndex{4}, kTokyo, options);
        hits = rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    Report(state, start, hits);
}

// Every 東京 becomes 大阪 (about 100,000 cells); the table gets its texts back
// outside the timing, for the next iteration and the other benchmarks.
void ReplaceAllCells(benchmark::State& state, FindOptions options) {
    TableModel& model = Table().model;
    size_t replaced = 0;
    Clock::duration timed{};
    for (auto _ : state) {
        const auto start = Clock::now();
        const Replacements done = ReplaceAll(model, {1, 1}, kTokyo, kOsaka, FindScope::Whole,
                                             FindDirection::Row, options);
        timed += Clock::now() - start;
        replaced = done.cells.size();
        state.PauseTiming();
        for (size_t i = 0; i < done.cells.size(); ++i) {
            model.SetCell(done.cells[i].col, done.cells[i].row, done.oldTexts[i]);
        }
        state.ResumeTiming();
    }
    state.counters["hits"] = static_cast<double>(replaced);
    state.counters["vs_grep"] = std::chrono::duration<double>(timed).count() /
                                static_cast<double>(state.iterations()) / Table().grepSeconds;
}

void Grep(benchmark::State& state) {
    long count = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        count = Table().RunGrep();
    }
    Report(state, start, static_cast<size_t>(count));
}

constexpr FindOptions kOptionsOff{};
constexpr FindOptions kAllOn{.MatchCase = true, .WholeCell = true, .MatchWidth = true};
// Nothing folded: grep -c -F's job but for whole characters, which 東京 never
// straddles in this table, so the same count.
constexpr FindOptions kCaseAndWidth{.MatchCase = true, .MatchWidth = true};

BENCHMARK_CAPTURE(FindAll, options_off, kOptionsOff)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(FindAll, all_on, kAllOn)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(FindAll, case_and_width, kCaseAndWidth)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// A kanji whose bytes (e0 82) often lie across two hiragana (.. e0 | 82 ..):
// tens of thousands of cells hold its bytes, none the character.
BENCHMARK_CAPTURE(FindAll, straddling_off, kOptionsOff, "\xE0\x82")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(FindRecords, options_off, kOptionsOff)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(FindRecords, all_on, kAllOn)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ReplaceAllCells, options_off, kOptionsOff)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(Grep)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
