#pragma once
// Generated tables for tests and benchmarks: random counts, widths and cp932
// texts that include half-width kana and double-byte characters whose second
// byte is 0x5C or 0x7C.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "TableText.h"
#include "table/TableModel.h"

namespace tabulon::testing {

enum class TextKind { Ascii, Japanese };

struct TableShape {
    int itemColumns = 3;  // ColCount - 1
    int records = 5;      // RowCount - 2: the trailing row stays empty
    TextKind kind = TextKind::Japanese;
    int maxTextBytes = 12;
    bool csvSafe = true;  // no ',' or '"' in any text
    int emptyPercent = 10;
};

class RandomTable {
  public:
    explicit RandomTable(uint32_t seed) : rng_(seed) {}

    // A cp932 text of at most maxBytes bytes (never a split double-byte character).
    std::string Text(TextKind kind, int maxBytes, bool csvSafe);
    // Fills a fresh model: counts, widths, item names and records.
    void Fill(TableModel& model, const TableShape& shape);
    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  private:
    std::mt19937 rng_;
};

}  // namespace tabulon::testing
