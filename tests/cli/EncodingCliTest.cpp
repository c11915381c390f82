// The command line with UTF-8, UTF-16 and TSV files: detection on reading,
// --encoding on writing, the encoding command, and the refusals.

#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TestFiles.h"

namespace tabulon {
namespace {

using namespace std::string_literals;
using testing::ReadBytes;
using testing::RunCli;
using testing::TempDir;
using testing::WriteBytes;

// 名前,〜 / 山田,0123 in UTF-8, with 〜 as Linux writes it (U+301C).
const char kUtf8[] = "名前,〜\r\n山田,0123\r\n";
const char kCp932[] = "\x96\xBC\x91\x4F,\x81\x60\r\n\x8E\x52\x93\x63,0123\r\n";

TEST(CliEncoding, ConvertReadsAnyEncodingAndWritesCp932UnlessTold) {
    TempDir dir;
    WriteBytes(dir.File("u.csv"), kUtf8);
    WriteBytes(dir.File("bom.csv"), "\xEF\xBB\xBF"s + kUtf8);
    WriteBytes(dir.File("s.csv"), kCp932);
    const struct {
        std::vector<std::string> args;
        std::string out;
        std::string bytes;
    } cases[] = {
        {{"convert", "u.csv", "a.csv"}, "a.csv", kCp932},
        {{"convert", "bom.csv", "b.tsv"},
         "b.tsv",
         "\x96\xBC\x91\x4F\t\x81\x60\r\n\x8E\x52\x93\x63\t0123\r\n"},
        {{"convert", "u.csv", "c.csv", "--encoding", "utf-8"}, "c.csv", kUtf8},
        {{"convert", "s.csv", "d.csv", "--encoding", "utf-8-bom"},
         "d.csv",
         "\xEF\xBB\xBF名前,〜\r\n山田,0123\r\n"},  // no form shown: the Linux one
        {{"convert", "u.csv", "e.tsv", "--encoding", "cp932"},
         "e.tsv",
         "\x96\xBC\x91\x4F\t\x81\x60\r\n\x8E\x52\x93\x63\t0123\r\n"},
        {{"convert", "u.csv", "f.tbn"},
         "f.tbn",
         "3\r\n4\r\n15\r\n64\r\n64\r\n\r\n\x96\xBC\x91\x4F\r\n\x8E\x52\x93\x63\r\n\r\n\r\n"
         "\x81\x60\r\n0123\r\n\r\n"},
        // sort keeps IN's encoding for a CSV or TSV OUT.
        {{"sort", "u.csv", "g.csv", "--key", "1", "--order", "5"},
         "g.csv",
         "山田,0123\r\n名前,〜\r\n"},
    };
    for (const auto& c : cases) {
        const auto result = RunCli(c.args, dir.path());
        EXPECT_EQ(result.exitCode, 0) << c.out << ": " << result.err;
        EXPECT_EQ(ReadBytes(dir.File(c.out)), c.bytes) << c.out;
    }
    // info's three lines do not change with the encoding.
    EXPECT_EQ(RunCli({"info", "u.csv"}, dir.path()).out, RunCli({"info", "s.csv"}, dir.path()).out);
}

TEST(CliEncoding, EncodingPrintsWhatAFileIsReadAs) {
    TempDir dir;
    const struct {
        std::string name;
        std::string bytes;
        std::string printed;
    } cases[] = {
        {"ascii.csv", "a,b\r\n", "cp932\n"},
        {"sjis.tsv", kCp932, "cp932\n"},
        {"u.tsv", kUtf8, "utf-8\n"},
        {"bom.csv",
         "\xEF\xBB\xBF"
         "a\r\n",
         "utf-8-bom\n"},
        {"le.csv",
         "\xFF\xFE"
         "a\0"s,
         "utf-16le\n"},
        {"be.csv", "\xFE\xFF\0a"s, "utf-16be\n"},
        {"t.tbn", kUtf8, "cp932\n"},
    };
    for (const auto& c : cases) {
        WriteBytes(dir.File(c.name), c.bytes);
        const auto result = RunCli({"encoding", c.name}, dir.path());
        EXPECT_EQ(result.exitCode, 0) << c.name;
        EXPECT_EQ(result.out, c.printed) << c.name;
    }
}

TEST(CliEncoding, RefusalsPrintTheirMessageAndWriteNothing) {
    TempDir dir;
    WriteBytes(dir.File("u.csv"), kUtf8);
    WriteBytes(dir.File("emoji.csv"), "a,b\r\nc,😀\r\n");
    WriteBytes(dir.File("bad.csv"),
               "\xEF\xBB\xBF"
               "a,b\r\nc,\x81\r\n");
    const std::string usage = "usage: tabulon-cli convert IN OUT";
    const struct {
        std::vector<std::string> args;
        std::string err;  // the start of what is printed
    } cases[] = {
        {{"convert", "emoji.csv", "o.tbn"},
         "ファイル " + dir.File("emoji.csv") +
             " には Shift-JIS で表せない文字が 1 個あります: 「😀」 2行 2列\n"},
        {{"info", "bad.csv"},
         "ファイル " + dir.File("bad.csv") +
             " の 2行 2列 に UTF-8 として読めないバイトがあります\n"},
        {{"convert", "u.csv", "o.csv", "--encoding", "utf-16le"}, usage},
        {{"convert", "u.csv", "o.tbn", "--encoding", "utf-8"}, usage},
        {{"convert", "u.csv", "o.html", "--encoding", "utf-8"}, usage},
        {{"convert", "u.csv", "o.csv", "--encoding"}, usage},
        {{"encoding", "u.txt"}, "未対応の拡張子を検出しました\n"},
        {{"encoding", "missing.csv"}, "ファイル " + dir.File("missing.csv") + " は開けません\n"},
        {{"encoding"}, "usage: tabulon-cli encoding FILE"},
    };
    for (const auto& c : cases) {
        const auto result = RunCli(c.args, dir.path());
        EXPECT_EQ(result.exitCode, 2) << c.args[1];
        EXPECT_EQ(result.err.substr(0, c.err.size()), c.err) << c.args[1];
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(dir.Listing(), "bad.csv emoji.csv u.csv");
    const std::string help = RunCli({"--help"}, dir.path()).out;
    for (const char* word : {"encoding FILE", "--encoding E", "utf-8-bom", "tsv"}) {
        EXPECT_NE(help.find(word), std::string::npos) << word;
    }
}

}  // namespace
}  // namespace tabulon
