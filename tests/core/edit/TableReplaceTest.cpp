// Matching and replacing against a brute-force oracle that works on lists of
// characters: the cp932 text split as a decoder splits it, folded character by
// character, and compared as lists, so whole characters are its very nature.

#include <gtest/gtest.h>

#include <algorithm>

#include "RandomTable.h"
#include "TableText.h"
#include "edit/TableReplace.h"
#include "search/TextMatcher.h"
#include "text/Cp932.h"
#include "text/TextFold.h"

namespace tabulon {
namespace {

// One character of a folded text and the bytes [begin, end) it came from.
struct Folded {
    std::string text;
    size_t begin;
    size_t end;
};

bool IsMark(std::string_view c) {
    return c == "\xDE" || c == "\xDF";
}

// A lead byte and a byte that can follow it, or else one byte.
std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> characters;
    for (size_t i = 0; i < text.size();) {
        const bool pair = i + 1 < text.size() &&
                          IsCp932LeadByte(static_cast<unsigned char>(text[i])) &&
                          IsCp932TrailByte(static_cast<unsigned char>(text[i + 1]));
        characters.push_back(text.substr(i, pair ? 2 : 1));
        i += pair ? 2 : 1;
    }
    return characters;
}

// The fold as its rule reads, one character at a time: lower-case each, then
// widen each half-width key, a kana and the mark after it becoming one voiced
// kana or nothing, every mark consumed and counted with the character before.
std::vector<Folded> FoldByCharacter(std::string_view text, FindOptions options) {
    const FindOptions lowerOnly{.MatchCase = false, .MatchWidth = true};
    std::vector<Folded> out;
    const std::vector<std::string_view> characters = Characters(text);
    size_t begin = 0;
    for (size_t i = 0; i < characters.size(); ++i) {
        const std::string_view raw = characters[i];
        const std::string c = options.MatchCase ? std::string(raw) : FoldText(raw, lowerOnly);
        const size_t end = begin + raw.size();
        std::string folded = c;
        if (!options.MatchWidth) {
            const bool key = c.size() == 1 && HalfToFull(c).size() == 2;
            const bool beforeMark = i + 1 < characters.size() && IsMark(characters[i + 1]);
            folded.clear();
            if (beforeMark && c.size() == 1) {
                folded = VoicedKana(c[0], characters[i + 1][0]);
            } else if (key) {
                folded = HalfToFull(c);
            }
            if (!key && !IsMark(c)) {
                folded += c;
            }
            if (folded.empty() && IsMark(c) && !out.empty() && out.back().end == begin) {
                out.back().end = end;
            }
        }
        if (!folded.empty()) {
            out.push_back({folded, begin, end});
        }
        begin = end;
    }
    return out;
}

bool SameAt(const std::vector<Folded>& cell, size_t at, const std::vector<Folded>& search) {
    for (size_t k = 0; k < search.size(); ++k) {
        if (cell[at + k].text != search[k].text) return false;
    }
    return true;
}

// What ReplaceInText must give: nothing without a match.
std::optional<std::string> OracleReplace(std::string_view text, std::string_view search,
                                         std::string_view replacement, FindOptions options) {
    const std::vector<Folded> s = FoldByCharacter(search, options);
    const std::vector<Folded> c = FoldByCharacter(text, options);
    std::string typed;
    for (const char b : replacement) {
        if (b != '\r' && b != '\n') typed += b;
    }
    if (options.WholeCell) {
        const bool same = s.size() == c.size() && SameAt(c, 0, s);
        return same ? std::optional(typed) : std::nullopt;
    }
    if (s.empty()) return std::nullopt;
    std::string result;
    size_t kept = 0;
    bool any = false;
    for (size_t at = 0; at + s.size() <= c.size();) {
        if (!SameAt(c, at, s)) {
            ++at;
            continue;
        }
        result += text.substr(kept, c[at].begin - kept);
        result += typed;
        kept = c[at + s.size() - 1].end;
        at += s.size();
        any = true;
    }
    if (!any) return std::nullopt;
    return result + std::string(text.substr(kept));
}

FindOptions OptionsOf(int bits) {
    return {
        .MatchCase = (bits & 1) != 0, .WholeCell = (bits & 2) != 0, .MatchWidth = (bits & 4) != 0};
}

// Random cp932 texts with the awkward bytes mixed in: sound marks after any
// character, lone lead bytes before keys the fold widens, 0x5C and 0x7C.
class Texts {
  public:
    explicit Texts(uint32_t seed) : table_(seed) {}

