// CSV and TSV files in UTF-8 and UTF-16: how an encoding is recognised, the
// converter against the codec it is built from, round trips that keep a file
// as it was, and the characters cp932 cannot hold.

#include <gtest/gtest.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <optional>
#include <random>
#include <tuple>

#include "RandomTable.h"
#include "TestFiles.h"
#include "ThrownMessage.h"
#include "files/CsvFile.h"
#include "files/TableFile.h"
#include "files/TextFile.h"
#include "files/Utf8FileRead.h"
#include "text/Cp932.h"
#include "text/FormCounts.h"
#include "text/Transcoder.h"

namespace tabulon {
namespace {

using namespace std::string_literals;
using testing::Dump;
using testing::FillRows;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string Utf8Of(char32_t c) {
    char bytes[4];
    int length = 0;
    U8_APPEND_UNSAFE(bytes, length, c);
    return std::string(bytes, static_cast<size_t>(length));
}

// UTF-8 text as a UTF-16 file's bytes, mark included.
std::string Utf16Of(std::string_view utf8, bool littleEndian) {
    std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (size_t i = 0; i < utf8.size();) {
        char32_t c;
        U8_NEXT_UNSAFE(utf8.data(), i, c);
        std::u16string units;
        if (c >= 0x10000) {
            units = {static_cast<char16_t>(0xD7C0 + (c >> 10)),
                     static_cast<char16_t>(0xDC00 | (c & 0x3FF))};
        } else {
            units = {static_cast<char16_t>(c)};
        }
        for (char16_t u : units) {
            const char high = static_cast<char>(u >> 8);
            const char low = static_cast<char>(u & 0xFF);
            out += littleEndian ? std::string{low, high} : std::string{high, low};
        }
    }
    return out;
}

std::string Decoded(std::string bytes, TextEncoding from) {
    static const Transcoder transcoder;
    Transcoder::Decoded d = transcoder.Decode(bytes.data(), bytes.size(), from);
    return bytes.substr(0, d.size);
}

// Half of a text large enough to be looked over in two parts at once.
std::string Half() {
    return std::string(size_t{9} << 19, 'a');
}

TEST(EncodingDetection, MarksDecideElseOnlyValidUtf8WithAMultiByteCharacterIsUtf8) {
    const struct {
        const char* name;
        std::string bytes;
        TextEncoding expected;
    } cases[] = {
        {"empty", "", TextEncoding::ShiftJis},
        {"ASCII only: the cp932 path", "a,b\r\nc,d\r\n", TextEncoding::ShiftJis},
        {"cp932 Japanese", "\x96\xBC\x91\x4F,\x83\x5C\r\n", TextEncoding::ShiftJis},
        {"UTF-8 Japanese", "名前,ソ\r\n", TextEncoding::Utf8},
        {"UTF-8 mark",
         "\xEF\xBB\xBF"
         "a,b\r\n",
         TextEncoding::Utf8Bom},
        {"UTF-8 mark before bad bytes", "\xEF\xBB\xBF\x96\xBC", TextEncoding::Utf8Bom},
        {"UTF-16LE mark",
         "\xFF\xFE"
         "a\0"s,
         TextEncoding::Utf16Le},
        {"UTF-16BE mark", "\xFE\xFF\0a"s, TextEncoding::Utf16Be},
        // Half-width kana ﾃ (0xC3) and ｽ (0xBD) make "ý" in UTF-8: valid, so UTF-8.
        {"cp932 kana pair that is valid UTF-8", "\xC3\xBD\r\n", TextEncoding::Utf8},
        {"cp932 kana that is not", "\xC3\xBD\xC4\r\n", TextEncoding::ShiftJis},
        {"valid UTF-8, then one bad byte far on", std::string(5000, 'a') + "名" + "\x81",
         TextEncoding::ShiftJis},
        {"overlong form", "\xC0\xAF", TextEncoding::ShiftJis},
        {"surrogate", "\xED\xA0\x80", TextEncoding::ShiftJis},
        {"past U+10FFFF", "\xF4\x90\x80\x80", TextEncoding::ShiftJis},
        {"sequence cut by the end", "ab\xE5\x90", TextEncoding::ShiftJis},
        {"NUL ends the text", "abc\0名"s, TextEncoding::ShiftJis},
        {"four-byte character", "😀", TextEncoding::Utf8},
        // Large enough to be checked in parts at once, cut at the middle.
        {"a character across the middle", Half() + "名" + Half(), TextEncoding::Utf8},
        {"Japanese only at the end", Half() + Half() + "名", TextEncoding::Utf8},
        {"Japanese only amid ASCII", std::string(999, 'a') + "名" + std::string(999, 'a'),
         TextEncoding::Utf8},
        {"a bad byte only at the end", Half() + "名" + Half() + "\x81", TextEncoding::ShiftJis},
        {"continuations at the middle", Half() + "\x80\x80\x80\x80" + Half(),
         TextEncoding::ShiftJis},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DetectEncoding(c.bytes), c.expected) << c.name;
    }
}

// ICU's strict reading as the oracle for detection and the decoder, on random
// mixes of ASCII, lead and continuation bytes (never a mark, never NUL).
TEST(EncodingDetection, AgreesWithIcuOnWhatIsValidUtf8) {
    std::mt19937 rng(17);
    const unsigned char pool[] = {'a',  ',',  0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC1, 0xC2,
                                  0xDF, 0xE0, 0xE1, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0x81, 0xB1};
    const std::u32string characters = U"a,名ｱé😀\u07FF\u0800\uD7FF\uE000\uFFFF\U00010000\U0010FFFF";
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(1 + rng() % 16, 'a');
        for (char& b : bytes)
            b = static_cast<char>(pool[rng() % std::size(pool)]);
        // Every tenth is long, of whole characters, with a pool byte put in
        // somewhere in most: blocks and the edges between them.
        if (round % 10 == 0) {
            bytes.clear();
            for (size_t n = rng() % 400; n > 0; --n)
                bytes += Utf8Of(characters[rng() % characters.size()]);
            if (round % 30) bytes.insert(rng() % (bytes.size() + 1), 1, char(pool[rng() % 20]));
        }
        UErrorCode status = U_ZERO_ERROR;
        int32_t length = 0;
        u_strFromUTF8(nullptr, 0, &length, bytes.data(), static_cast<int32_t>(bytes.size()),
                      &status);
        const bool valid = status != U_INVALID_CHAR_FOUND;
        const bool high = bytes.find_first_not_of("a,") != std::string::npos;
        ASSERT_EQ(DetectEncoding(bytes),
                  valid && high ? TextEncoding::Utf8 : TextEncoding::ShiftJis)
            << ::testing::PrintToString(bytes);
        // The decoder, which large files take for the check, marks the same.
        std::string decoded = bytes;
        ASSERT_EQ(
            Transcoder().Decode(decoded.data(), decoded.size(), TextEncoding::Utf8).unreadable,
            !valid)
            << ::testing::PrintToString(bytes);
    }
}

