#include <gtest/gtest.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <random>

#include "text/Cp932.h"
#include "text/Error.h"

namespace tabulon {
namespace {

TEST(Cp932, DecodesTheCharactersTablesHold) {
    const struct {
        const char* cp932;
        const char* utf8;
    } cases[] = {
        {"abc 123", "abc 123"},
        {"\\", "\\"},  // 0x5C stays the backslash
        {"\x81\xA8", "→"},
        {"\x83\x5C\x95\x5C", "ソ表"},  // trail byte 0x5C
        {"\x81\x7C", "－"},            // trail byte 0x7C
        {"\xB1\xDE", "ｱﾞ"},            // half-width kana
        {"\x81\x60", "～"},            // Microsoft's table: U+FF5E
        {"\x87\x40", "①"},             // NEC special characters
        {"\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E", "ＭＳ Ｐゴシック"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
        const Cp932Encoding back = Utf8ToCp932(c.utf8);
        EXPECT_TRUE(back.ok()) << c.utf8;
        EXPECT_EQ(back.bytes, c.cp932) << c.utf8;
    }
}

TEST(Cp932, EveryAsciiByteStaysItself) {
    std::string ascii;
    for (int b = 0; b < 0x80; ++b)
        ascii += static_cast<char>(b);
    EXPECT_EQ(Cp932ToUtf8(ascii), ascii);
    EXPECT_EQ(Utf8ToCp932(ascii).bytes, ascii);
    // Also between double-byte characters, where a converter might see them differently.
    const std::string mixed = "\x95\x5C\x1A\x83\x5C\x7F\xB1\x1C";
    EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8(mixed)).bytes, mixed);
}

TEST(Cp932, BadBytesShowAsReplacementCharacters) {
    EXPECT_EQ(Cp932ToUtf8("a\x81"), "a\uFFFD");       // lead byte at the end
    EXPECT_EQ(Cp932ToUtf8("\x81\x20z"), "\uFFFD z");  // lead byte before a non-trail byte
    EXPECT_EQ(Cp932ToUtf8("\xA0x"), Cp932ToUtf8("\xA0") + "x");
    EXPECT_EQ(Cp932ToUtf8("\x81\x7F"), "\uFFFD\x7F");  // 0x7F is no trail byte
}

// ICU's windows-31j converter, read whole, as the oracle for any bytes but the
// three controls it swaps: a lead byte takes its trail only where ICU does,
// and each bad sequence is one U+FFFD.
TEST(Cp932, DecodesAnyBytesAsTheConverterDoes) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open("windows-31j", &status);
    const auto replace = [](const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                            UConverterCallbackReason reason, UErrorCode* error) {
        const UChar replacement = 0xFFFD;
        if (reason <= UCNV_IRREGULAR) *error = U_ZERO_ERROR;
        if (reason <= UCNV_IRREGULAR) ucnv_cbToUWriteUChars(args, &replacement, 1, 0, error);
    };
    ucnv_setToUCallBack(converter, replace, nullptr, nullptr, nullptr, &status);
    std::mt19937 rng(11);
    for (int round = 0; round < 30000 && U_SUCCESS(status); ++round) {
        std::string bytes(1 + rng() % 6, '\0');
        for (char& b : bytes)
            b = static_cast<char>(rng() % 4 ? 0x80 + rng() % 0x80 : 0x20 + rng() % 0x5F);
        UChar utf16[16];
        char utf8[64];
        int32_t length = 0;
        const int32_t units = ucnv_toUChars(converter, utf16, 16, bytes.data(),
                                            static_cast<int32_t>(bytes.size()), &status);
        u_strToUTF8(utf8, 64, &length, utf16, units, &status);
        ASSERT_EQ(Cp932ToUtf8(bytes), std::string(utf8, static_cast<size_t>(length)))
            << ::testing::PrintToString(bytes);
    }
    ucnv_close(converter);
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
}

