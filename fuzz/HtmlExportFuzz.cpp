// A table of fuzzed texts exported as HTML: no cell text can open or close a
// tag, so the page holds exactly the cells the table has.

#include <string>

#include "FuzzSupport.h"
#include "TestFiles.h"
#include "files/HtmlExport.h"

using namespace tabulon;

namespace {

size_t Count(const std::string& text, std::string_view what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // First byte: column count and header switch; the rest: cells split at
    // 0x01, the first piece being the title.
    const int items = 1 + data[0] % 4;
    const bool header = (data[0] & 0x80) != 0;
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto next = [&]() {
        const size_t cut = rest.find('\x01');
        const std::string_view piece = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
        return piece;
    };
    const std::string title(next());
    TableModel model;
    model.SetColCount(items + 1);
    for (int cell = 0; !rest.empty() && cell < 64; ++cell) {
        const int row = cell / items;
        if (row + 2 > model.RowCount()) model.SetRowCount(row + 2);
        model.SetCell(1 + cell % items, row, next());
    }
    const std::string file = fuzz::ScratchFile("page.htm");
    SaveHtml(model, file, title, header);
    const std::string page = testing::ReadBytes(file);
    std::remove(file.c_str());

    const size_t records = static_cast<size_t>(model.RowCount() - 2);
    const size_t cells = static_cast<size_t>(items) * records;
    fuzz::Check(Count(page, "<td") == cells, "one td per cell");
    fuzz::Check(Count(page, "<th") == (header ? static_cast<size_t>(items) : 0), "one th per item");
    fuzz::Check(Count(page, "<script") == 0 && Count(page, "<tr") == records + (header ? 1 : 0),
                "no markup from the texts");
    return 0;
}
