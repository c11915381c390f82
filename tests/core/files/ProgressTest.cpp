// The progress of opening and saving: rising to 100, reported about once a
// percent whatever the number of records; and the converter, which works in
// steps for it, cutting no character at a step's end.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "RandomTable.h"
#include "TestFiles.h"
#include "files/TableFile.h"
#include "text/Transcoder.h"

namespace tabulon {
namespace {

using namespace std::string_literals;

// Runs `operation` with a progress and checks what it reported: rising to
// 100 through more than `steps` values, but at most once a percent for each
// of the (at most four) passes over the file, not once a record.
void ExpectRisingProgress(size_t steps, const std::function<void(const Progress&)>& operation) {
    std::vector<int> percents;
    operation([&](int percent) { percents.push_back(percent); });
    ASSERT_FALSE(percents.empty());
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_GE(percents.front(), 0);
    EXPECT_EQ(percents.back(), 100);
    EXPECT_GT(std::set<int>(percents.begin(), percents.end()).size(), steps);
    EXPECT_LE(percents.size(), 4u * 101);
}

TEST(Progress, OpenAndSaveReportRisingProgressInEveryFormat) {
    const std::pair<const char*, TextEncoding> cases[] = {
        {"a.tbn", TextEncoding::ShiftJis}, {"a.csv", TextEncoding::ShiftJis},
        {"a.csv", TextEncoding::Utf8},     {"a.tsv", TextEncoding::Utf8Bom},
        {"a.csv", TextEncoding::Utf16Le},  {"a.tsv", TextEncoding::Utf16Be},
    };
    testing::TempDir dir;
    TableModel table;
    // Quotes in the fields make the CSV loader count records in a pass of its own.
    testing::RandomTable(7).Fill(table, {.itemColumns = 3, .records = 5000, .csvSafe = false});
    for (const auto& [name, format] : cases) {
        const TextEncoding encoding = format;  // a lambda may not capture a binding (clang 14)
        SCOPED_TRACE(name + " "s + std::string(EncodingDisplayName(encoding)));
        const std::string path = dir.File(name);
        ExpectRisingProgress(
            20, [&](const Progress& progress) { SaveTableFile(table, path, encoding, progress); });
        TableModel model;
        ExpectRisingProgress(20, [&](const Progress& progress) {
            OpenTableFile(
                model, path, [](const UnheldCharacters&) { return false; }, progress);
        });
        EXPECT_EQ(model.RowCount(), table.RowCount());
    }
}

// Texts of a few steps of the converter, each repeating one character so that
// a step's end falls inside one: three UTF-8 bytes, four after one byte, and a
// UTF-16 surrogate pair after one unit.
TEST(Progress, ConvertingInStepsCutsNoCharacter) {
    const struct {
        TextEncoding encoding;
        std::string lead;  // and what it becomes
        std::string_view leadCp932;
        std::string character;  // and what each becomes
        std::string_view cp932;
    } cases[] = {
        {TextEncoding::Utf8, "", "", "\xE3\x81\x82", "\x82\xA0"},                     // あ
        {TextEncoding::Utf8, "a", "a", "\xF0\x9F\x98\x80", Transcoder::kUnheldMark},  // 😀
        {TextEncoding::Utf16Le,
         "\xFF\xFE"
         "a\0"s,
         "a", "\x3D\xD8\x00\xDE"s, Transcoder::kUnheldMark},
    };
    const Transcoder transcoder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.character.size() + c.lead.size());
        const size_t count = (size_t{9} << 20) / c.character.size();
        std::string text = c.lead;
        std::string expected(c.leadCp932);
        for (size_t i = 0; i < count; ++i) {
            text += c.character;
            expected += c.cp932;
        }
        Transcoder::Decoded decoded;
        ExpectRisingProgress(2, [&](const Progress& progress) {
            decoded = transcoder.Decode(text.data(), text.size(), c.encoding, progress);
        });
        EXPECT_TRUE(std::string_view(text.data(), decoded.size) == expected);
        EXPECT_FALSE(decoded.unreadable);
        EXPECT_EQ(decoded.unheld.size(), c.cp932 == Transcoder::kUnheldMark ? count : 0);
    }
}

}  // namespace
}  // namespace tabulon
