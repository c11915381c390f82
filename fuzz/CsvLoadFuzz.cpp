// Any bytes as a CSV file: the table keeps its invariants and its memory
// bound, no cell holds a line break, and a table that loads is written and
// read back unchanged.

#include "FuzzSupport.h"
#include "files/CsvFile.h"
#include "text/Error.h"

using namespace tabulon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int64_t heapBefore = fuzz::HeapInUse();
    TableModel model;
    model.ResetToEmpty();
    try {
        LoadCsvBytes(model, fuzz::BytesOf(data, size), "fuzz.csv");
    } catch (const Error&) {
        fuzz::Check(model.ColCount() == 2 && model.RowCount() == 3,
                    "a refused file leaves the reset table");
        return 0;
    }
    fuzz::CheckMemoryOfLoad(heapBefore, size);
    fuzz::CheckInvariants(model);
    for (int c = 1; c < model.ColCount(); ++c) {
        for (int r = 0; r < model.RowCount(); ++r) {
            fuzz::Check(model.GetCell(c, r).find_first_of("\r\n") == std::string_view::npos,
                        "no line break in a cell");
        }
    }
    const std::string file = fuzz::ScratchFile("t.csv");
    SaveCsv(model, file);
    TableModel again;
    again.ResetToEmpty();
    LoadCsv(again, file);
    std::remove(file.c_str());
    fuzz::Check(again.ColCount() == model.ColCount() && again.RowCount() == model.RowCount(),
                "counts survive a round trip");
    for (int c = 1; c < model.ColCount(); ++c) {
        for (int r = 0; r < model.RowCount(); ++r) {
            fuzz::Check(again.GetCell(c, r) == model.GetCell(c, r), "texts survive a round trip");
        }
    }
    return 0;
}
