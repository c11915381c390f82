// tabulon-cli find, run as a program: what it prints, where, and its exit code.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "TestFiles.h"
#include "files/NativeFile.h"
#include "table/TableModel.h"
#include "text/Cp932.h"

namespace tabulon {
namespace {

class FindCommand : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new testing::TempDir;
        // Items 1..3 and records 1..3, then the empty last row 4.
        const char* const rows[][4] = {
            {"", "名前", "読み", "メモ"},
            {"", "ＡＢＣ", "ｶﾞｯｺｳ", "abc"},
            {"", "がっこう", "ガッコウ", ""},
            {"", "xyz", "abc def", "ABC"},
        };
        TableModel model;
        model.SetColCount(4);
        model.SetRowCount(5);
        for (int r = 0; r < 4; ++r) {
            for (int c = 1; c < 4; ++c) {
                model.SetCell(c, r, Utf8ToCp932OrThrow(rows[r][c]));
            }
        }
        SaveNative(model, folder_->File("table.tbn"));
    }
    static void TearDownTestSuite() { delete folder_; }

    static testing::CliResult Find(const std::vector<std::string>& args) {
        std::vector<std::string> all = {"find", folder_->File("table.tbn")};
        all.insert(all.end(), args.begin(), args.end());
        return testing::RunCli(all, folder_->path());
    }

    static inline testing::TempDir* folder_ = nullptr;
};

struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string out;
    std::string errStart;  // standard error must begin with this
};

TEST_F(FindCommand, PrintsTheHitsOfEachSearchOrWhyThereAreNone) {
    const Case cases[] = {
        // Find next from (1, 1) over the whole table.
        {{"abc"}, 0, "2,3\n", ""},
        {{"abc", "--at", "2,3"}, 0, "3,1\n", ""},
        {{"abc", "--at", "3,3"}, 1, "", "見つかりませんでした\n"},
        {{"abc", "--at", "1,3", "--place", "1", "--way", "0"}, 0, "2,3\n", ""},
        {{"abc", "--at", "3,1", "--place", "1", "--way", "1"}, 0, "3,3\n", ""},
        {{"ＡＢＣ", "--match-case"}, 0, "3,3\n", ""},
        {{"ＡＢＣ", "--match-case", "--match-width"}, 1, "", "見つかりませんでした\n"},
        // Find all, in scan order, cell texts unfolded.
        {{"abc", "--all"}, 0, "1\t1\tＡＢＣ\n2\t3\tabc def\n3\t1\tabc\n3\t3\tABC\n", ""},
        {{"abc", "--all", "--match-case"}, 0, "2\t3\tabc def\n3\t1\tabc\n", ""},
        {{"abc", "--all", "--match-width"}, 0, "2\t3\tabc def\n3\t1\tabc\n3\t3\tABC\n", ""},
        {{"ガッコウ", "--all", "--whole-cell"}, 0, "2\t1\tｶﾞｯｺｳ\n2\t2\tガッコウ\n", ""},
        {{"abc", "--all", "--at", "3,2", "--place", "1", "--way", "1"},
         0,
         "3\t1\tabc\n3\t3\tABC\n",
         ""},
        {{"名前", "--all"}, 1, "", "１つも見つかりませんでした\n"},
        // Element search: row numbers of one item.
        {{"abc", "--element", "2"}, 0, "1\n3\n", ""},
        {{"", "--element", "2", "--whole-cell"}, 0, "2\n4\n", ""},
        {{"名前", "--element", "0"}, 1, "", "１つも見つかりませんでした\n"},
        // Failures.
        {{"abc", "--at", "4,1"}, 2, "", "グリッドインデックス が範囲を超えています\n"},
        {{"abc", "--at", "1"}, 2, "", "usage: tabulon-cli find FILE TEXT"},
        {{"abc", "--all", "--element", "1"}, 2, "", "usage: tabulon-cli find FILE TEXT"},
        {{"abc", "--place", "2"}, 2, "", "usage: tabulon-cli find FILE TEXT"},
        {{"abc", "--element", "-1"}, 2, "", "usage: tabulon-cli find FILE TEXT"},
        {{"abc", "--element", "3"}, 2, "", "グリッドインデックス が範囲を超えています\n"},
        {{"", "--element", "99"}, 2, "", "グリッドインデックス が範囲を超えています\n"},
        {{"abc", "--way"}, 2, "", "usage: tabulon-cli find FILE TEXT"},
        {{"abc", "--bogus"}, 2, "", "usage: tabulon-cli find FILE TEXT"},
        {{"\xF0\x9F\x98\x80"}, 2, "", ""},  // no cp932 form
    };
    for (const Case& c : cases) {
        std::ostringstream name;
        for (const std::string& arg : c.args) {
            name << arg << ' ';
        }
        SCOPED_TRACE(name.str());
        const testing::CliResult result = Find(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err.substr(0, c.errStart.size()), c.errStart);
        EXPECT_EQ(result.err.empty(), c.exitCode == 0);
    }
}

