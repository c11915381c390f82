// Small files that state large shapes. The input is a recipe: its first byte
// picks the reader ('C' CSV, anything else the native format), and the rest
// is the file's text, in which 0xFF, a 24-bit count, a length and that many
// bytes stand for those bytes repeated count times. So a few bytes make a
// first line of a hundred thousand commas, or millions of empty lines, and the
// fuzzer can vary the shapes rather than the characters. Whatever the file,
// the load fails with the program's own message or keeps its memory bound.

#include <algorithm>
#include <string>

#include "FuzzSupport.h"
#include "files/CsvFile.h"
#include "files/NativeFile.h"
#include "table/LoadBudget.h"
#include "text/Error.h"

using namespace tabulon;

namespace {

// Large enough for every shape the readers must refuse, small enough to run
// many times a minute.
constexpr size_t kLargestFile = 4 << 20;
constexpr uint8_t kRepeat = 0xFF;

std::string Expand(const uint8_t* data, size_t size) {
    std::string text;
    for (size_t i = 0; i < size && text.size() < kLargestFile;) {
        if (data[i] != kRepeat || i + 5 > size) {
            text += static_cast<char>(data[i++]);
            continue;
        }
        const size_t count = size_t{data[i + 1]} << 16 | size_t{data[i + 2]} << 8 | data[i + 3];
        const size_t length = std::min<size_t>(data[i + 4], size - (i + 5));
        const auto* piece = reinterpret_cast<const char*>(data + i + 5);
        i += 5 + length;
        // Doubling what is already repeated: a few appends even for millions.
        const size_t run = std::min(count * length, kLargestFile - text.size());
        const size_t start = text.size();
        if (run > 0) text.append(piece, std::min(length, run));
        while (text.size() - start < run) {
            const size_t done = text.size() - start;
            text.append(text, start, std::min(done, run - done));
        }
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool csv = data[0] == 'C';
    const std::string text = Expand(data + 1, size - 1);
    const int64_t heapBefore = fuzz::HeapInUse();
    TableModel model;
    model.ResetToEmpty();
    try {
        FileBytes bytes = fuzz::BytesOf(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        if (csv) {
            LoadCsvBytes(model, std::move(bytes), "shape.csv");
        } else {
            LoadNativeBytes(model, std::move(bytes), "shape.tbn");
        }
    } catch (const Error&) {
    }
    fuzz::CheckMemoryOfLoad(heapBefore, text.size());
    fuzz::Check(
        TableModel::StorageBytes(model.ColCount(), model.RowCount()) <= StorageBudget(text.size()),
        "the table's storage within its file's budget");
    fuzz::CheckShape(model);
    return 0;
}
