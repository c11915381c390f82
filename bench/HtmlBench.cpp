// Exporting a million records of ten items as an HTML page, beside reading
// the page back with cat as the floor.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "JapaneseText.h"
#include "TestFiles.h"
#include "files/HtmlExport.h"
#include "files/TableFile.h"

namespace {

constexpr int kRecords = 1'000'000;
constexpr int kItems = 10;

class HtmlData {
  public:
    static HtmlData& Get() {
        static HtmlData data;
        return data;
    }

    tabulon::testing::TempDir folder;
    tabulon::TableModel model;

  private:
    HtmlData() {
        JapaneseText texts(5);
        std::string bytes;
        for (int r = 0; r < kRecords; ++r) {
            bytes += std::to_string(r);
            for (int c = 1; c < kItems; ++c) {
                // Some empty cells and some that need character references.
                const int kind = (r + c) % 20;
                bytes += ',';
                bytes += kind == 0   ? ""
                         : kind == 1 ? "R&D <" + std::to_string(c) + ">"
                                     : texts.Next();
            }
            bytes += "\r\n";
        }
        const std::string csv = folder.File("records.csv");
        tabulon::testing::WriteBytes(csv, bytes);
        tabulon::OpenTableFile(model, csv);
    }
};

void BM_HtmlSave(benchmark::State& state) {
    HtmlData& data = HtmlData::Get();
    const std::string out = data.folder.File("page.htm");
    for (auto _ : state) {
        tabulon::SaveHtml(data.model, out, "bench", true);
    }
    const auto size = std::filesystem::file_size(out);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(("cat '" + out + "' > /dev/null").c_str());
    const std::chrono::duration<double> cat = std::chrono::steady_clock::now() - start;
    state.counters["page_MB"] = static_cast<double>(size) / 1e6;
    state.counters["cat_ms"] = status == 0 ? cat.count() * 1000 : -1;
}

BENCHMARK(BM_HtmlSave)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