TEST(Cp932, EncodingListsEveryCharacterItCannotHold) {
    const Cp932Encoding e = Utf8ToCp932("a😀bü表€");
    EXPECT_EQ(e.bytes, "ab\x95\x5C");
    EXPECT_EQ(e.unmappable, (std::vector<char32_t>{U'😀', U'ü', U'€'}));
    EXPECT_FALSE(e.ok());
    EXPECT_EQ(Utf8ToCp932("\xFF").unmappable, std::vector<char32_t>{0xFFFD});
    try {
        Utf8ToCp932OrThrow("x€");
        FAIL();
    } catch (const Error& err) {
        EXPECT_NE(std::string(err.what()).find("U+20AC"), std::string::npos);
    }
    EXPECT_EQ(Utf8ToCp932OrThrow("表"), "\x95\x5C");
}

TEST(Cp932, TakesTheJisFormsOfSevenCharactersAsTheirMicrosoftForms) {
    const struct {
        const char* utf8;
        const char* cp932;
    } cases[] = {
        {"\u301C", "\x81\x60"}, {"\u2016", "\x81\x61"}, {"\u2212", "\x81\x7C"},
        {"\u00A2", "\x81\x91"}, {"\u00A3", "\x81\x92"}, {"\u00AC", "\x81\xCA"},
        {"\u2014", "\x81\x5C"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToCp932OrThrow(c.utf8), c.cp932) << c.utf8;
        // Also amid other text, and shown as Microsoft's form afterwards.
        EXPECT_EQ(Utf8ToCp932OrThrow(std::string("a") + c.utf8 + "表"),
                  std::string("a") + c.cp932 + "\x95\x5C");
        EXPECT_EQ(Cp932ToUtf8(c.cp932), Cp932ToUtf8(Utf8ToCp932OrThrow(Cp932ToUtf8(c.cp932))));
    }
    EXPECT_EQ(Cp932ToUtf8("\x81\x60"), "\uFF5E");
}

// The seven above are the only characters that come back as others: every
// other code point either decodes back from its bytes or is refused.
TEST(Cp932, NoOtherCharacterIsConvertedSilently) {
    const std::u32string seven = U"\u301C\u2016\u2212\u00A2\u00A3\u00AC\u2014";
    for (char32_t c = 0x80; c < 0x30000; c = c == 0xFFFF ? 0x1F000 : c + 1) {
        if (c >= 0xD800 && c < 0xE000) continue;
        char bytes[4];
        int length = 0;
        U8_APPEND_UNSAFE(bytes, length, c);
        const std::string utf8(bytes, static_cast<size_t>(length));
        const Cp932Encoding e = Utf8ToCp932(utf8);
        if (!e.ok()) {
            ASSERT_EQ(e.unmappable, std::vector<char32_t>{c});
            ASSERT_EQ(e.bytes, "");
            continue;
        }
        if (seven.find(c) == std::u32string::npos) {
            ASSERT_EQ(Cp932ToUtf8(e.bytes), utf8) << std::hex << static_cast<unsigned>(c);
        }
    }
    // ICU's private-use fallback (U+F86F to "№") is refused like any other.
    EXPECT_EQ(Utf8ToCp932("a\uF86Fb").unmappable, std::vector<char32_t>{0xF86F});
    EXPECT_EQ(Utf8ToCp932("a\uF86Fb").bytes, "ab");
}

TEST(Cp932, EveryDoubleByteCharacterRoundTrips) {
    int mapped = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932LeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = Cp932ToUtf8(bytes);
            if (utf8 == "\uFFFD") continue;
            ++mapped;
            const Cp932Encoding back = Utf8ToCp932(utf8);
            // Duplicate code points (NEC/IBM) encode to one preferred form.
            ASSERT_TRUE(back.ok()) << std::hex << lead << trail;
            EXPECT_EQ(Cp932ToUtf8(back.bytes), utf8);
        }
    }
    EXPECT_GT(mapped, 7000);
}

}  // namespace
}  // namespace tabulon
