#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TableText.h"
#include "TestFiles.h"
#include "ThrownMessage.h"
#include "files/HtmlExport.h"
#include "table/TableModel.h"
#include "text/Cp932.h"
#include "text/Error.h"

namespace tabulon {
namespace {

using testing::FillRows;
using testing::Rows;

std::vector<std::string> Lines(const std::string& page) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = page.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        lines.push_back(page.substr(start, end - start));
    }
    return lines;
}

struct GoldenCase {
    const char* file;
    Rows rows;
    FontDesc font;
    std::string title;
    bool header;
};

FontDesc BoldItalicArial12() {
    FontDesc font;
    font.faceName = "Arial";
    font.SetSize(12);
    font.style = kBold | kItalic | kUnderline | kStrikeOut;
    font.color = 0x000000FF;
    return font;
}

FontDesc ItalicSize10() {
    FontDesc font;
    font.SetSize(10);
    font.style = kItalic;
    return font;
}

TEST(SaveHtml, WritesTheGoldenPagesByteForByte) {
    const std::vector<GoldenCase> cases = {
        {"basic.htm",
         {{"\x96\xBC\x91\x4F" /* 名前 */, "", "memo"},
          {"abc", "", " "},
          {"\x83\x41\x83\x43" /* アイ */, "1", "x y"},
          {"tail", "t", "t"}},
         FontDesc(),
         "abc",
         true},
        {"escaped_bold_italic.htm",
         {{"a<b", "c"},
          {"<script>alert(\"x&y\")</script>", "a>b"},
          {"Tom's", "&amp;"},
          {"\x95\x5C\x83\x5C" /* 表ソ: trail bytes 0x5C */, ""},
          {"", ""}},
         BoldItalicArial12(),
         "Q&A \"<b>\"",
         false},
        {"two_rows_header.htm", {{"ID", ""}, {"ignored", "too"}}, ItalicSize10(), "", true},
    };
    testing::TempDir folder;
    for (const GoldenCase& c : cases) {
        TableModel model;
        FillRows(model, c.rows);
        model.SetFont(c.font);
        const std::string out = folder.File(c.file);
        SaveHtml(model, out, c.title, c.header);
        EXPECT_EQ(testing::ReadBytes(out),
                  testing::ReadBytes(std::string(TABULON_TEST_DATA) + "/" + c.file))
            << c.file;
    }
}

TEST(SaveHtml, WritesScriptInACellAndTheTitleAsText) {
    TableModel model;
    FillRows(model, {{"<script>x()</script>"}, {"<script>alert(1)</script>"}, {""}});
    testing::TempDir folder;
    const std::string out = folder.File("page.html");
    SaveHtml(model, out, "</title><script>y()</script>", true);
    const std::string page = testing::ReadBytes(out);
    EXPECT_EQ(page.find("<script"), std::string::npos);
    const std::vector<std::string> lines = Lines(page);
    EXPECT_EQ(lines[3], "<title>&lt;/title&gt;&lt;script&gt;y()&lt;/script&gt;</title>");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "<th>&lt;script&gt;x()&lt;/script&gt;</th>"),
              lines.end());
    EXPECT_NE(
        std::find(lines.begin(), lines.end(), "<td>&lt;script&gt;alert(1)&lt;/script&gt;</td>"),
        lines.end());
}

TEST(DefaultHtmlTitle, IsTheFileNameWithWhatCp932CannotHoldAsQuestionMarks) {
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"/home/u/住所録.tbn", "住所録"},
        {"/home/u/a.b.csv", "a.b"},
        {"", ""},
        {"/home/u/〜予定−.tbn", "〜予定−"},  // Linux's forms, which cp932 takes
        {"/home/u/报告😀.tbn", "?告?"},
        {"/home/u/bad\xFF\xFEname.tbn", "bad??name"},
        {"/home/u/\xE5\x90.tbn", "?"},  // a cut-off character
    };
    for (const auto& c : cases) {
        const std::string title = DefaultHtmlTitle(c.path);
        EXPECT_EQ(title, c.title) << c.path;
        EXPECT_TRUE(Utf8ToCp932(title).ok()) << c.path;
    }
}

TEST(SaveHtml, WritesOnlyTheRowsTheHeaderOptionAsksFor) {
    struct Case {
        Rows rows;
        bool header;
        std::vector<std::string> tableLines;  // between the table tags
    };
    const std::vector<Case> cases = {
        {{{"a", "b"}, {"x", ""}}, false, {}},
        {{{"a", "b"}, {"x", ""}}, true, {"<tr>", "<th>a</th>", "<th>b</th>", "</tr>"}},
        {{{"a"}, {"1"}, {"2"}, {"last"}},
         false,
         {"<tr>", "<td>1</td>", "</tr>", "<tr>", "<td>2</td>", "</tr>"}},
        {{{""}, {""}, {"last"}},
         true,
         {"<tr>", "<th><br></th>", "</tr>", "<tr>", "<td><br></td>", "</tr>"}},
    };
    testing::TempDir folder;
    for (const Case& c : cases) {
        TableModel model;
        FillRows(model, c.rows);
        model.SetCell(0, 0, "marker column text");
        const std::string out = folder.File("rows.htm");
        SaveHtml(model, out, "", c.header);
        const std::vector<std::string> lines = Lines(testing::ReadBytes(out));
        const auto table = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.starts_with("<table ");
        });
        ASSERT_NE(table, lines.end());
        const std::vector<std::string> tableLines(table + 1, lines.end() - 3);
        EXPECT_EQ(tableLines, c.tableLines);
        EXPECT_EQ(lines[3], "<style type=\"text/css\">") << "no title line for an empty title";
    }
}

TEST(SaveHtml, ReplacesAnExistingFileWithoutLeavingATemporary) {
    testing::TempDir folder;
    const std::string out = folder.File("out");
    testing::WriteBytes(out, "old content that is longer than nothing");
    TableModel model;
    SaveHtml(model, out, "t", true);
    const std::string page = testing::ReadBytes(out);
    EXPECT_TRUE(page.starts_with("<!DOCTYPE HTML PUBLIC"));
    EXPECT_TRUE(page.ends_with("</html>\r\n"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.File("")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(SaveHtml, ReportsFilesThatCannotBeCreatedOrWritten) {
    testing::TempDir folder;
    const std::string missing = folder.File("no such folder/out.htm");
    struct Case {
        std::string path;
        std::string message;
    };
    for (const Case& c :
         {Case{missing, "ファイル " + missing + " を作成できません"},
          Case{folder.File(""), "ファイル " + folder.File("") + " を作成できません: フォルダです"},
          Case{"/dev/full", "ファイル /dev/full を作成できません: デバイスです"}}) {
        TableModel model;
        EXPECT_THROW_MESSAGE(SaveHtml(model, c.path, "t", true), c.message) << c.path;
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(missing).parent_path()));
}

}  // namespace
}  // namespace tabulon