TEST(FindCommandWholeCharacters, BytesAcrossTwoCharactersAreNoHitAndLinuxFormsFindTheirs) {
    testing::TempDir folder;
    TableModel model;
    model.SetColCount(2);
    model.SetRowCount(4);
    model.SetCell(1, 1, Utf8ToCp932OrThrow("驕慢"));  // e9 81 96 9d: ＊ is 81 96
    model.SetCell(1, 2, Utf8ToCp932OrThrow("10～20"));
    SaveNative(model, folder.File("t.tbn"));
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string out;
    } cases[] = {
        {{"＊"}, 1, ""},
        {{"＊", "--all", "--match-case", "--match-width"}, 1, ""},
        {{"＊", "--element", "0"}, 1, ""},
        {{"〜", "--all"}, 0, "1\t2\t10～20\n"},  // U+301C finds U+FF5E
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"find", "t.tbn"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const testing::CliResult result = testing::RunCli(args, folder.path());
        EXPECT_EQ(result.exitCode, c.exitCode) << c.args.size();
        EXPECT_EQ(result.out, c.out) << c.args.size();
    }
}

TEST_F(FindCommand, ReportsAFileThatCannotBeOpened) {
    const std::string missing = folder_->File("missing.tbn");
    const testing::CliResult result = testing::RunCli({"find", missing, "abc"}, folder_->path());
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "ファイル " + missing + " は開けません\n");
}

// filter writes the matching records (CSV holds no item names) and counts them.
TEST_F(FindCommand, FilterWritesOnlyTheMatchingRecords) {
    const Case cases[] = {
        {{"--item", "2", "abc"}, 0, "2\nＡＢＣ,ｶﾞｯｺｳ,abc\r\nxyz,abc def,ABC\r\n", ""},
        {{"--item", "2", "abc", "--item", "0", "x"}, 0, "1\nxyz,abc def,ABC\r\n", ""},
        {{"--item", "2", "abc", "--match-case"}, 0, "1\nＡＢＣ,ｶﾞｯｺｳ,abc\r\n", ""},
        {{"--item", "0", "名前"}, 1, "0\n", "１つも見つかりませんでした\n"},
        {{"--item", "3", "abc"}, 2, "", "グリッドインデックス が範囲を超えています\n"},
        {{"--item", "0"}, 2, "", "usage: tabulon-cli filter IN OUT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1] + c.args.back());
        std::vector<std::string> args = {"filter", folder_->File("table.tbn"), "out.csv"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::filesystem::remove(folder_->File("out.csv"));
        const testing::CliResult result = testing::RunCli(args, folder_->path());
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err.substr(0, c.errStart.size()), c.errStart);
        std::ifstream written(folder_->File("out.csv"), std::ios::binary);
        std::stringstream csv;
        csv << written.rdbuf();
        EXPECT_EQ(result.out + Cp932ToUtf8(csv.str()), c.out);
    }
}

}  // namespace
}  // namespace tabulon
