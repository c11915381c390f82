#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RandomTable.h"
#include "TestFiles.h"
#include "ThrownMessage.h"
#include "edit/CellBlocks.h"
#include "edit/HtmlTable.h"
#include "edit/TableOperations.h"
#include "edit/UndoHistory.h"
#include "files/NativeFile.h"
#include "text/Cp932.h"

namespace tabulon {
namespace {

using testing::RandomTable;

// A random cp932 block, rectangular; cells may hold what needs quoting.
CellBlock RandomBlock(RandomTable& random, bool withSpecials) {
    static const char* const kSpecials[] = {"\t", "\"", "\r\n", "\n", "\r", ",", "\"\""};
    std::vector<std::vector<std::string>> rows(static_cast<size_t>(random.Int(1, 6)));
    const int cols = random.Int(1, 5);
    for (auto& row : rows) {
        for (int c = 0; c < cols; ++c) {
            std::string text = random.Text(testing::TextKind::Japanese, 8, false);
            if (withSpecials && random.Int(0, 2) == 0) {
                text.insert(static_cast<size_t>(random.Int(0, 1)) * text.size(),
                            kSpecials[random.Int(0, std::size(kSpecials) - 1)]);
            }
            row.push_back(random.Int(0, 5) ? text : "");
        }
    }
    return rows;
}

TEST(CellBlocks, TabSeparatedTextReadsBackAsWritten) {
    RandomTable random(41);
    for (int round = 0; round < 500; ++round) {
        const CellBlock block = RandomBlock(random, true);
        const std::string text = WriteTabSeparated(block);
        ASSERT_EQ(ParseTabSeparated(text), block) << text;
        if (text.find_first_of("\r\n") == text.size() - 1) {  // cells hold no line break
            ASSERT_EQ(CellBlock(ReadHtmlTable(WriteHtmlTable(block))), block) << text;
        }
    }
}

// Copy a random block of a random table, paste the clipboard's text into
// another table elsewhere: every cell lands where its place in the block says.
TEST(CellBlocks, CopiedBlocksPasteElsewhereAsTheyWere) {
    RandomTable random(42);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TableModel source;
        random.Fill(source, {random.Int(1, 6), random.Int(1, 8), testing::TextKind::Japanese, 10,
                             false, 15});
        const CellPosition first{random.Int(1, source.ColCount() - 1),
                                 random.Int(1, source.RowCount() - 1)};
        const CellPosition last{random.Int(first.col, source.ColCount() + 1),
                                random.Int(first.row, source.RowCount() + 1)};
        const PastedBlock pasted = ReadPastedBlock(CopyBlock(source, first, last).plain);
        ASSERT_TRUE(pasted.ok());
        ASSERT_EQ(pasted.cells, GetBlockTexts(source, first, last));

        TableModel target;
        const CellPosition at{1, random.Int(1, 2)};
        PasteCells(target, at, pasted.cells);
        const int cols = std::min(last.col, source.ColCount() - 1) - first.col + 1;
        const int rows = std::min(last.row, source.RowCount() - 1) - first.row + 1;
        ASSERT_EQ(target.ColCount(), cols + 1);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                ASSERT_EQ(target.GetCell(at.col + c, at.row + r),
                          source.GetCell(first.col + c, first.row + r));
            }
        }
    }
}

