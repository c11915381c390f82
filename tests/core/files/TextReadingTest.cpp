#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <random>

#include "ThrownMessage.h"
#include "files/PathNames.h"
#include "files/TextFile.h"
#include "text/IntegerText.h"

namespace tabulon {
namespace {

using namespace std::string_literals;

std::vector<std::string> Split(std::string text) {
    // Up to its first NUL, a few lines at a time, as the table loaders read.
    std::string untouched = text.substr(0, text.find('\0'));
    std::vector<std::string> read;
    std::vector<std::string_view> some(3);
    for (char* at = untouched.data(); at < untouched.data() + untouched.size();)
        read.insert(read.end(), some.begin(),
                    some.begin() + static_cast<std::ptrdiff_t>(
                                       ReadLines(at, untouched.data() + untouched.size(), some)));
    // Passing over lines lands where reading them does, many blocks on.
    std::vector<std::string_view> many(40);
    char* const untouchedEnd = untouched.data() + untouched.size();
    for (char *skipping = untouched.data(), *reading = skipping; reading < untouchedEnd;) {
        EXPECT_EQ(SkipLines(skipping, untouchedEnd, many.size()),
                  ReadLines(reading, untouchedEnd, many));
        if (skipping != reading) {
            ADD_FAILURE() << "passed to " << skipping - untouched.data();
            break;
        }
    }
    text.push_back('\0');  // the writable byte after the text
    LineReader reader(text.data(), text.size() - 1);
    const size_t counted = reader.CountRemaining();
    EXPECT_EQ(LineReader(text.data(), text.size() - 1).Skip(SIZE_MAX), counted);
    std::vector<std::string> lines;
    for (std::string_view line; reader.Next(line);)
        lines.emplace_back(line);
    EXPECT_EQ(counted, lines.size());
    EXPECT_EQ(read, lines);
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, SplitsAtEveryKindOfLineEnd) {
    const struct {
        std::string text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"a\n\rb", {"a", "", "b"}},  // LF CR is two line ends
        {"\r\n\r\n", {"", ""}},
        {"\r", {""}},
        {"\r\r\n", {"", ""}},
        {"a\0b\nc"s, {"a"}},
        {"\0"s, {}},
        {"\x83\x5C\r\n\x95\x7C", {"\x83\x5C", "\x95\x7C"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Split(c.text), c.lines) << c.text;
    }
}

TEST(LineReader, CountsWhatItReadsOnRandomText) {
    std::mt19937 rng(1);
    // Lines longer than a word, and bytes one bit off CR and LF.
    const char alphabet[] = {'a', '\r', '\n', 'b', '\x8D', '\x8A', '\x0C', '\0'};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        // Now and then long enough for the counts summed from many steps,
        // and then without a NUL, which would end it early.
        const bool longText = round % 100 == 0;
        const int length = static_cast<int>(rng() % (longText ? 20000 : 40));
        for (int i = 0; i < length; ++i)
            text += alphabet[rng() % (std::size(alphabet) - (longText ? 1 : 0))];
        Split(text);  // checks the count against the lines read
    }
}

TEST(IntegerText, ReadsDecimalAndHexadecimalForms) {
    const struct {
        const char* text;
        std::optional<int32_t> value;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"  42", 42},
        {"+7", 7},
        {"-12", -12},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$FF", 255},
        {"0x1f", 31},
        {"x10", 16},
        {"X10", 16},
        {"-$10", -16},
        {"$FF000008", static_cast<int32_t>(0xFF000008u)},
        {"$FFFFFFFF", -1},
        {"$00000000FF", 255},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"3 ", std::nullopt},
        {"\t3", std::nullopt},
        {"1a", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"0X1F", std::nullopt},
        {"+-1", std::nullopt},
        {"- 1", std::nullopt},
        {"$G", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseInteger(c.text), c.value) << "'" << c.text << "'";
    }
    EXPECT_THROW_MESSAGE(ReadInteger("\x83\x5C!"), "'ソ!' は整数ではありません");
    for (const auto& [value, grouped] :
         std::vector<std::pair<int64_t, std::string>>{{0, "0"},
                                                      {999, "999"},
                                                      {1000, "1,000"},
                                                      {-1067009, "-1,067,009"},
                                                      {100000, "100,000"}}) {
        EXPECT_EQ(GroupedDigits(value), grouped);
    }
}

TEST(PathNames, TakePathsApartAtTheLastSeparatorAndDot) {
    const struct {
        const char* path;
        const char* ext;
        const char* shortName;
        const char* folder;
    } cases[] = {
        {"/data/list.tbn", "tbn", "list", "/data"},
        {"/データ/住所録.tbn", "tbn", "住所録", "/データ"},
        {"/a.b/list", "", "list", "/a.b"},
        {"/a/list.", "", "list", "/a"},
        {"/a/archive.tar.gz", "gz", "archive.tar", "/a"},
        {"/a/.hidden", "hidden", "", "/a"},
        {"list.tbn", "", "", "list.tbn"},
        {"/a/data.CSV", "CSV", "data", "/a"},
        {"/", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileExtension(c.path), c.ext) << c.path;
        EXPECT_EQ(FileStem(c.path), c.shortName) << c.path;
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    }
}

}  // namespace
}  // namespace tabulon
