#include "BenchTables.h"

#include <cstdlib>
#include <filesystem>
#include <map>

#include "files/CsvFile.h"
#include "files/NativeFile.h"
#include "files/TableFile.h"

namespace tabulon::bench {

const BenchTable& GetBenchTable(int records, testing::TextKind kind) {
    static std::map<std::pair<int, testing::TextKind>, BenchTable> tables;
    const auto key = std::pair{records, kind};
    if (auto it = tables.find(key); it != tables.end()) {
        return it->second;
    }
    const char* env = std::getenv("TABULON_BENCH_DIR");
    const std::filesystem::path dir = env ? env : "/tmp/tabulon-bench";
    std::filesystem::create_directories(dir);
    const std::string stem = (dir / (std::to_string(records) + "x10-" +
                                     (kind == testing::TextKind::Ascii ? "ascii" : "japanese")))
                                 .string();
    BenchTable table{stem + ".tbn", stem + ".csv", stem + "-utf8.csv"};
    if (!std::filesystem::exists(table.tbn) || !std::filesystem::exists(table.csv) ||
        !std::filesystem::exists(table.utf8Csv)) {
        TableModel model;
        testing::RandomTable random(static_cast<uint32_t>(records));
        random.Fill(model, {10, records, kind, 16, true, 5});
        SaveNative(model, table.tbn);
        SaveCsv(model, table.csv);
        SaveTableFile(model, table.utf8Csv, TextEncoding::Utf8);
    }
    return tables.emplace(key, table).first->second;
}

}  // namespace tabulon::bench
