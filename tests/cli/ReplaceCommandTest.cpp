// tabulon-cli replace, run as a program: the count it prints, the table it
// writes, its exit code, and what it refuses before writing anything.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "TableText.h"
#include "TestFiles.h"
#include "files/NativeFile.h"
#include "files/TableFile.h"
#include "table/CellPosition.h"
#include "text/Cp932.h"

namespace tabulon {
namespace {

// Items 1..3 and records 1..3, then the empty last row 4; UTF-8 here, cp932 in the file.
const std::vector<std::vector<std::string>> kRows = {
    {"名前", "読み", "メモ"},
    {"ＡＢＣ", "ｶﾞｯｺｳ", "abc"},
    {"がっこう", "ガッコウ", ""},
    {"驕慢1～2", "abc def", "ABC"},
    {"", "", ""},
};

// The table as Dump shows it, in UTF-8, rows changed by `edit`.
std::string Expected(const std::vector<std::pair<CellPosition, std::string>>& edits,
                     int extraRows = 0) {
    std::vector<std::vector<std::string>> rows = kRows;
    for (int i = 0; i < extraRows; ++i) {
        rows.push_back({"", "", ""});
    }
    for (const auto& [cell, text] : edits) {
        rows[static_cast<size_t>(cell.row)][static_cast<size_t>(cell.col - 1)] = text;
    }
    std::string dump;
    for (const auto& row : rows) {
        dump += row[0] + "\t" + row[1] + "\t" + row[2] + "\n";
    }
    return dump;
}

class ReplaceCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::Rows rows;
        for (const auto& row : kRows) {
            rows.push_back({});
            for (const std::string& text : row) {
                rows.back().push_back(Utf8ToCp932OrThrow(text));
            }
        }
        TableModel model;
        testing::FillRows(model, rows);
        SaveNative(model, folder_.File("in.tbn"));
    }

    testing::CliResult Replace(const std::vector<std::string>& args, const std::string& out) {
        std::filesystem::remove(folder_.File(out));
        std::vector<std::string> all = {"replace", "in.tbn", out};
        all.insert(all.end(), args.begin(), args.end());
        return testing::RunCli(all, folder_.path());
    }

    // OUT loaded back, in UTF-8.
    std::string Written(const std::string& out) {
        TableModel model;
        OpenTableFile(model, folder_.File(out));
        return Cp932ToUtf8(testing::Dump(model));
    }

    testing::TempDir folder_;
};

TEST_F(ReplaceCommand, PrintsTheCountAndWritesTheReplacedTable) {
    const struct {
        std::vector<std::string> args;
        int count;
        std::string table;
    } cases[] = {
        {{"abc", "X"},
         4,
         Expected({{{1, 1}, "X"}, {{3, 1}, "X"}, {{2, 3}, "X def"}, {{3, 3}, "X"}})},
        {{"abc", "X", "--match-case"}, 2, Expected({{{3, 1}, "X"}, {{2, 3}, "X def"}})},
        {{"ガッコウ", "学校", "--whole-cell"}, 2, Expected({{{2, 1}, "学校"}, {{2, 2}, "学校"}})},
        {{"ｯ", "ッ", "--match-width"}, 1, Expected({{{2, 1}, "ｶﾞッｺｳ"}})},
        {{"abc", "X", "--place", "1", "--way", "0", "--at", "1,3"},
         2,
         Expected({{{2, 3}, "X def"}, {{3, 3}, "X"}})},
        // Filling the last row appends an empty one, as typing does.
        {{"", "空", "--whole-cell", "--place", "1", "--way", "1", "--at", "3,1"},
         2,
         Expected({{{3, 2}, "空"}, {{3, 4}, "空"}}, 1)},
        // Linux's wave dash finds Microsoft's; Linux's minus goes in as its cp932 form.
        {{"〜", "−"}, 1, Expected({{{1, 3}, "驕慢1－2"}})},
        {{"1～2", "\n"}, 1, Expected({{{1, 3}, "驕慢"}})},
    };
    for (const auto& c : cases) {
        std::ostringstream name;
        for (const std::string& arg : c.args) {
            name << arg << ' ';
        }
        SCOPED_TRACE(name.str());
        const testing::CliResult result = Replace(c.args, "out.tbn");
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, std::to_string(c.count) + "\n");
        EXPECT_EQ(Written("out.tbn"), c.table);
    }
}

TEST_F(ReplaceCommand, NothingMatchedStillWritesTheTableAndExitsWithOne) {
    // ＊ is 81 96, which lies across 驕 (e9 81) and 慢 (96 9d): no character of it.
    for (const char* search : {"＊", "xyzzy"}) {
        const testing::CliResult result = Replace({search, "*"}, "out.tbn");
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "0\n");
        EXPECT_EQ(result.err, "見つかりませんでした\n");
        EXPECT_EQ(testing::ReadBytes(folder_.File("out.tbn")),
                  testing::ReadBytes(folder_.File("in.tbn")));
    }
}

TEST_F(ReplaceCommand, RefusesBeforeWritingAnything) {
    const struct {
        std::vector<std::string> args;
        std::string out;
        std::string errStart;
    } cases[] = {
        {{"abc", "😀"}, "out.tbn", "「😀」(U+1F600) は Shift-JIS で表せません"},
        {{"😀", "x"}, "out.tbn", "「😀」(U+1F600) は Shift-JIS で表せません"},
        {{"abc", "x"}, "out.txt", "未対応の拡張子を検出しました"},
        {{"abc", "x", "--at", "4,1"}, "out.tbn", "グリッドインデックス が範囲を超えています"},
        {{"abc"}, "out.tbn", "usage: tabulon-cli replace IN OUT TEXT NEW"},
        {{"abc", "x", "--all"}, "out.tbn", "usage: tabulon-cli replace IN OUT TEXT NEW"},
        {{"abc", "x", "--place", "2"}, "out.tbn", "usage: tabulon-cli replace IN OUT TEXT NEW"},
        {{"abc", "x", "--way"}, "out.tbn", "usage: tabulon-cli replace IN OUT TEXT NEW"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const testing::CliResult result = Replace(c.args, c.out);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.substr(0, c.errStart.size()), c.errStart);
        EXPECT_FALSE(std::filesystem::exists(folder_.File(c.out)));
    }
}

}  // namespace
}  // namespace tabulon