// The line end a file uses most, against counting each LF with the byte
// before it, on random mixes long enough to be counted sixteen bytes a step.
TEST(EncodingDetection, LineEndIsTheOneUsedMost) {
    std::mt19937 rng(11);
    for (int round = 0; round < 2000; ++round) {
        std::string text(rng() % 300, 'a');
        for (char& b : text)
            b = "a\r\n"[rng() % 3];
        size_t lone = 0;
        size_t pairs = 0;
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n') ++(i > 0 && text[i - 1] == '\r' ? pairs : lone);
        ASSERT_EQ(DetectLineEnd(text), lone > pairs ? LineEnd::Lf : LineEnd::CrLf) << text;
    }
}

// The converter against the codec: every character decodes to the bytes
// Utf8ToCp932 gives it, or is marked when Utf8ToCp932 refuses it, in UTF-8
// and UTF-16, alone (the last bytes of a text take a path of their own) and
// amid others, and so do random mixes of them.
std::string Expected(char32_t c) {
    const Cp932Encoding oracle = Utf8ToCp932(Utf8Of(c));
    return oracle.ok() ? oracle.bytes : std::string(Transcoder::kUnheldMark);
}

TEST(Transcoder, DecodesEveryCharacterAsTheCodecEncodesIt) {
    for (char32_t c = 0x80; c < 0x20000; c = c == 0xFFFF ? 0x1F600 : c + 1) {
        if (c >= 0xD800 && c < 0xE000) continue;
        const std::string utf8 = Utf8Of(c);
        const std::string expected = Expected(c);
        ASSERT_EQ(Decoded(utf8, TextEncoding::Utf8), expected) << std::hex << unsigned(c);
        ASSERT_EQ(Decoded("a" + utf8 + "bcd", TextEncoding::Utf8), "a" + expected + "bcd")
            << std::hex << unsigned(c);
        const bool le = c % 2;
        ASSERT_EQ(Decoded(Utf16Of(utf8, le), le ? TextEncoding::Utf16Le : TextEncoding::Utf16Be),
                  expected)
            << std::hex << unsigned(c);
    }
    const std::u32string pool = U"aZ,\t~名ソ表ｱﾞ〜～−－¢￠—―é😀𠮷\u00A0\u0080①";
    std::mt19937 rng(3);
    for (int round = 0; round < 2000; ++round) {
        std::string utf8;
        std::string expected;
        for (size_t n = rng() % 12; n > 0; --n) {
            const char32_t c = pool[rng() % pool.size()];
            utf8 += Utf8Of(c);
            expected += c < 0x80 ? std::string(1, static_cast<char>(c)) : Expected(c);
        }
        ASSERT_EQ(Decoded(utf8, TextEncoding::Utf8), expected) << utf8;
        ASSERT_EQ(Decoded(Utf16Of(utf8, round % 2),
                          round % 2 ? TextEncoding::Utf16Le : TextEncoding::Utf16Be),
                  expected)
            << utf8;
    }
}

