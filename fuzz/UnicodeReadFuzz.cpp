// Any bytes as a CSV or TSV file read the way Open reads it: the first byte
// picks the separator and whether the encoding is detected or told, the rest
// is the file. Reading fails with the program's message or gives cp932 text
// no longer than the file; a file read as Unicode with nothing unheld loads
// within its memory bound, saves in its own encoding and reads back as the
// same table.

#include <cstdio>

#include "FuzzSupport.h"
#include "files/TableFile.h"
#include "text/Error.h"

using namespace tabulon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool tsv = data[0] & 1;
    std::optional<TextEncoding> told;
    if (data[0] & 2) told = static_cast<TextEncoding>((data[0] >> 2) % 5);
    const int64_t heapBefore = fuzz::HeapInUse();
    TableReading reading;
    try {
        reading = ReadTableBytes(fuzz::BytesOf(data + 1, size - 1),
                                 tsv ? TableFormat::Tsv : TableFormat::Csv, "fuzz", told);
    } catch (const Error&) {
        return 0;
    }
    fuzz::Check(reading.text.size() <= size - 1, "cp932 text no longer than the file");
    fuzz::Check(reading.unheld.first.size() <= kUnheldListed, "only the first few listed");
    fuzz::Check(reading.unheld.count >= static_cast<int64_t>(reading.unheld.first.size()),
                "the count covers the list");
    const bool unicode = IsUnicode(reading.encoding.encoding);
    const bool unheld = reading.unheld.count > 0;
    TableModel model;
    try {
        LoadTableReading(model, std::move(reading));
    } catch (const Error&) {
        return 0;  // no lines, or a shape too large
    }
    fuzz::CheckMemoryOfLoad(heapBefore, size);
    fuzz::CheckInvariants(model);
    if (!unicode || unheld) return 0;
    const std::string file = fuzz::ScratchFile(tsv ? "u.tsv" : "u.csv");
    SaveTableFile(model, file);
    TableModel again;
    OpenTableFile(again, file);
    // Without a mark, ASCII alone reads as cp932, which it also is: the
    // characters that made the file UTF-8 may have stood in fields the table
    // does not keep.
    const std::string_view mark = ByteOrderMark(model.Encoding().encoding);
    bool high = !mark.empty();
    for (int c = 1; c < model.ColCount() && !high; ++c) {
        for (int r = 1; r < model.RowCount() - 1 && !high; ++r) {
            for (char b : model.GetCell(c, r))
                high = high || (b & 0x80);
        }
    }
    std::remove(file.c_str());
    fuzz::Check(!high || again.Encoding().encoding == model.Encoding().encoding,
                "the encoding survives a round trip");
    fuzz::Check(again.ColCount() == model.ColCount() && again.RowCount() == model.RowCount(),
                "counts survive a round trip");
    for (int c = 1; c < model.ColCount(); ++c) {
        for (int r = 1; r < model.RowCount() - 1; ++r) {
            fuzz::Check(again.GetCell(c, r) == model.GetCell(c, r), "texts survive a round trip");
        }
    }
    return 0;
}