    std::string Cell() {
        std::string text = table_.Text(testing::TextKind::Japanese, 10, false);
        static const char* const extras[] = {"\xDE",     "\xDF",     "\x81", "\x81 ",
                                             "\x81$~",   "\xB6\xDE", "A",    "a",
                                             "\x82\x60", "\\",       "|",    "\x83\x41"};
        for (int n = table_.Int(0, 2); n > 0; --n) {
            const size_t at = static_cast<size_t>(table_.Int(0, static_cast<int>(text.size())));
            text.insert(at, extras[table_.Int(0, static_cast<int>(std::size(extras)) - 1)]);
        }
        return text;
    }

    // Whole characters of the cell, bytes of it from anywhere, or a text of its own.
    std::string Search(std::string_view cell) {
        const int kind = table_.Int(0, 2);
        if (kind == 0 && !cell.empty()) {
            const auto characters = Characters(cell);
            const int first = table_.Int(0, static_cast<int>(characters.size()) - 1);
            const int count = table_.Int(1, 3);
            std::string search;
            for (int k = first; k < first + count && k < static_cast<int>(characters.size()); ++k)
                search += characters[static_cast<size_t>(k)];
            return search;
        }
        if (kind == 1 && !cell.empty()) {
            const int at = table_.Int(0, static_cast<int>(cell.size()) - 1);
            return std::string(
                cell.substr(static_cast<size_t>(at), static_cast<size_t>(table_.Int(1, 3))));
        }
        return table_.Text(testing::TextKind::Japanese, 3, false);
    }

    std::string Replacement() {
        std::string text = table_.Text(testing::TextKind::Japanese, 4, false);
        if (table_.Int(0, 5) == 0) text += "\r\n";
        return text;
    }

    testing::RandomTable& table() { return table_; }

