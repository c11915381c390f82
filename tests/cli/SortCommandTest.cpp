#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "TestFiles.h"
#include "files/TableFile.h"

namespace {

// Records "id,key": ｱｲｳ has 3 characters and 3 bytes, アイ 2 characters and 4 bytes.
const std::vector<std::string> kRecords = {
    "1,b", "2,\xB1\xB2\xB3", "3,\x83\x41\x83\x43", "4,", "5,b", "6,Ab"};

std::string Csv(const std::vector<int>& ids) {
    std::string text;
    for (int id : ids) {
        text += kRecords[static_cast<size_t>(id - 1)] + "\r\n";
    }
    return text;
}

TEST(CliSort, SortsACsvFileInEachOrder) {
    const std::vector<std::vector<int>> expected = {
        {4, 6, 1, 5, 3, 2},  // text ascending, bytes unsigned
        {2, 3, 1, 5, 6, 4},  // text descending
        {4, 1, 5, 3, 6, 2},  // characters ascending
        {2, 3, 6, 1, 5, 4},  // characters descending
        {4, 1, 5, 6, 2, 3},  // bytes ascending
        {3, 2, 6, 1, 5, 4},  // bytes descending
    };
    tabulon::testing::TempDir folder;
    const std::string in = folder.File("in.csv");
    tabulon::testing::WriteBytes(in, Csv({1, 2, 3, 4, 5, 6}));
    for (int order = 0; order < 6; ++order) {
        const std::string out = folder.File("out" + std::to_string(order) + ".csv");
        const tabulon::testing::CliResult run = tabulon::testing::RunCli(
            {"sort", in, out, "--key", "1", "--order", std::to_string(order)}, folder.path());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(tabulon::testing::ReadBytes(out), Csv(expected[static_cast<size_t>(order)]))
            << "order " << order;
    }
}

TEST(CliSort, WritesTheNativeFormatByExtensionKeepingItemNamesAndLastRow) {
    tabulon::testing::TempDir folder;
    const std::string in = folder.File("in.tbn");
    {
        tabulon::TableModel model;
        model.SetColCount(3);
        model.SetRowCount(5);
        const std::vector<std::vector<std::string>> rows = {
            {"name", "age"}, {"c", "30"}, {"a", "4"}, {"b", "100"}, {"zz", "0"}};
        for (int r = 0; r < 5; ++r) {
            for (int c = 0; c < 2; ++c) {
                model.SetCell(c + 1, r, rows[static_cast<size_t>(r)][static_cast<size_t>(c)]);
            }
        }
        tabulon::SaveTableFile(model, in);
    }
    const std::string out = folder.File("out.tbn");
    const tabulon::testing::CliResult run =
        tabulon::testing::RunCli({"sort", in, out, "--order", "5", "--key", "1"}, folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    tabulon::TableModel sorted;
    tabulon::OpenTableFile(sorted, out);
    // The last record held text: it took its part in the sort, and the empty
    // row that typing would have appended follows it.
    EXPECT_EQ(sorted.GetColTexts(1), (std::vector<std::string>{"name", "b", "c", "a", "zz", ""}));
    EXPECT_EQ(sorted.GetColTexts(2), (std::vector<std::string>{"age", "100", "30", "4", "0", ""}));
}

TEST(CliSort, RefusesBadArgumentsWithoutWritingAnything) {
    tabulon::testing::TempDir folder;
    const std::string in = folder.File("in.csv");
    tabulon::testing::WriteBytes(in, Csv({1, 2}));
    const std::string out = folder.File("out.csv");
    const std::string missing = folder.File("missing.csv");
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const std::string usage = "usage: tabulon-cli sort IN OUT --key I --order K";
    const std::vector<Case> cases = {
        {{in, out, "--order", "0"}, usage},
        {{in, out, "--key", "0"}, usage},
        {{in, out, "--key", "0", "--order", "6"}, usage},
        {{in, out, "--key", "-1", "--order", "0"}, usage},
        {{in, out, "--key", "1x", "--order", "0"}, usage},
        {{in, out, "--key", "0", "--order"}, usage},
        {{in, out, "extra", "--key", "0", "--order", "0"}, usage},
        {{in, out, "--key", "0", "--order", "0", "--title", "t"}, usage},
        {{in, out, "--key", "2", "--order", "0"}, "グリッドインデックス が範囲を超えています"},
        {{missing, folder.File("out.txt"), "--key", "0", "--order", "0"},
         "未対応の拡張子を検出しました"},
        {{missing, out, "--key", "0", "--order", "0"}, "ファイル " + missing + " は開けません"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"sort"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const tabulon::testing::CliResult run = tabulon::testing::RunCli(args, folder.path());
        EXPECT_EQ(run.exitCode, 2) << c.error;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.error;
    }
}

}  // namespace
