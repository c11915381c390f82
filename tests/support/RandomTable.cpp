#include "RandomTable.h"

namespace tabulon::testing {

namespace {

// Two-byte characters, with trail bytes 0x5C (ソ, 表, 能), 0x7C (－ is 0x817C) and others.
const char* const kDoubleByte[] = {"\x83\x5C", "\x95\x5C", "\x94\x5C", "\x81\x7C", "\x96\xBC",
                                   "\x91\x4F", "\x93\x64", "\x98\x62", "\x82\xA0", "\x88\x9F",
                                   "\x81\x40", "\x82\x60", "\x81\xA8", "\x8E\x52", "\xE0\x40"};

}  // namespace

std::string RandomTable::Text(TextKind kind, int maxBytes, bool csvSafe) {
    const int length = Int(0, maxBytes);
    std::string text;
    while (static_cast<int>(text.size()) < length) {
        const int pick = kind == TextKind::Ascii ? 0 : Int(0, 3);
        if (pick == 0) {
            char c = static_cast<char>(Int(0x20, 0x7E));
            if (csvSafe && (c == ',' || c == '"')) c = 'x';
            text += c;
        } else if (pick == 1) {
            text += static_cast<char>(Int(0xA1, 0xDF));  // half-width katakana
        } else if (static_cast<int>(text.size()) + 2 <= length) {
            text += kDoubleByte[Int(0, static_cast<int>(std::size(kDoubleByte)) - 1)];
        } else {
            text += 'a';
        }
    }
    return text;
}

void RandomTable::Fill(TableModel& model, const TableShape& shape) {
    model.SetColCount(shape.itemColumns + 1);
    model.SetRowCount(shape.records + 2);
    for (int c = 0; c < model.ColCount(); ++c) {
        model.SetColWidth(c, Int(-5, 300));
    }
    for (int c = 1; c < model.ColCount(); ++c) {
        for (int r = 0; r <= shape.records; ++r) {
            if (Int(0, 99) < shape.emptyPercent) continue;
            model.SetCell(c, r, Text(shape.kind, shape.maxTextBytes, shape.csvSafe));
        }
    }
}

}  // namespace tabulon::testing