// Long mixes, which take the wide way where the processor has one, decode as
// their pieces do alone and count the seven as the codec does.
TEST(Transcoder, LongTextsDecodeAsTheirPiecesDoAlone) {
    struct Piece {
        std::string bytes;
        char32_t c = 0;  // 0 for pieces that are no character
    };
    std::vector<Piece> pieces = {{std::string(70, 'a')}};
    for (const char32_t c : std::u32string_view(U"a,名ソｱﾞ〜～−－¢￠—―éЯα→①\uFFFF"))
        pieces.push_back({Utf8Of(c), c});
    // Bad bytes and characters cp932 lacks are rare, as in a real file, so
    // that most blocks are whole.
    const std::vector<Piece> rare = {{"\xC0"},         {"\xF5"},          {"\xE0\x81\x81"},
                                     {"\xE5\x90"},     {"\xC3"},          {"\xED\xA0\x80"},
                                     {"\xF0\x90\x80"}, {Utf8Of(0x1F600)}, {Utf8Of(0x80)}};
    const Cp932Tables& tables = Cp932TablesOnce();
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        std::string expected;
        FormCounts counts;
        const size_t nul = round % 4 ? SIZE_MAX : rng() % 400;
        for (size_t i = 0, n = rng() % 400; i < n; ++i) {
            const Piece& piece = i == nul     ? Piece{"\0"s}
                                 : rng() % 32 ? pieces[rng() % pieces.size()]
                                              : rare[rng() % rare.size()];
            text += piece.bytes;
            if (i >= nul) continue;
            expected += Decoded(piece.bytes, TextEncoding::Utf8);
            if (Cp932Form(piece.c, tables)) counts.Note(Cp932Form(piece.c, tables), piece.c);
        }
        Transcoder::Decoded decoded =
            Transcoder().Decode(text.data(), text.size(), TextEncoding::Utf8);
        ASSERT_EQ(text.substr(0, decoded.size), expected) << ::testing::PrintToString(text);
        ASSERT_EQ(decoded.microsoftForms, counts.MicrosoftForms())
            << ::testing::PrintToString(text);
    }
}

TEST(Transcoder, EncodesAnyBytesAsTheyAreShown) {
    const Transcoder transcoder;
    std::mt19937 rng(5);
    for (int round = 0; round < 3000; ++round) {
        std::string cp932(static_cast<size_t>(rng() % 12), '\0');
        for (char& b : cp932) {
            // Mostly high bytes, so that leads meet every kind of follower.
            b = static_cast<char>(rng() % 4 ? 0x80 + rng() % 0x80 : 0x20 + rng() % 0x60);
        }
        std::string utf8;
        transcoder.Encode(cp932, {TextEncoding::Utf8, 0x7F}, utf8);  // as cp932 decodes
        ASSERT_EQ(utf8, Cp932ToUtf8(cp932)) << ::testing::PrintToString(cp932);
    }
}

