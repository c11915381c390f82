// The fold table, the sound-mark pairs and the lower-casing, checked entry by
// entry against tables written here as cp932 bytes, and the folding rules.

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "text/Cp932.h"
#include "text/TextFold.h"

namespace tabulon {
namespace {

constexpr FindOptions kWidthOnly{.MatchCase = true, .MatchWidth = false};
constexpr FindOptions kCaseOnly{.MatchCase = false, .MatchWidth = true};

// Keys (one byte each) and their full-width partners (two bytes each), as
// cp932 bytes; the last column is the same partners as the user sees them.
struct FoldGroup {
    const char* name;
    std::string_view keys;
    std::string_view partners;
    std::string_view shown;
};

const FoldGroup kFoldGroups[] = {
    {"space", "\x20", "\x81\x40", "　"},
    {"small letters", "abcdefghijklmnopqrstuvwxyz",
     "\x82\x81\x82\x82\x82\x83\x82\x84\x82\x85\x82\x86\x82\x87\x82\x88\x82\x89\x82\x8A\x82\x8B"
     "\x82\x8C\x82\x8D\x82\x8E\x82\x8F\x82\x90\x82\x91\x82\x92\x82\x93\x82\x94\x82\x95\x82\x96"
     "\x82\x97\x82\x98\x82\x99\x82\x9A",
     "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ"},
    {"capital letters", "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
     "\x82\x60\x82\x61\x82\x62\x82\x63\x82\x64\x82\x65\x82\x66\x82\x67\x82\x68\x82\x69\x82\x6A"
     "\x82\x6B\x82\x6C\x82\x6D\x82\x6E\x82\x6F\x82\x70\x82\x71\x82\x72\x82\x73\x82\x74\x82\x75"
     "\x82\x76\x82\x77\x82\x78\x82\x79",
     "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"},
    {"digits", "0123456789",
     "\x82\x4F\x82\x50\x82\x51\x82\x52\x82\x53\x82\x54\x82\x55\x82\x56\x82\x57\x82\x58",
     "０１２３４５６７８９"},
    {"symbols", "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}",
     "\x81\x49\x81\x68\x81\x94\x81\x90\x81\x93\x81\x95\x81\x66\x81\x69\x81\x6A\x81\x96\x81\x7B"
     "\x81\x43\x81\x7C\x81\x44\x81\x5E\x81\x46\x81\x47\x81\x83\x81\x81\x81\x84\x81\x48\x81\x97"
     "\x81\x6D\x81\x8F\x81\x6E\x81\x4F\x81\x51\x81\x65\x81\x6F\x81\x62\x81\x70",
     "！”＃＄％＆’（）＊＋，－．／：；＜＝＞？＠［￥］＾＿‘｛｜｝"},
    {"kana",
     "\xA6\xA7\xA8\xA9\xAA\xAB\xAC\xAD\xAE\xAF\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8\xB9\xBA\xBB\xBC"
     "\xBD\xBE\xBF\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2"
     "\xD3\xD4\xD5\xD6\xD7\xD8\xD9\xDA\xDB\xDC\xDD",
     "\x83\x92\x83\x40\x83\x42\x83\x44\x83\x46\x83\x48\x83\x83\x83\x85\x83\x87\x83\x62\x83\x41"
     "\x83\x43\x83\x45\x83\x47\x83\x49\x83\x4A\x83\x4C\x83\x4E\x83\x50\x83\x52\x83\x54\x83\x56"
     "\x83\x58\x83\x5A\x83\x5C\x83\x5E\x83\x60\x83\x63\x83\x65\x83\x67\x83\x69\x83\x6A\x83\x6B"
     "\x83\x6C\x83\x6D\x83\x6E\x83\x71\x83\x74\x83\x77\x83\x7A\x83\x7D\x83\x7E\x83\x80\x83\x81"
     "\x83\x82\x83\x84\x83\x86\x83\x88\x83\x89\x83\x8A\x83\x8B\x83\x8C\x83\x8D\x83\x8F\x83\x93",
     "ヲァィゥェォャュョッアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモ"
     "ヤユヨラリルレロワン"},
};

// Half-width kana + mark, and the one full-width kana they make.
struct SoundMarkPair {
    std::string_view halfWidth;
    std::string_view fullWidth;
    std::string_view shown;
};

const SoundMarkPair kSoundMarkPairs[] = {
    {"\xB6\xDE", "\x83\x4B", "ガ"}, {"\xB7\xDE", "\x83\x4D", "ギ"}, {"\xB8\xDE", "\x83\x4F", "グ"},
    {"\xB9\xDE", "\x83\x51", "ゲ"}, {"\xBA\xDE", "\x83\x53", "ゴ"}, {"\xBB\xDE", "\x83\x55", "ザ"},
    {"\xBC\xDE", "\x83\x57", "ジ"}, {"\xBD\xDE", "\x83\x59", "ズ"}, {"\xBE\xDE", "\x83\x5B", "ゼ"},
    {"\xBF\xDE", "\x83\x5D", "ゾ"}, {"\xC0\xDE", "\x83\x5F", "ダ"}, {"\xC1\xDE", "\x83\x61", "ヂ"},
    {"\xC2\xDE", "\x83\x64", "ヅ"}, {"\xC3\xDE", "\x83\x66", "デ"}, {"\xC4\xDE", "\x83\x68", "ド"},
    {"\xCA\xDE", "\x83\x6F", "バ"}, {"\xCB\xDE", "\x83\x72", "ビ"}, {"\xCC\xDE", "\x83\x75", "ブ"},
    {"\xCD\xDE", "\x83\x78", "ベ"}, {"\xCE\xDE", "\x83\x7B", "ボ"}, {"\xCA\xDF", "\x83\x70", "パ"},
    {"\xCB\xDF", "\x83\x73", "ピ"}, {"\xCC\xDF", "\x83\x76", "プ"}, {"\xCD\xDF", "\x83\x79", "ペ"},
    {"\xCE\xDF", "\x83\x7C", "ポ"},
};

std::string Byte(int b) {
    return std::string(1, static_cast<char>(b));
}

TEST(FoldTable, EveryKeyWidensToItsPartnerAndNothingElseIsAKey) {
    std::set<int> keys;
    for (const FoldGroup& group : kFoldGroups) {
        SCOPED_TRACE(group.name);
        ASSERT_EQ(group.partners.size(), 2 * group.keys.size());
        EXPECT_EQ(Cp932ToUtf8(group.partners), group.shown);
        for (size_t i = 0; i < group.keys.size(); ++i) {
            const std::string key(1, group.keys[i]);
            EXPECT_EQ(HalfToFull(key), group.partners.substr(2 * i, 2)) << "key " << key;
            keys.insert(static_cast<unsigned char>(group.keys[i]));
        }
    }
    EXPECT_EQ(keys.size(), 149u);
    // Every other single byte passes through, a lone lead byte included; the
    // two sound marks vanish.
    for (int b = 0; b < 256; ++b) {
        if (keys.count(b) == 0) {
            EXPECT_EQ(HalfToFull(Byte(b)), (b == 0xDE || b == 0xDF) ? "" : Byte(b)) << "byte " << b;
        }
    }
}

TEST(FoldTable, ExactlyTheTwentyFivePairsCombine) {
    std::set<std::string> pairs;
    for (const SoundMarkPair& pair : kSoundMarkPairs) {
        EXPECT_EQ(Cp932ToUtf8(pair.fullWidth), pair.shown);
        EXPECT_EQ(VoicedKana(pair.halfWidth[0], pair.halfWidth[1]), pair.fullWidth) << pair.shown;
        EXPECT_EQ(HalfToFull(pair.halfWidth), pair.fullWidth) << pair.shown;
        pairs.insert(std::string(pair.halfWidth));
    }
    ASSERT_EQ(pairs.size(), 25u);
    for (int b = 0; b < 256; ++b) {
        for (const char mark : {'\xDE', '\xDF'}) {
            if (pairs.count(Byte(b) + mark) == 0) {
                EXPECT_EQ(VoicedKana(static_cast<char>(b), mark), "") << "byte " << b;
            }
        }
    }
}

// The lower-casing must take exactly the capitals of the ASCII, full-width
// Latin, Greek and Cyrillic letters of cp932 to their small forms. The oracle
// is ICU's Unicode case mapping over every one- and two-byte code.
std::string ExpectedLower(const std::string& cp932) {
    const std::string utf8 = Cp932ToUtf8(cp932);
    int32_t i = 0;
    UChar32 c = 0;
    U8_NEXT(utf8.data(), i, static_cast<int32_t>(utf8.size()), c);
    const auto block = ublock_getCode(c);
    const bool lowered =
        i == static_cast<int32_t>(utf8.size()) && u_isupper(c) &&
        (block == UBLOCK_BASIC_LATIN || block == UBLOCK_GREEK || block == UBLOCK_CYRILLIC ||
         block == UBLOCK_HALFWIDTH_AND_FULLWIDTH_FORMS);
    if (!lowered) {
        return cp932;
    }
    char out[4];
    int32_t n = 0;
    U8_APPEND_UNSAFE(out, n, u_tolower(c));
    return Utf8ToCp932OrThrow(std::string_view(out, static_cast<size_t>(n)));
}

TEST(LowerCasing, MapsTheCapitalsOfFourAlphabetsAndLeavesEveryOtherCodeAlone) {
    int lowered = 0;
    const auto check = [&](const std::string& code) {
        const std::string expected = ExpectedLower(code);
        lowered += expected != code;
        EXPECT_EQ(FoldText(code, kCaseOnly), expected) << Cp932ToUtf8(code);
    };
    for (int b = 0; b < 256; ++b) {
        check(Byte(b));
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932LeadByte(static_cast<unsigned char>(lead))) {
            continue;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail != 0x7F) {
                check(Byte(lead) + Byte(trail));
            }
        }
    }
    EXPECT_EQ(lowered, 26 + 26 + 24 + 33);  // ASCII, full-width, Greek, Cyrillic
}

