// Pasted forms from a hostile clipboard: the HTML reader and both quotings of
// tab-separated text end, and give no more text or cells than the input can
// account for.

#include <string>

#include "FuzzSupport.h"
#include "edit/CellBlocks.h"
#include "edit/HtmlTable.h"

using namespace tabulon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto cells = ReadHtmlTable(input);
    size_t count = 0;
    size_t bytes = 0;
    for (const auto& row : cells) {
        count += row.size();
        for (const std::string& cell : row)
            bytes += cell.size();
    }
    // Padding is budgeted by the input's size; a reference never grows.
    fuzz::Check(count <= 2 * size && bytes <= size, "HTML cells within the input");
    for (const Quoting quoting : {Quoting::Strict, Quoting::BreaksOnly}) {
        fuzz::Check(ParseTabSeparated(input, quoting).TextBytes() <= size,
                    "tab-separated cells within the input");
    }
    ReadPastedBlock(ClipboardForms{input, {}, input});
    return 0;
}