TEST(Transcoder, MarksWhatItCannotReadAndStopsAtNul) {
    const struct {
        std::string bytes;
        TextEncoding from;
        std::string cp932;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "a\x81z",
         TextEncoding::Utf8Bom, "a\xFEz"},
        {"\xE5\x90", TextEncoding::Utf8, "\xFE\xFE"},
        {"a\0名"s, TextEncoding::Utf8, "a"},
        {Utf16Of("a", true) + "\x00\xD8"
                              "b\0"s,
         TextEncoding::Utf16Le,
         "a\xFE"
         "b"},
        {Utf16Of("ab", false) + "\x30", TextEncoding::Utf16Be, "ab\xFE"},
        {Utf16Of("a", true) + "\0\0"s + Utf16Of("b", true).substr(2), TextEncoding::Utf16Le, "a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decoded(c.bytes, c.from), c.cp932) << ::testing::PrintToString(c.bytes);
    }
}

class UnicodeFiles : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, std::string_view bytes) {
        WriteBytes(dir_.File(name), bytes);
        return dir_.File(name);
    }

    TempDir dir_;
    TableModel model_;
};

TEST_F(UnicodeFiles, AFileSavesBackByteForByteInItsEncoding) {
    // Files as Tabulon writes them (quotes only where needed), with either
    // line end and either form of the seven characters that cp932 keeps as one.
    const std::string csv = "名前,\"say \"\"hi\"\"\",\"a,b\"\r\n〜10時,ｶﾅ,〜\t\r\n";
    const std::string tsv = "名前\t\"a\tb\"\ta,b\r\n—−\t¢£¬\t‖—\r\n";
    const struct {
        std::string name;
        std::string bytes;
        TextEncoding encoding;
    } cases[] = {
        {"a.csv", "\xEF\xBB\xBF" + csv, TextEncoding::Utf8Bom},
        {"b.csv", csv, TextEncoding::Utf8},
        {"c.tsv", tsv, TextEncoding::Utf8},
        {"d.csv", Utf16Of(csv, true), TextEncoding::Utf16Le},
        {"e.tsv", Utf16Of(tsv, false), TextEncoding::Utf16Be},
        {"f.csv", "\x96\xBC,\x81\x60\r\n", TextEncoding::ShiftJis},
        {"g.csv", "名前,\"a,b\"\n〜,x\n", TextEncoding::Utf8},
        {"h.tsv", Utf16Of("名前\t〜\n—\tx\n", true), TextEncoding::Utf16Le},
        {"i.csv", "～∥－,￠￡￢―\n", TextEncoding::Utf8},
    };
    for (const auto& c : cases) {
        OpenTableFile(model_, Write(c.name, c.bytes));
        EXPECT_EQ(model_.Encoding().encoding, c.encoding) << c.name;
        EXPECT_EQ(model_.CurrentFileName(), dir_.File(c.name));
        SaveTableFile(model_, dir_.File("out-" + c.name));
        EXPECT_EQ(ReadBytes(dir_.File("out-" + c.name)), c.bytes) << c.name;
    }
    // The cells hold cp932: 〜 as 0x8160 whichever form the file had.
    OpenTableFile(model_, dir_.File("b.csv"));
    EXPECT_EQ(model_.GetCell(1, 2),
              "\x81\x60"
              "10\x8E\x9E");
    EXPECT_EQ(model_.GetCell(3, 2), "\x81\x60\t");
}

TEST_F(UnicodeFiles, EachOfTheSevenKeepsTheFormTheFileUsedMost) {
    OpenTableFile(model_, Write("m.csv", "〜〜～,−\r\n"));
    model_.SetCell(2, 1, "\x81\x7C\x81\x60");  // typed: －～
    SaveTableFile(model_, dir_.File("m.csv"));
    EXPECT_EQ(ReadBytes(dir_.File("m.csv")), "〜〜〜,−〜\r\n");
    OpenTableFile(model_, Write("n.csv", "～～〜\r\n"));
    SaveTableFile(model_, dir_.File("n.csv"));
    EXPECT_EQ(ReadBytes(dir_.File("n.csv")), "～～～\r\n");
    // One the file never showed takes the form Linux programs use.
    OpenTableFile(model_, Write("o.csv", "―,a\n"));
    model_.SetCell(2, 1, "\x81\x60\x81\x5C");  // typed: 〜―
    SaveTableFile(model_, dir_.File("o.csv"));
    EXPECT_EQ(ReadBytes(dir_.File("o.csv")), "―,〜―\n");
}

