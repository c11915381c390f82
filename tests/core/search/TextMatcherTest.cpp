// TextMatches under each combination of options: case and width folding,
// whole cell against containment, the empty search text, whole characters.

#include <gtest/gtest.h>

#include "search/TextMatcher.h"

namespace tabulon {
namespace {

constexpr FindOptions kOff{};
constexpr FindOptions kCase{.MatchCase = true};
constexpr FindOptions kWidth{.MatchWidth = true};
constexpr FindOptions kCaseWidth{.MatchCase = true, .MatchWidth = true};
constexpr FindOptions kWhole{.WholeCell = true};
constexpr FindOptions kWholeCase{.MatchCase = true, .WholeCell = true};
constexpr FindOptions kWholeWidth{.WholeCell = true, .MatchWidth = true};
constexpr FindOptions kAll{.MatchCase = true, .WholeCell = true, .MatchWidth = true};

// cp932 forms used below.
constexpr std::string_view kFullSmallA = "\x82\x81";  // ａ
constexpr std::string_view kFullCapA = "\x82\x60";    // Ａ
constexpr std::string_view kKatakanaA = "\x83\x41";   // ア, trail byte "A"

struct MatchCase {
    const char* why;
    std::string_view search;
    std::string_view cell;
    FindOptions options;
    bool matches;
};

const MatchCase kCases[] = {
    // Case and width ignored: every form of a letter matches every other.
    {"a ~ A", "a", "A", kOff, true},
    {"a ~ ａ", "a", kFullSmallA, kOff, true},
    {"a ~ Ａ", "a", kFullCapA, kOff, true},
    {"Ａ ~ a", kFullCapA, "a", kOff, true},
    {"ａ ~ A", kFullSmallA, "A", kOff, true},
    {"word letter by letter", "aBc", "\x82\x60\x82\x82\x82\x62", kWhole, true},
    {"Greek", "\x83\xBF", "\x83\x9F", kWhole, true},       // α ~ Α
    {"Cyrillic Ё", "\x84\x76", "\x84\x46", kWhole, true},  // ё ~ Ё
    // Case told apart, width not.
    {"A ~ Ａ with case", "A", kFullCapA, kCase, true},
    {"A !~ a with case", "A", "a", kCase, false},
    {"A !~ ａ with case", "A", kFullSmallA, kCase, false},
    // Width told apart, case not.
    {"a ~ A with width", "a", "A", kWidth, true},
    {"a !~ ａ with width", "a", kFullSmallA, kWidth, false},
    // Half-width kana and their full-width partners.
    {"ｶﾞ ~ ガ whole", "\xB6\xDE", "\x83\x4B", kWhole, true},
    {"ガ ~ ｶﾞ whole", "\x83\x4B", "\xB6\xDE", kWhole, true},
    {"ｶﾞ !~ ガ with width", "\xB6\xDE", "\x83\x4B", kWholeWidth, false},
    {"ﾊﾟﾝ ~ パン", "\xCA\xDF\xDD", "\x83\x70\x83\x93", kWhole, true},
    // Digits, symbols, spaces.
    {"1-2 ~ １－２", "1-2", "\x82\x50\x81\x7C\x82\x51", kWhole, true},
    {"space ~ ideographic space", " ", "\x81\x40", kWhole, true},
    {"backslash ~ ￥", "\\", "\x81\x8F", kWhole, true},
    {"tilde !~ ～", "~", "\x81\x60", kOff, false},
    {"ｰ !~ ー", "\xB0", "\x81\x5B", kOff, false},
    // The empty search text.
    {"empty never contained", "", "", kOff, false},
    {"empty not contained in text", "", "abc", kOff, false},
    {"empty equals empty cell", "", "", kWhole, true},
    {"empty !equals text", "", "abc", kWhole, false},
    {"empty equals marks alone", "", "\xDE\xDF", kWhole, true},
    {"marks stay with width", "", "\xDE", kAll, false},
    {"search of marks alone never contained", "\xDE", "\xDE", kOff, false},
    // Containment is of whole characters: the byte "A" inside ア is no "A".
    {"A inside ア, nothing folded", "A", kKatakanaA, kCaseWidth, false},
    {"A folded is not inside ア", "A", kKatakanaA, kOff, false},
    {"A after ア", "A", "\x83\x41\x41", kCaseWidth, true},
    {"＊ between 驕 and 慢", "\x81\x96", "\xE9\x81\x81\x96\x96\x9D", kOff, true},
    {"ｱ after a lone lead byte", "\xB1", "\x81\x20\xB1", kCaseWidth, true},
    {"contained mid-text", "\x82\xA0", "\x82\xA0\x82\xA2\x82\xA0", kOff, true},  // あ in あいあ
    {"whole cell needs the whole", "ab", "abc", kWhole, false},
    {"whole cell folded", "ABC", "abc", kWholeWidth, true},
    {"whole cell with case", "ABC", "abc", kWholeCase, false},
    {"all on equal bytes", "\xB6\xDE", "\xB6\xDE", kAll, true},
};

TEST(TextMatches, FoldsBothTextsAndComparesBytes) {
    for (const MatchCase& c : kCases) {
        EXPECT_EQ(TextMatches(c.search, c.cell, c.options), c.matches) << c.why;
    }
}

// Bytes of the search text that lie across two characters of the cell, or
// begin inside one, are no match under any options.
TEST(TextMatches, NeverMatchesBytesThatStraddleCharacters) {
    const struct {
        const char* why;
        std::string_view search;
        std::string_view cell;
    } cases[] = {
        {"＊ across 驕 and 慢", "\x81\x96", "\xE9\x81\x96\x9D"},
        {"表 across ヵ and the byte 0x5C", "\x95\x5C", "\x83\x95\x5C\x41"},
        {"the byte 0x5C, trail of ソ", "\\", "\x83\x5C"},
        {"the byte 0x7C, trail of －", "|", "\x81\x7C"},
        {"－ across ａ and the byte 0x7C", "\x81\x7C", "\x82\x81\x7C"},
        {"ｱ (0xB1), trail of Ο", "\xB1", "\x83\xB1"},
        {"ｱｲ across two kanji", "\xB1\xB2", "\x88\xB1\xB2\x40"},
        {"＝ across ａ and ＊ widened from a*", "\x81\x81", "a*"},
        {"＝ across a lone lead byte and the widened space", "\x81\x81", "\x81 "},
        {"a character ending inside the next one", "\x81\x96\x81", "\x81\x96\x81\x40"},
    };
    for (const auto& c : cases) {
        for (int bits = 0; bits < 8; ++bits) {
            const FindOptions options{.MatchCase = (bits & 1) != 0,
                                      .WholeCell = (bits & 2) != 0,
                                      .MatchWidth = (bits & 4) != 0};
            EXPECT_FALSE(TextMatches(c.search, c.cell, options)) << c.why << ", options " << bits;
        }
    }
}

TEST(TextMatcher, GivesTheSameAnswersWhenReusedAcrossCells) {
    // One matcher over many cells, longer and shorter ones in turn, must not
    // carry anything from one cell to the next.
    TextMatcher matcher("\xB6\xDE", kOff);
    const struct {
        std::string_view cell;
        bool matches;
    } cells[] = {
        {"\x83\x4B\x83\x4B\x83\x4B\x83\x4B\x83\x4B\x83\x4B", true},
        {"\xB6", false},
        {"xx\xB6\xDE", true},
        {"", false},
        {"\x83\x4A", false},
    };
    for (const auto& c : cells) {
        EXPECT_EQ(matcher.Matches(c.cell), c.matches) << c.cell;
    }
}

}  // namespace
}  // namespace tabulon