TEST(CellBlocks, SpreadsheetQuotingIsReadBack) {
    const struct {
        const char* what;
        const char* text;
        CellBlock block;
        Quoting quoting = Quoting::Strict;
    } cases[] = {
        {"nothing", "", {}},
        {"trailing LF makes no empty record", "a\tb\nc\td\n", {{"a", "b"}, {"c", "d"}}},
        {"CR LF, last record unended", "a\tb\r\nc\td", {{"a", "b"}, {"c", "d"}}},
        {"lone CR", "a\rb\r", {{"a"}, {"b"}}},
        {"empty records inside", "a\n\n\nb\n", {{"a"}, {""}, {""}, {"b"}}},
        {"one empty cell", "\n", {{""}}},
        {"empty last cell", "a\t\n", {{"a", ""}}},
        {"tab at the very end", "a\t", {{"a", ""}}},
        {"quoted tab, line break, quote",
         "\"x\ty\"\t\"l1\r\nl2\"\t\"say \"\"hi\"\"\"\n",
         {{"x\ty", "l1\r\nl2", "say \"hi\""}}},
        {"quoted empty cell", "\"\"\tz\n", {{"", "z"}}},
        {"quote inside an unquoted cell", "a\"b\t5\"\n", {{"a\"b", "5\""}}},
        {"text after the closing quote", "\"高橋\"次郎\tx\n", {{"\"高橋\"次郎", "x"}}},
        {"an undoubled inner quote", "\"say \"hi\"\"\n", {{"\"say \"hi\"\""}}},
        {"Calc's own form quotes only around breaks",
         "\"引用\"\t\"a\nb\"\t\"t\tu\"\t\"x\"\"y\"\n",
         {{"\"引用\"", "a\nb", "t\tu", "\"x\"\"y\""}},
         Quoting::BreaksOnly},
        {"an unclosed quote is a character", "\"open\tx\ny\n", {{"\"open", "x"}, {"y"}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseTabSeparated(c.text, c.quoting), c.block) << c.what;
    }
}

TEST(CellBlocks, CopyWritesQuotesAndReferencesOnlyWhereNeeded) {
    TableModel model;
    // 表 (0x95 0x5C) ends in a backslash byte, which needs nothing.
    // 〜 (0x81 0x60) goes out in the JIS form, U+301C.
    testing::FillRows(
        model,
        {{"", "", ""}, {" a", "b  c", "x\"y"}, {"\x81\x60", "\x95\x5C,1", "&<>"}, {"", "", ""}});
    // The empty last row stays behind unless it is the whole block.
    const ClipboardTexts copied = CopyBlock(model, {1, 1}, {3, 3});
    EXPECT_EQ(copied.plain, " a\tb  c\t\"x\"\"y\"\n\u301C\t表,1\t&<>\n");
    const std::string td = "<td sdnum=\"1041;0;@\" style=\"mso-number-format:'\\@'\">";
    EXPECT_EQ(copied.html,
              "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">\n"
              "<table>\n<tr>" +
                  td + "&nbsp;a</td>" + td + "b&nbsp;&nbsp;c</td>" + td +
                  "x&quot;y</td></tr>\n<tr>" + td + "\u301C</td>" + td + "表,1</td>" + td +
                  "&amp;&lt;&gt;</td></tr>\n</table>\n");
    EXPECT_EQ(CopyBlock(model, {1, 3}, {2, 3}).plain, "\t\n");
    EXPECT_EQ(WriteTabSeparated({{"t\tu", "l\nm"}}), "\"t\tu\"\t\"l\nm\"\n");
    EXPECT_EQ(CopyBlock(model, {2, 2}, {2, 2}).plain, "表,1\n");
}

// Calc 7.4's three forms of one block (as typed: a 〜 in U+301C, a line break
// inside a cell, cells beginning with a quote). LibreOffice's own form and
// the HTML table land exactly; the plain text, last in line, loses the line
// break and the quotes around "引用".
TEST(CellBlocks, CalcFormsLandInTheirOrderOfPreference) {
    const auto read = [](const char* name) {
        return testing::ReadBytes(std::string(TABULON_TEST_DATA) + "/calc74_block." + name);
    };
    const std::string plain = read("txt"), tsvc = read("tsvc"), html = read("html");
    const std::string exact =
        "\t\t\t\t\n氏名\tﾌﾘｶﾞﾅ\t番号\t住所\t備考\n"
        "山田太郎\tﾔﾏﾀﾞ ﾀﾛｳ\t0123\t東京都千代田区, 丸の内\t9:00～17:00\n\t\t\t\t\n"
        "鈴木花子\tｽｽﾞｷ ﾊﾅｺ\t00456\t大阪市北区\t彼は\"はい\"と言った\n"
        "佐藤一郎\tｻﾄｳ ｲﾁﾛｳ\t789\t一行目二行目\t～\n"
        "\"高橋\"次郎\tﾀｶﾊｼ\t0001\t札幌市,中央区\t\"引用\"\n\t\t\t\t\n";
    std::string fromPlain = exact;
    fromPlain.insert(fromPlain.find("二行目"), " ");
    fromPlain.replace(fromPlain.find("\"引用\""), std::string_view("\"引用\"").size(), "引用");
    const struct {
        const char* what;
        ClipboardForms forms;
        const std::string& dump;
    } cases[] = {
        {"all three", {plain, tsvc, html}, exact},
        {"HTML and text", {plain, {}, html}, exact},
        {"text alone", {plain, {}, {}}, fromPlain},
        {"a web page's table", {plain, {}, "<table><tr><td>x</td></tr></table>"}, fromPlain},
    };
    for (const auto& c : cases) {
        const PastedBlock pasted = ReadPastedBlock(c.forms);
        ASSERT_TRUE(pasted.ok()) << c.what;
        TableModel model;
        PasteCells(model, {1, 1}, pasted.cells);
        EXPECT_EQ(Cp932ToUtf8(testing::Dump(model)), c.dump) << c.what;
    }
    std::string emoji = html;
    emoji.insert(emoji.find("ﾀｶﾊｼ"), "😀");
    EXPECT_EQ(ReadPastedBlock(ClipboardForms{plain, {}, emoji}).unmappable,
              std::vector<char32_t>{U'😀'});
}

TEST(CellBlocks, HtmlTablesReadCellForCell) {
    const struct {
        const char* html;
        CellBlock block;
    } cases[] = {
        {"no table", {}},
        {"<style>td{}</style><!-- <table> --><TABLE><tr><TD>1</td><td>2<br>3</td></tr><tr></tr>"
         "</table><table><tr><td>not read</td></tr></table>",
         {{"1", "2\n3"}, {""}}},
        {"<table><td>a&amp;b&lt;&#x3042;&#12354;&nbsp;&bogus; &#0;&#xD800;</td>",
         {{"a&b<ああ &bogus; \uFFFD\uFFFD"}}},
        {"<table><tr><td colspan=\"3\">a</td><th>b</th>", {{"a", "", "", "b"}}},
        {"<table><td><b>x</b><table><tr><td>y</td></tr></table>z</td><td>w", {{"xyz", "w"}}},
        {"<table><td>\r\n  a\n  b  c \n</td><td title=\"x>y\">q<</td>", {{"a b  c", "q<"}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CellBlock(ReadHtmlTable(c.html)), c.block) << c.html;
    }
    EXPECT_FALSE(IsSpreadsheetHtml("<table><tr><td>x</td></tr></table>"));
    EXPECT_TRUE(
        IsSpreadsheetHtml("<html xmlns:x=\"urn:schemas-microsoft-com:office:excel\"><table>"));
}

// LibreOffice Calc 7.4's text for a block of six records, taken from its
// clipboard under X: no quotes at all (a line break inside a cell comes as a
// space), LF line ends, a last LF; the wave dash and the minus in the JIS code
// points Linux writes.
TEST(CellBlocks, CalcClipboardTextLandsCellForCell) {
    const PastedBlock pasted =
        ReadPastedBlock(testing::ReadBytes(std::string(TABULON_TEST_DATA) + "/calc_clipboard.txt"));
    ASSERT_TRUE(pasted.ok());
    TableModel model;
    PasteCells(model, {1, 1}, pasted.cells);
    EXPECT_EQ(Cp932ToUtf8(testing::Dump(model)),
              "\t\t\t\t\n"
              "氏名\tふりがな\t電話\t住所\tメモ\n"
              "山田 太郎\tやまだ たろう\t03-1234-5678\t東京都千代田区1-2-3\t9時～17時\n"
              "佐藤 花子\tさとう はなこ\t\t大阪府大阪市北区\t2行の メモ\n"
              "ｶﾀｶﾅ ｼｮｳｼﾞ\t\t045-000-0000\t横浜市 \"本社\"\ta,b,c\n"
              "\t\t\t\t\n"
              "1,234\t－5\t=A1\t<b>太字</b>\t最後\n"
              "\t\t\t\t\n");
}

TEST(CellBlocks, TextCp932CannotHoldRefusesTheWholeBlock) {
    const PastedBlock pasted = ReadPastedBlock("a\t😀\n€\tb😀\n\t€\n");
    EXPECT_FALSE(pasted.ok());
    EXPECT_EQ(pasted.unmappable, (std::vector<char32_t>{U'😀', U'€'}));
    EXPECT_TRUE(pasted.cells.empty());
}

// Counts the views' notices of item cells: a pasted block is one rectangle.
struct NoticeCounter : TableObserver {
    void CellsChanged(int col0, int row0, int col1, int row1) override {
        if (col1 == 0) return;  // the marker
        ++cells;
        last = {col0, row0, col1, row1};
    }
    int cells = 0;
    std::vector<int> last;
};

TEST(CellBlocks, PastingGrowsTheTableAndUndoesByteForByte) {
    const struct {
        const char* what;
        CellPosition at;
        const char* table;  // Dump after the paste
    } cases[] = {
        {"inside", {1, 1}, "A\tB\np\tq\nr\ts\n\t\n"},
        {"into the last row", {1, 3}, "A\tB\na1\tb1\na2\tb2\np\tq\nr\ts\n\t\n"},
        {"beyond the last item", {2, 2}, "A\tB\t\na1\tb1\t\na2\tp\tq\n\tr\ts\n\t\t\n"},
        {"beyond both", {2, 3}, "A\tB\t\na1\tb1\t\na2\tb2\t\n\tp\tq\n\tr\ts\n\t\t\n"},
    };
    testing::TempDir dir;
    const auto saved = [&](TableModel& model) {
        SaveNative(model, dir.File("t.tbn"));
        return testing::ReadBytes(dir.File("t.tbn"));
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TableModel model;
        testing::FillRows(model, {{"A", "B"}, {"a1", "b1"}, {"a2", "b2"}, {"", ""}});
        model.SetColWidth(2, 99);
        model.SetCurrentCell(c.at.col, c.at.row);
        model.MoveMarker(c.at.row);
        const std::string before = saved(model);
        UndoHistory history(model);
        NoticeCounter notices;
        model.AddObserver(&notices);
        history.PasteCells(c.at, {{"p", "q"}, {"r", "s"}});
        model.RemoveObserver(&notices);
        EXPECT_EQ(testing::Dump(model), c.table);
        EXPECT_EQ(notices.cells, 1);
        EXPECT_EQ(notices.last, (std::vector<int>{c.at.col, c.at.row, c.at.col + 1, c.at.row + 1}));
        EXPECT_EQ(history.UndoCount(), 1U);
        EXPECT_EQ(history.UndoName(), "貼り付け");
        EXPECT_TRUE(model.Modified());
        const std::string after = saved(model);
        history.Undo();
        EXPECT_EQ(saved(model), before);
        EXPECT_FALSE(model.Modified());
        history.Redo();
        EXPECT_EQ(saved(model), after);
    }

    {
        // Pasted texts share one block: each outlives the others' changes.
        TableModel model;
        PasteCells(model, {1, 1}, {{"p", "q"}, {"r", "s"}});
        model.SetCell(1, 1, "x");
        model.SetCell(2, 2, model.GetCell(2, 1));
        model.SetCell(2, 1, {});
        model.SetCell(1, 2, model.GetCell(1, 2));
        EXPECT_EQ(testing::Dump(model), "\t\nx\t\nr\tq\n\t\n");
    }

    // One line of 20,000 cells over 20,000 short ones: 400 million cells from
    // 80 KB of text. Refused, and nothing changed.
    TableModel model;
    testing::FillRows(model, {{"A"}, {"a1"}, {""}});
    UndoHistory history(model);
    std::vector<std::vector<std::string>> rows(20'000, {"x"});
    rows[0].resize(20'000);
    const CellBlock bomb(rows);
    EXPECT_THROW_MESSAGE(history.PasteCells({1, 1}, bomb), "メモリが不足しています");
    EXPECT_EQ(testing::Dump(model), "A\na1\n\n");
    EXPECT_FALSE(history.CanUndo());
}

}  // namespace
}  // namespace tabulon