TEST(FoldText, FollowsTheWalkOfTheWidthFold) {
    const struct {
        const char* why;
        std::string_view text;
        FindOptions options;
        std::string_view folded;
    } cases[] = {
        {"voiced pair", "\xB6\xDE", kWidthOnly, "\x83\x4B"},
        {"pair then kana", "\xCA\xDF\xDD", kWidthOnly, "\x83\x70\x83\x93"},
        {"kana that does not combine is lost", "\xB3\xDE", kWidthOnly, ""},
        {"wrong mark for the kana", "\xB6\xDF", kWidthOnly, ""},
        {"letter before a mark is lost", "A\xDE", kWidthOnly, ""},
        {"full-width kana keeps, mark goes", "\x83\x41\xDE", kWidthOnly, "\x83\x41"},
        {"lone mark", "\xDE", kWidthOnly, ""},
        {"marks alone", "\xDE\xDF\xDE", kWidthOnly, ""},
        {"second mark after a pair", "\xB6\xDE\xDE", kWidthOnly, "\x83\x4B"},
        {"tilde, prolonged mark, punctuation stay", "~\xB0\xA1\xA5", kWidthOnly, "~\xB0\xA1\xA5"},
        {"0xDE as a trail byte is no mark", "\x83\xDE", kWidthOnly, "\x83\xDE"},
        {"lone lead byte at the end", "a\x83", kWidthOnly, "\x82\x81\x83"},
        {"lead byte without trail stands alone", "\x83 ", kWidthOnly, "\x83\x81\x40"},
        {"no trail read past the end", std::string_view("\x83\x41", 1), kWidthOnly, "\x83"},
        {"no mark read past the end", std::string_view("\xB6\xDE", 1), kWidthOnly, "\x83\x4A"},
        {"lower-casing comes first", "A", {}, "\x82\x81"},
        {"capital stays with MatchCase", "A", kWidthOnly, "\x82\x60"},
        {"full-width capital lowered", "\x82\x60", kCaseOnly, "\x82\x81"},
        {"Cyrillic capital O lowered across 0x7F", "\x84\x4F", kCaseOnly, "\x84\x80"},
        {"mixed",
         "\xCA\xDE\xB6"
         "Ab\x8A\xBF",
         {},
         "\x83\x6F\x83\x4A\x82\x81\x82\x82\x8A\xBF"},
        {"nothing folds", "Ab\xB6", {.MatchCase = true, .MatchWidth = true}, "Ab\xB6"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoldText(c.text, c.options), c.folded) << c.why;
    }
}

TEST(FoldText, ReusedBufferGivesTheSameResults) {
    std::string buffer;
    for (const std::string_view text : {"\xB6\xDE long text ABC", "", "a", "\xCA\xDF"}) {
        EXPECT_EQ(FoldTextInto(text, {}, buffer), FoldText(text, {})) << text;
    }
}

}  // namespace
}  // namespace tabulon