TEST_F(UnicodeFiles, RandomTablesRoundTripInEveryEncodingAndSeparator) {
    testing::RandomTable random(23);
    for (int round = 0; round < 24; ++round) {
        const TextEncoding encoding = static_cast<TextEncoding>(round % 5);
        const std::string path = dir_.File(round % 2 ? "r.tsv" : "r.csv");
        TableModel saved;
        random.Fill(saved, {random.Int(1, 4), random.Int(1, 12), testing::TextKind::Japanese, 10,
                            round % 3 != 0, 20});
        for (int c = 1; c < saved.ColCount(); ++c)
            saved.SetCell(c, 0, "");
        // A first field left empty in a one-item table would read as no record at all.
        saved.SetCell(1, 1, "x");
        SaveTableFile(saved, path, encoding);
        const std::string bytes = ReadBytes(path);
        OpenTableFile(model_, path);
        ASSERT_EQ(Dump(model_), Dump(saved)) << "round " << round;
        EXPECT_EQ(model_.Encoding().encoding, encoding);
        SaveTableFile(model_, path);
        EXPECT_EQ(ReadBytes(path), bytes) << "round " << round;
    }
}

TEST_F(UnicodeFiles, CharactersCp932CannotHoldAreAskedAboutBeforeAnythingLoads) {
    // Record 4 item 2 holds 😀; é and 𠮷 follow; the ü lies in a field past
    // the items the first record makes, which its record widens the table to.
    const std::string path =
        Write("u.csv", "a,b\r\nc,d\r\ne,f\r\ng,😀\r\néé,𠮷,ü\r\n\"x\r\ny\",\"é\"\r\n");
    FillRows(model_, {{"old"}, {"kept"}, {""}});
    model_.SetCurrentFileName("/old.csv");
    UnheldCharacters asked;
    const auto answer = [&](bool yes) {
        return [&, yes](const UnheldCharacters& unheld) {
            asked = unheld;
            return yes;
        };
    };
    EXPECT_FALSE(OpenTableFile(model_, path, answer(false)));
    EXPECT_EQ(asked.count, 6);
    const std::vector<UnheldCharacter> first = {
        {U'😀', 4, 2}, {U'é', 5, 1}, {U'é', 5, 1}, {U'𠮷', 5, 2}, {U'ü', 5, 3}};
    EXPECT_EQ(asked.first, first);
    EXPECT_EQ(Dump(model_), "old\nkept\n\n");
    EXPECT_EQ(model_.CurrentFileName(), "/old.csv");

    EXPECT_TRUE(OpenTableFile(model_, path, answer(true)));
    EXPECT_EQ(model_.GetCell(2, 4), "\x81\xAC");  // 〓
    EXPECT_EQ(model_.GetCell(1, 5), "\x81\xAC\x81\xAC");
    EXPECT_EQ(model_.GetCell(1, 6), "xy");
    EXPECT_EQ(model_.CurrentFileName(), "");
    EXPECT_EQ(model_.Encoding().encoding, TextEncoding::Utf8);

    EXPECT_EQ(DescribeUnheld(first[0]), "「😀」 4行 2列");
    // Characters that would not show between the brackets go by their code point.
    EXPECT_EQ(DescribeUnheld({0xA0, 1, 3}), "「U+00A0」 1行 3列");
    EXPECT_EQ(DescribeUnheld({0x0301, 2, 1}), "「U+0301」 2行 1列");
    EXPECT_EQ(UnheldQuestion({1007, {first[0], first[3]}}),
              "Shift-JIS で表せない文字が 1,007 個あります。\n「😀」 4行 2列\n「𠮷」 5行 2列\n"
              "ほか 1,005 個\nそれぞれを 〓 に置き換えて開きますか？\n"
              "置き換えた表には名前が付かないので、元のファイルは上書きされません。");
    // Where no one can be asked, the characters are refused.
    EXPECT_THROW_MESSAGE(OpenTableFile(model_, path),
                         "ファイル " + path +
                             " には Shift-JIS で表せない文字が 6 個あります: 「😀」 4行 2列、"
                             "「é」 5行 1列、「é」 5行 1列、「𠮷」 5行 2列、「ü」 5行 3列");
}