  private:
    testing::RandomTable table_;
};

TEST(ReplaceInText, AgreesWithTheCharacterOracleUnderEveryOption) {
    Texts texts(14);
    int replaced = 0;
    for (int round = 0; round < 3000; ++round) {
        const std::string cell = texts.Cell();
        const std::string search = texts.Search(cell);
        const std::string replacement = texts.Replacement();
        for (int bits = 0; bits < 8; ++bits) {
            const FindOptions options = OptionsOf(bits);
            const auto expected = OracleReplace(cell, search, replacement, options);
            ASSERT_EQ(ReplaceInText(cell, search, replacement, options), expected)
                << "round " << round << ", options " << bits;
            ASSERT_EQ(TextMatches(search, cell, options), expected.has_value())
                << "round " << round << ", options " << bits;
            replaced += expected.has_value();
        }
    }
    EXPECT_GT(replaced, 5000);  // the oracle is not trivially "no match"
}

TEST(ReplaceInText, ReplacesWholeCharactersOfTheFoldAndInsertsTheTextAsTyped) {
    constexpr FindOptions kOff{};
    constexpr FindOptions kWidth{.MatchWidth = true};
    constexpr FindOptions kWhole{.WholeCell = true};
    const struct {
        const char* why;
        std::string_view text, search, replacement;
        FindOptions options;
        std::optional<std::string> result;
    } cases[] = {
        {"every occurrence, no overlaps", "aaaaa", "aa", "b", kOff, "bba"},
        {"folded forms, replacement unfolded", "A-\x82\x60", "a", "xY", kOff, "xY-xY"},
        {"voiced kana and its mark as one", "\xB6\xDE\xB6", "\x83\x4B", "k", kOff, "k\xB6"},
        {"mark after an unmatched kana kept", "\x83\x41\xDE", "\x83\x41", "i", kWidth, "i\xDE"},
        {"mark consumed with the match", "\x83\x41\xDE", "\x83\x41", "i", kOff, "i"},
        {"what folds to nothing inside goes", "x\xB1\xDEy", "xy", "-", kOff, "-"},
        {"and stays outside", "\xB1\xDExy\xB1\xDE", "xy", "-", kOff, "\xB1\xDE-\xB1\xDE"},
        {"straddling bytes stay", "\xE9\x81\x96\x9D\x81\x96", "\x81\x96", "*", kOff,
         "\xE9\x81\x96\x9D*"},
        {"no line break enters", "abc", "b", "1\r\n2\r3\n", kOff, "a123c"},
        {"whole cell: the whole text", "\xB6\xDE", "\x83\x4B", "g", kWhole, "g"},
        {"whole cell: empty text fills an empty cell", "", "", "new", kWhole, "new"},
        {"no match", "abc", "d", "x", kOff, std::nullopt},
        {"empty search never contained", "abc", "", "x", kOff, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplaceInText(c.text, c.search, c.replacement, c.options), c.result) << c.why;
    }
}

// Puts every old text back, last replaced first, and drops an appended row.
void Undo(TableModel& model, const Replacements& done) {
    for (size_t i = done.cells.size(); i-- > 0;) {
        model.SetCell(done.cells[i].col, done.cells[i].row, done.oldTexts[i]);
    }
    if (done.rowAppended) {
        model.SetRowCount(model.RowCount() - 1);
    }
}

TEST(ReplaceAll, ReplacesWhatFindAllListsAndUndoRestoresEveryByte) {
    Texts texts(18);
    for (int round = 0; round < 200; ++round) {
        TableModel model;
        texts.table().Fill(model, {.itemColumns = texts.table().Int(1, 4),
                                   .records = texts.table().Int(0, 8),
                                   .maxTextBytes = 10,
                                   .csvSafe = false,
                                   .emptyPercent = 20});
        // Now and then text in the last row, where replacing appends a row.
        const int last = model.RowCount() - 1;
        if (round % 3 == 0) {
            model.SetCell(1, last, texts.Cell());
        }
        const std::string before = testing::Dump(model);
        const int rowsBefore = model.RowCount();

        const std::string cell = std::string(model.GetCell(1, texts.table().Int(1, last)));
        const std::string search = texts.Search(cell);
        const std::string replacement = texts.Replacement();
        const FindOptions options = OptionsOf(round % 8);
        const auto place = static_cast<FindScope>(round / 8 % 2);
        const auto way = static_cast<FindDirection>(round / 16 % 2);
        const CellPosition current{texts.table().Int(1, model.ColCount() - 1),
                                   texts.table().Int(1, last)};
        model.SetCurrentCell(current.col, current.row);
        SCOPED_TRACE("round " + std::to_string(round));

        const std::vector<CellPosition> hits =
            FindAllCells(model, current, search, place, way, options);
        Replacements expected{hits, {}, {}, false};
        for (const CellPosition& hit : hits) {
            const std::string old(model.GetCell(hit.col, hit.row));
            expected.oldTexts.push_back(old);
            expected.newTexts.push_back(*OracleReplace(old, search, replacement, options));
        }
        const Replacements done =
            ReplaceAll(model, current, search, replacement, place, way, options);
        ASSERT_EQ(done.cells, expected.cells);
        ASSERT_EQ(done.oldTexts, expected.oldTexts);
        ASSERT_EQ(done.newTexts, expected.newTexts);
        for (size_t i = 0; i < hits.size(); ++i) {
            ASSERT_EQ(model.GetCell(hits[i].col, hits[i].row), expected.newTexts[i]);
        }
        const bool lastRowReplaced =
            std::any_of(hits.begin(), hits.end(), [&](const CellPosition& hit) {
                return hit.row == rowsBefore - 1 && !model.GetCell(hit.col, hit.row).empty();
            });
        EXPECT_EQ(done.rowAppended, lastRowReplaced);
        EXPECT_EQ(model.RowCount(), rowsBefore + (done.rowAppended ? 1 : 0));
        EXPECT_EQ(model.CurrentCol(), current.col);
        EXPECT_EQ(model.CurrentRow(), current.row);
        EXPECT_EQ(done.Count(), static_cast<int>(hits.size()));
        EXPECT_EQ(done.LastCell(), hits.empty() ? std::nullopt : std::optional(hits.back()));

        Undo(model, done);
        EXPECT_EQ(testing::Dump(model), before);
        EXPECT_EQ(model.RowCount(), rowsBefore);
    }
}

TEST(ReplaceInCell, ReplacesOnlyAMatchingCellAndGrowsTheTableFromTheLastRow) {
    TableModel model;
    testing::FillRows(model, {{"name"}, {"\x8E\x52\x93\x63"}, {""}});  // 山田, then the last row
    EXPECT_EQ(ReplaceInCell(model, {1, 1}, "x", "y", {}).Count(), 0);

    const Replacements first =
        ReplaceInCell(model, {1, 1}, "\x93\x63", "\x96\xEC", {});  // 田 -> 野
    EXPECT_EQ(first.cells, (std::vector<CellPosition>{{1, 1}}));
    EXPECT_EQ(first.oldTexts[0], "\x8E\x52\x93\x63");
    EXPECT_EQ(first.newTexts[0], "\x8E\x52\x96\xEC");
    EXPECT_FALSE(first.rowAppended);
    EXPECT_EQ(model.GetCell(1, 1), "\x8E\x52\x96\xEC");

    const Replacements empty = ReplaceInCell(model, {1, 2}, "", "z", {.WholeCell = true});
    EXPECT_TRUE(empty.rowAppended);
    EXPECT_EQ(testing::Dump(model), "name\n\x8E\x52\x96\xEC\nz\n\n");

    // Emptying a cell of the last row appends nothing.
    model.SetCell(1, 3, "q");
    EXPECT_FALSE(ReplaceInCell(model, {1, 3}, "q", "", {}).rowAppended);
    EXPECT_EQ(model.RowCount(), 4);
}

}  // namespace
}  // namespace tabulon
