// Any bytes as a native table file: the table keeps its invariants and its
// memory bound, and a table that loads is written and read back unchanged.

#include "FuzzSupport.h"
#include "files/NativeFile.h"
#include "text/Error.h"

using namespace tabulon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int64_t heapBefore = fuzz::HeapInUse();
    TableModel model;
    model.ResetToEmpty();
    bool loaded = true;
    try {
        LoadNativeBytes(model, fuzz::BytesOf(data, size), "fuzz.tbn");
    } catch (const Error&) {
        loaded = false;
    }
    fuzz::CheckMemoryOfLoad(heapBefore, size);
    fuzz::CheckInvariants(model);
    if (!loaded || model.ColCount() * static_cast<int64_t>(model.RowCount()) > 100000) {
        return 0;
    }
    const std::string file = fuzz::ScratchFile("t.tbn");
    SaveNative(model, file);
    TableModel again;
    again.ResetToEmpty();
    LoadNative(again, file);
    std::remove(file.c_str());
    fuzz::Check(again.ColCount() == model.ColCount() && again.RowCount() == model.RowCount(),
                "counts survive a round trip");
    for (int c = 0; c < model.ColCount(); ++c) {
        fuzz::Check(again.GetColWidth(c) == model.GetColWidth(c), "widths survive a round trip");
        for (int r = 0; r < model.RowCount(); ++r) {
            fuzz::Check(c == 0 || again.GetCell(c, r) == model.GetCell(c, r),
                        "texts survive a round trip");
        }
    }
    return 0;
}