TEST_F(UnicodeFiles, BytesAMarkedFileCannotReadNameTheirCellAndLoadNothing) {
    const struct {
        std::string bytes;
        std::string where;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "a,b\r\n\"x\r\ny,\",c\x81\r\n",
         "2行 2列 に UTF-8"},
        {"\xEF\xBB\xBF\xE5\x90", "1行 1列 に UTF-8"},
        {Utf16Of("a\tb\r\nc\t", true) + "\x00\xDC"s, "2行 2列 に UTF-16LE"},
        {Utf16Of("a\r\n", false) + "\x30", "2行 1列 に UTF-16BE"},
    };
    for (const auto& c : cases) {
        const bool tsv = c.where.find("UTF-16") != std::string::npos;
        const std::string path = Write(tsv ? "bad.tsv" : "bad.csv", c.bytes);
        FillRows(model_, {{"old"}, {""}});
        EXPECT_THROW_MESSAGE(OpenTableFile(model_, path), "ファイル " + path + " の " + c.where +
                                                              " として読めないバイトがあります");
        // As any load that fails: the reset table named after the file.
        EXPECT_EQ(Dump(model_), "\n\n\n");
        EXPECT_EQ(model_.CurrentFileName(), path);
    }
    // Without a mark such bytes only mean the file is cp932.
    OpenTableFile(model_, Write("plain.csv", "a,c\x81\r\n"));
    EXPECT_EQ(model_.GetCell(2, 1), "c\x81");
    EXPECT_EQ(model_.Encoding().encoding, TextEncoding::ShiftJis);
}

TEST_F(UnicodeFiles, AnEncodingCanBeToldInsteadOfDetected) {
    // ﾃｽ in cp932 is also "ý" in UTF-8, which detection prefers.
    const std::string path = Write("kana.csv", "\xC3\xBD\r\n");
    EXPECT_EQ(DetectFileEncoding(path), TextEncoding::Utf8);
    EXPECT_EQ(ReadTableFile(path).unheld.count, 1);
    TableReading reading = ReadTableFile(path, TextEncoding::ShiftJis);
    EXPECT_EQ(reading.unheld.count, 0);
    LoadTableReading(model_, std::move(reading));
    EXPECT_EQ(model_.GetCell(1, 1), "\xC3\xBD");
    EXPECT_EQ(model_.Encoding().encoding, TextEncoding::ShiftJis);
    EXPECT_EQ(DetectFileEncoding(Write("t.tbn", "\xEF\xBB\xBF")), TextEncoding::ShiftJis);
}

// Large files are read, checked and decoded a chunk at a time on every core;
// whatever they hold, they must come out as read whole and then decoded.
// Pieces of odd lengths put characters across every chunk and part cut.
TEST_F(UnicodeFiles, LargeFilesReadInOnePassAsWholeFilesAre) {
    const std::string mix = "名前,ｶﾅ〜—,\"say \"\"hi\"\"\",é😀ab\r\nかな,～－,x\n";
    const std::string cp932 = "\x96\xBC\x91\x4F,\xB6\xC5\r\n";
    const struct {
        std::string piece, middle;  // `middle` goes in once, three quarters in
        std::optional<TextEncoding> told;
        bool onePass;  // else read the usual way
    } cases[] = {
        {mix, "", {}, true},
        {mix, "\xEF\xBB\xBF", {}, true},  // a mark in the middle is a character
        {"ab,c\r\n", "", {}, true},
        {"ab,c\n", "", TextEncoding::Utf8, true},
        {mix, "\x81", {}, false},
        {mix, "\x81", TextEncoding::Utf8, false},
        {mix, "a\0b"s, {}, false},
        {cp932, "", {}, false},
    };
    const size_t half = Half().size();
    for (const auto& c : cases) {
        for (const bool marked : {false, true}) {
            std::string bytes = marked ? "\xEF\xBB\xBF" : "";
            while (bytes.size() < half + half / 2)  // inside a part, past its first chunk
                bytes += c.piece;
            bytes += c.middle;
            while (bytes.size() < 2 * half)
                bytes += c.piece;
            const std::string path = Write("large.csv", bytes);
            const auto read = [&](bool whole) {
                try {
                    const TableReading r =
                        whole ? ReadTableBytes(ReadFileBytes(path), TableFormat::Csv, path, c.told)
                              : ReadTableFile(path, c.told);
                    return ::testing::PrintToString(std::tuple(
                               r.encoding.encoding, r.encoding.microsoftForms, r.encoding.lineEnd,
                               r.unheld.count, r.unheld.first.size(), r.nulBytesDropped)) +
                           std::string(r.text.data(), r.text.size());
                } catch (const Error& e) {
                    return std::string(e.what());
                }
            };
            EXPECT_TRUE(read(false) == read(true)) << c.middle << marked;
            EXPECT_EQ(ReadUtf8File(path, c.told.has_value()).has_value(), c.onePass);
        }
    }
}

