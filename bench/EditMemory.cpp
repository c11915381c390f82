// The memory of the two biggest edits, each in a process of its own: a paste
// of a block of short cells (paste MIB: about MIB MiB of tab-separated UTF-8,
// read and pasted as the window does, into an empty table) and a replace-all
// over 1,000,000 x 13 cells (replace). Prints the peak resident memory, the
// resident memory after the edit (free memory given back first) and the
// memory the undo step keeps, beside the memory before the edit.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "edit/CellBlocks.h"
#include "edit/UndoHistory.h"
#include "table/LargeBlocks.h"

namespace {

double StatusMiB(const char* field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0) return std::stod(line.substr(6)) / 1024;
    }
    return -1;
}

void Report(const char* what, double beforeMiB, double seconds,
            const tabulon::UndoHistory& history) {
    tabulon::ReturnFreeMemory();
    std::printf("%-8s before %7.1f MiB  peak %7.1f MiB  after %7.1f MiB  step %7.1f MiB  %.2f s\n",
                what, beforeMiB, StatusMiB("VmHWM:"), StatusMiB("VmRSS:"),
                static_cast<double>(history.MemoryUsed()) / (1 << 20), seconds);
}

template <typename F>
double Seconds(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Ten cells a record, 1 to 9 digits each.
std::string ClipboardText(size_t bytes) {
    std::string text;
    text.reserve(bytes + 128);
    for (unsigned n = 1; text.size() < bytes; ++n) {
        for (int c = 0; c < 10; ++c) {
            text += std::to_string((n * 2654435761u + static_cast<unsigned>(c)) %
                                   (1u << (3 * (c % 9 + 1))));
            text += c == 9 ? '\n' : '\t';
        }
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tabulon;
    const std::string mode = argc > 1 ? argv[1] : "";
    TableModel model;
    if (mode == "paste") {
        const std::string text = ClipboardText(std::stoul(argc > 2 ? argv[2] : "100") << 20);
        UndoHistory history(model);
        const double before = StatusMiB("VmRSS:");
        const double seconds = Seconds([&] {
            const PastedBlock pasted = ReadPastedBlock(ClipboardForms{text, {}, {}});
            history.PasteCells({1, 1}, pasted.cells);
        });
        Report("paste", before, seconds, history);
    } else if (mode == "replace") {
        constexpr int kRecords = 1'000'000;
        constexpr int kItems = 13;
        model.SetColCount(kItems + 1);
        model.SetRowCount(kRecords + 2);
        {
            const TableModel::CellBatch batch(model);
            for (int r = 1; r <= kRecords; ++r) {
                for (int c = 1; c <= kItems; ++c) {
                    model.SetCell(c, r, "record " + std::to_string(r) + " item");
                }
            }
        }
        UndoHistory history(model);
        const double before = StatusMiB("VmRSS:");
        const double seconds = Seconds(
            [&] { history.ReplaceAll("item", "field", FindScope::Whole, FindDirection::Row, {}); });
        Report("replace", before, seconds, history);
    } else {
        std::fputs("usage: edit_memory paste [MIB] | replace\n", stderr);
        return 2;
    }
    return 0;
}
