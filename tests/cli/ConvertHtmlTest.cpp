#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "TestFiles.h"
#include "files/HtmlExport.h"
#include "files/TableFile.h"

namespace {

// A native file with item names, a record with markup and the trailing row.
std::string MakeTable(const tabulon::testing::TempDir& folder, const std::string& name) {
    tabulon::TableModel model;
    model.SetColCount(3);
    model.SetRowCount(3);
    model.SetCell(1, 0, "Item");
    model.SetCell(2, 0, "");
    model.SetCell(1, 1, "<b>");
    model.SetCell(2, 1, "");
    const std::string path = folder.File(name);
    tabulon::SaveTableFile(model, path);
    return path;
}

TEST(CliConvert, WritesHtmlAsTheExportDoesWithTheInitialFont) {
    struct Case {
        std::vector<std::string> options;
        std::string out;
        std::string title;  // cp932, as the page is to hold it
        bool header;
    };
    const std::vector<Case> cases = {
        {{}, "a.htm", "\x96\xBC\x95\xEB" /* 名簿: the input's short name */, true},
        {{"--title", "a<b&\xE5\x90\x8D"}, "b.html", "a<b&\x96\xBC", true},
        {{"--title", ""}, "c.htm", "", true},
        {{"--no-header", "--title", "t"}, "d.htm", "t", false},
    };
    tabulon::testing::TempDir folder;
    const std::string in = MakeTable(folder, "\xE5\x90\x8D\xE7\xB0\xBF.tbn");  // 名簿.tbn
    for (const Case& c : cases) {
        std::vector<std::string> args = {"convert", in, folder.File(c.out)};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const tabulon::testing::CliResult run = tabulon::testing::RunCli(args, folder.path());
        ASSERT_EQ(run.exitCode, 0) << run.err;

        tabulon::TableModel model;
        tabulon::OpenTableFile(model, in);
        const std::string expected = folder.File("expected.htm");
        tabulon::SaveHtml(model, expected, c.title, c.header);
        EXPECT_EQ(tabulon::testing::ReadBytes(folder.File(c.out)),
                  tabulon::testing::ReadBytes(expected))
            << c.out;
    }

    // A name cp932 cannot wholly hold still gives a title, "?" for what it lacks.
    const std::string odd = MakeTable(folder, "\xE6\x8A\xA5\xE5\x91\x8A.tbn");  // 报告.tbn
    const tabulon::testing::CliResult run =
        tabulon::testing::RunCli({"convert", odd, folder.File("e.htm")}, folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    tabulon::TableModel model;
    tabulon::OpenTableFile(model, odd);
    tabulon::SaveHtml(model, folder.File("expected.htm"), "?\x8D\x90" /* ?告 */, true);
    EXPECT_EQ(tabulon::testing::ReadBytes(folder.File("e.htm")),
              tabulon::testing::ReadBytes(folder.File("expected.htm")));
}

TEST(CliConvert, RefusesHtmlOptionsForOtherOutputsAndTitlesCp932CannotHold) {
    tabulon::testing::TempDir folder;
    const std::string in = MakeTable(folder, "in.tbn");
    const std::string usage = "usage: tabulon-cli convert IN OUT [--title TEXT] [--no-header]";
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{in, folder.File("o.csv"), "--title", "t"}, usage},
        {{in, folder.File("o.tbn"), "--no-header"}, usage},
        {{in, folder.File("o.htm"), "--title"}, usage},
        {{in, folder.File("o.htm"), "--bold"}, usage},
        {{in, folder.File("o.HTM")}, "未対応の拡張子を検出しました"},
        {{in, folder.File("o.htm"), "--title", "\xF0\x9F\x98\x80"}, "は Shift-JIS で表せません"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"convert"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const tabulon::testing::CliResult run = tabulon::testing::RunCli(args, folder.path());
        EXPECT_EQ(run.exitCode, 2) << c.error;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("o.htm")));
}

}  // namespace