TEST_F(UnicodeFiles, TsvQuotesTabsQuotesAndLineBreaksButNotCommas) {
    FillRows(model_, {{"", "", ""}, {"a\tb", "x,y", "say \"hi\""}, {"", "", ""}});
    model_.SetCell(3, 2, "z\r\nw");
    model_.SetRowCount(4);
    SaveTableFile(model_, dir_.File("q.tsv"));
    EXPECT_EQ(ReadBytes(dir_.File("q.tsv")),
              "\"a\tb\"\tx,y\t\"say \"\"hi\"\"\"\r\n\t\t\"z\r\nw\"\r\n");
    OpenTableFile(model_, dir_.File("q.tsv"));
    EXPECT_EQ(Dump(model_), "\t\t\na\tb\tx,y\tsay \"hi\"\n\t\tzw\n\t\t\n");
}

TEST_F(UnicodeFiles, SavingRemembersTheEncodingItsFileNowHas) {
    OpenTableFile(model_, Write("s.csv", "\xEF\xBB\xBF〜\r\n"));
    EXPECT_EQ(model_.Encoding(), (FileEncoding{TextEncoding::Utf8Bom}));
    SaveTableFile(model_, dir_.File("s.tsv"), TextEncoding::Utf8);
    EXPECT_EQ(ReadBytes(dir_.File("s.tsv")), "〜\r\n");
    SaveTableFile(model_, dir_.File("s.tbn"));
    EXPECT_EQ(model_.Encoding(), FileEncoding{});
    SaveCsv(model_, dir_.File("t.csv"));
    EXPECT_EQ(ReadBytes(dir_.File("t.csv")), "\x81\x60\r\n");
    model_.SetEncoding({TextEncoding::Utf8});
    model_.ResetToEmpty();
    EXPECT_EQ(model_.Encoding(), FileEncoding{});
}

TEST(SaveFormats, AreTheSixFiltersAndOneMatchesTheDocument) {
    std::string filters;
    for (const SaveFormat& format : SaveFormats()) {
        filters += SaveFormatFilter(format) + ";";
    }
    EXPECT_EQ(filters,
              "Tabulon表 (*.tbn);CSV Shift-JIS (*.csv);CSV UTF-8 (*.csv);CSV UTF-8 BOM (*.csv);"
              "TSV UTF-8 (*.tsv);TSV Shift-JIS (*.tsv);");
    const struct {
        std::string path;
        TextEncoding encoding;
        size_t index;
    } cases[] = {
        {"", TextEncoding::ShiftJis, 0},       {"/a.tbn", TextEncoding::ShiftJis, 0},
        {"/a.csv", TextEncoding::ShiftJis, 1}, {"/a.csv", TextEncoding::Utf8Bom, 3},
        {"/a.tsv", TextEncoding::Utf8, 4},     {"/a.tsv", TextEncoding::Utf16Le, 4},
        {"/a.txt", TextEncoding::ShiftJis, 0}, {"", TextEncoding::Utf8, 2},
    };
    for (const auto& c : cases) {
        TableModel model;
        model.SetCurrentFileName(c.path);
        model.SetEncoding({c.encoding});
        EXPECT_EQ(SaveFormatIndex(model), c.index) << c.path;
    }
    EXPECT_EQ(FormatOfPath("/x/a.tsv"), TableFormat::Tsv);
    EXPECT_EQ(FormatOfPath("/x/a.TSV"), TableFormat::Other);
}

}  // namespace
}  // namespace tabulon
