#include "edit/RecordSort.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/Cp932.h"
#include "text/Messages.h"

namespace tabulon {

namespace {

// A lead byte and the byte after it make one character; a lead byte at the
// very end still counts as one.
size_t CountCp932Chars(std::string_view text) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i, ++chars) {
        if (IsCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;
        }
    }
    return chars;
}

// A text key that carries its first eight bytes as one big-endian number, so
// that most comparisons are decided without reaching the text. Padding with
// zero bytes keeps the order: a text that ends sorts before any byte that
// follows in a longer one. Equal heads mean equal first eight bytes (texts
// hold no NUL), so a tie compares only what follows them: nothing at all for
// two short texts, which is most ties of a key with few distinct values.
struct TextKey {
    explicit TextKey(std::string_view t) : rest(t.substr(std::min<size_t>(t.size(), 8))) {
        for (size_t i = 0; i < 8; ++i) {
            head = head << 8 | (i < t.size() ? static_cast<unsigned char>(t[i]) : 0u);
        }
    }
    friend bool operator<(const TextKey& a, const TextKey& b) {
        // string_view compares through char_traits<char>, which orders bytes
        // as unsigned char.
        return a.head != b.head ? a.head < b.head : !b.rest.empty() && a.rest < b.rest;
    }
    uint64_t head = 0;
    std::string_view rest;  // the text after its first eight bytes
};

// The new order of rows 1 .. n as 0-based positions: keys are measured once,
// then stably sorted, so equal keys keep their order in both directions.
template <typename Measure>
std::vector<int> SortedOrder(const TableModel& model, int col, int n, bool descending,
                             Measure measure) {
    using Key = decltype(measure(std::string_view()));
    struct Entry {
        Key key;
        int position;
    };
    std::vector<Entry> entries;
    entries.reserve(static_cast<size_t>(n));
    for (int p = 0; p < n; ++p) {
        entries.push_back({measure(model.GetCell(col, p + 1)), p});
    }
    if (descending) {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return b.key < a.key; });
    } else {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.key < b.key; });
    }
    std::vector<int> order(entries.size());
    std::transform(entries.begin(), entries.end(), order.begin(),
                   [](const Entry& e) { return e.position; });
    return order;
}

}  // namespace

std::vector<int> SortRecords(TableModel& model, ItemIndex keyItem, SortOrder sortOrder) {
    const int order = static_cast<int>(sortOrder);
    const int col = keyItem.Column();
    if (keyItem.value < 0 || col >= model.ColCount()) {
        throw messages::GridIndexOutOfRange();
    }
    if (order < 0 || order > 5) {
        throw messages::IndexOutOfRange(order);
    }
    const int n = std::max(model.RowCount() - 2, 0);
    const bool descending = order % 2 == 1;
    std::vector<int> rows;
    switch (order / 2) {
        case 0:
            rows = SortedOrder(model, col, n, descending,
                               [](std::string_view t) { return TextKey(t); });
            break;
        case 1:
            rows = SortedOrder(model, col, n, descending, CountCp932Chars);
            break;
        default:
            rows =
                SortedOrder(model, col, n, descending, [](std::string_view t) { return t.size(); });
            break;
    }
    model.PermuteRows(1, rows, 1);
    model.ClearCol(0);
    model.SetCell(0, model.CurrentRow(), kMarker);
    return rows;
}

}  // namespace tabulon
