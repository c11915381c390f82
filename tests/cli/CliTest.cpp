#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "CliRunner.h"
#include "TestFiles.h"

namespace tabulon {
namespace {

using testing::ReadBytes;
using testing::RunCli;
using testing::TempDir;
using testing::WriteBytes;

const char kTable[] =
    "3\r\n3\r\n15\r\n70\r\n64\r\n\x96\xBC\x91\x4F\r\n\x8E\x52\x93\x63\r\n\r\n"
    "\x93\x64\x98\x62\r\n0123\r\n\r\n";

TEST(Cli, InfoPrintsCountsAndWidths) {
    TempDir dir;
    WriteBytes(dir.File("a.tbn"), kTable);
    const auto result = RunCli({"info", "a.tbn"}, dir.path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "columns 3\nrows 3\nwidths 15 70 64\n");
    EXPECT_EQ(result.err, "");

    WriteBytes(dir.File("b.csv"), "a,b,c\r\nd\r\n");
    EXPECT_EQ(RunCli({"info", dir.File("b.csv")}, "/").out,
              "columns 4\nrows 4\nwidths 15 64 64 64\n");

    WriteBytes(dir.File("b.csv~"), "old");  // left by a save that did not finish
    EXPECT_EQ(RunCli({"info", "b.csv"}, dir.path()).err,
              "ファイル " + dir.File("b.csv") + " の保存は完了していません。元の内容が " +
                  dir.File("b.csv~") + " に残っています\n");
}

TEST(Cli, ConvertWritesTheFormatOfTheOutputName) {
    TempDir dir;
    WriteBytes(dir.File("a.tbn"), kTable);
    auto result = RunCli({"convert", "a.tbn", "b.csv"}, dir.path());
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(dir.File("b.csv")), "\x8E\x52\x93\x63,0123\r\n");

    result = RunCli({"convert", "b.csv", "c.tbn"}, dir.path());
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(dir.File("c.tbn")),
              "3\r\n3\r\n15\r\n64\r\n64\r\n\r\n\x8E\x52\x93\x63\r\n\r\n\r\n0123\r\n\r\n");

    // ".." after a symbolic link leads where the kernel says: beside its target.
    std::filesystem::create_directories(dir.File("real/sub"));
    std::filesystem::create_symlink("real/sub", dir.File("link"));
    EXPECT_EQ(RunCli({"convert", "a.tbn", "link/../d.csv"}, dir.path()).exitCode, 0);
    EXPECT_EQ(ReadBytes(dir.File("real/d.csv")), ReadBytes(dir.File("b.csv")));
}

TEST(Cli, ErrorsPrintTheMessageAndWriteNothing) {
    TempDir dir;
    WriteBytes(dir.File("bad.tbn"), "3\r\nthree\r\n");
    WriteBytes(dir.File("a.tbn"), kTable);
    WriteBytes(dir.File("old.csv"), "old");
    // 120 KB that ask for a table of 100,002 columns and 20,003 rows.
    WriteBytes(dir.File("bomb.csv"), std::string(100'000, ',') + std::string(20'001, '\n'));
    const std::string tooLarge =
        "ファイル " + dir.File("bomb.csv") + " は大きすぎるため開けません\n";
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"info", "missing.tbn"}, "ファイル " + dir.File("missing.tbn") + " は開けません\n"},
        {{"info", "bad.tbn"}, "'three' は整数ではありません\n"},
        {{"info", "a.TBN"}, "未対応の拡張子を検出しました\n"},
        {{"convert", "bad.tbn", "old.csv"}, "'three' は整数ではありません\n"},
        {{"convert", "a.tbn", "out.txt"}, "未対応の拡張子を検出しました\n"},
        {{"info", "bomb.csv"}, tooLarge},
        {{"convert", "bomb.csv", "out.tbn"}, tooLarge},
        {{"convert", "a.tbn", "nofolder/out.csv"},
         "ファイル " + dir.File("nofolder/out.csv") + " を作成できません\n"},
        {{"convert", "a.tbn", "pipe.csv"},
         "ファイル " + dir.File("pipe.csv") + " を作成できません: 名前付きパイプです\n"},
    };
    ::mkfifo(dir.File("pipe.csv").c_str(), 0600);
    for (const auto& c : cases) {
        const auto result = RunCli(c.args, dir.path());
        EXPECT_EQ(result.exitCode, 2) << c.args[1];
        EXPECT_EQ(result.err, c.err) << c.args[1];
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(ReadBytes(dir.File("old.csv")), "old");
    EXPECT_EQ(dir.Listing(), "a.tbn bad.tbn bomb.csv old.csv pipe.csv");
}

TEST(Cli, HelpAndVersion) {
    TempDir dir;
    const auto help = RunCli({"--help"}, dir.path());
    EXPECT_EQ(help.exitCode, 0);
    for (const char* word : {"info FILE",
                             "convert IN OUT",
                             "find FILE TEXT",
                             "sort IN OUT",
                             "replace IN OUT TEXT NEW",
                             "tabulon-cli replace",
                             "--match-case",
                             "--whole-cell",
                             "--match-width",
                             "--at",
                             "--place",
                             "--way",
                             "--all",
                             "--element",
                             "--key",
                             "--order",
                             "--title",
                             "--no-header",
                             "--version",
                             "Exit status",
                             "tabulon-cli sort"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    }
    EXPECT_EQ(RunCli({}, dir.path()).err, help.out);
    const auto version = RunCli({"--version"}, dir.path());
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("tabulon-cli ") + TABULON_VERSION + "\n");
}

TEST(Cli, WrongArgumentsAreAnError) {
    TempDir dir;
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"info"}, {"info", "a.tbn", "b.tbn"}, {"convert", "a.tbn"}}) {
        const auto result = RunCli(args, dir.path());
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.err.find("usage"), std::string::npos);
    }
}

}  // namespace
}  // namespace tabulon
