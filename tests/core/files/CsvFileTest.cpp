#include <gtest/gtest.h>

#include <algorithm>

#include "RandomTable.h"
#include "TestFiles.h"
#include "files/CsvFile.h"
#include "text/Error.h"

namespace tabulon {
namespace {

using namespace std::string_literals;
using testing::Dump;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

void LoadCsv(const TempDir& dir, std::string_view bytes, TableModel& model) {
    WriteBytes(dir.File("in.csv"), bytes);
    model.ResetToEmpty();
    LoadCsv(model, dir.File("in.csv"));
}

TEST(CsvFile, ReadsRecordsByTheWidestLinesFieldCount) {
    const struct {
        const char* name;
        std::string bytes;
        int cols, rows;
        std::string dump;
    } cases[] = {
        {"one line", "a,b,c\r\n", 4, 3, "\t\t\na\tb\tc\n\t\t\n"},
        {"one value per line", "x\r\ny\r\n", 2, 4, "\nx\ny\n\n"},
        {"later line longer", "a,b\r\n1,2,3,4\r\n", 5, 4, "\t\t\t\na\tb\t\t\n1\t2\t3\t4\n\t\t\t\n"},
        {"later line shorter", "a,b,c\r\n1\r\n", 4, 4, "\t\t\na\tb\tc\n1\t\t\n\t\t\n"},
        {"empty line in the middle", "a,b\r\n\r\nc,d", 3, 5, "\t\na\tb\n\t\nc\td\n\t\n"},
        {"empty first line", "\r\na,b\r\n", 3, 4, "\t\n\t\na\tb\n\t\n"},
        {"blanks and tabs are text", " a ,\tb\n", 3, 3, "\t\n a \t\tb\n\t\n"},
        {"LF and CR line ends", "a\nb\rc", 2, 5, "\na\nb\nc\n\n"},
        {"LF CR is two line ends", "a\n\rb", 2, 5, "\na\n\nb\n\n"},
        {"NUL bytes are left out", "a,b\r\nc\0,d\0\r\ne,f\r\n"s, 3, 5,
         "\t\na\tb\nc\td\ne\tf\n\t\n"},
        {"empty file", "", 2, 2, "\n\n"},
        {"only NUL", "\0"s, 2, 2, "\n\n"},
        {"a quote inside a field is text", "a\"b,c\"\r\n", 3, 3, "\t\na\"b\tc\"\n\t\n"},
        {"quoted field keeps its comma", "\"x,y\",z\r\n", 3, 3, "\t\nx,y\tz\n\t\n"},
        {"quoted field with doubled quotes", "\"say \"\"hi\"\"\",z\r\n", 3, 3,
         "\t\nsay \"hi\"\tz\n\t\n"},
        {"quoted field over a line end", "\"ab\r\ncd\",e\r\nf,g\r\n", 3, 4,
         "\t\nabcd\te\nf\tg\n\t\n"},
        {"unclosed quote reads as plain text", "\"ab,c\r\nd,e\r\n", 3, 4,
         "\t\n\"ab\tc\nd\te\n\t\n"},
        {"text after a closing quote reads as plain text", "\"a\"b,c\r\n", 3, 3,
         "\t\n\"a\"b\tc\n\t\n"},
        {"trailing comma gives an empty last field", "a,\r\n", 3, 3, "\t\na\t\n\t\n"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        TableModel model;
        LoadCsv(dir, c.bytes, model);
        EXPECT_EQ(model.ColCount(), c.cols) << c.name;
        EXPECT_EQ(model.RowCount(), c.rows) << c.name;
        EXPECT_EQ(Dump(model), c.dump) << c.name;
        EXPECT_EQ(model.GetColWidth(0), 15) << c.name;
        EXPECT_EQ(model.GetColWidth(c.cols - 1), 64) << c.name;
    }
}

TEST(CsvFile, LargeFilesReadInPartsAtOnceAsTheirPiecesDo) {
    // Megabytes of one piece over and over: however the file is cut into
    // parts read at once, its records are the piece's records over and over.
    const std::string piece = "a,b\r\n\x83\x5C\x96\xBC,,\n\n\rx\r\n" + std::string(300, 'L') +
                              ",1,2,3,4,5,6\n" + std::string(20, ',') + "\r\ntail";
    TempDir dir;
    TableModel one, many;
    LoadCsv(dir, piece + "\r\n", one);
    const std::string records = Dump(one).substr(Dump(one).find('\n') + 1);
    SaveCsv(one, dir.File("one.csv"));
    std::string file, expected = Dump(one).substr(0, Dump(one).find('\n') + 1), saved;
    while (file.size() < (size_t{9} << 20)) {
        file += piece + "\r\n";
        saved += ReadBytes(dir.File("one.csv"));
        expected += records.substr(0, records.rfind('\n', records.size() - 2) + 1);
    }
    LoadCsv(dir, file, many);
    expected += records.substr(records.rfind('\n', records.size() - 2) + 1);
    // Where the dumps part, rather than a diff of megabytes.
    const std::string dump = Dump(many);
    EXPECT_EQ(std::ranges::mismatch(dump, expected).in1 - dump.begin(), std::ssize(expected));
    // Written in parts at once too, they are the piece's lines over and over.
    SaveCsv(many, dir.File("many.csv"));
    EXPECT_TRUE(ReadBytes(dir.File("many.csv")) == saved);
}

TEST(CsvFile, WritesRecordsWithoutTheTrailingRow) {
    TempDir dir;
    TableModel model;
    model.SetColCount(4);
    model.SetRowCount(4);
    model.SetCell(1, 0, "name");  // item names are not written
    model.SetCell(1, 1, "a");
    model.SetCell(3, 1, "\x83\x5C");  // ソ
    model.SetCell(2, 3, "last");      // the last row is left out even with text
    SaveCsv(model, dir.File("o.csv"));
    EXPECT_EQ(ReadBytes(dir.File("o.csv")), "a,,\x83\x5C\r\n,,\r\n");

    TableModel empty;
    empty.SetRowCount(2);
    SaveCsv(empty, dir.File("empty.csv"));
    EXPECT_EQ(ReadBytes(dir.File("empty.csv")), "");
}

TEST(CsvFile, QuotesOnlyFieldsThatNeedIt) {
    TempDir dir;
    TableModel model;
    model.SetColCount(5);
    model.SetCell(1, 1, "x,y");
    model.SetCell(2, 1, "say \"hi\"");
    model.SetCell(3, 1, "plain");
    model.SetCell(4, 1, "a\r\nb");
    SaveCsv(model, dir.File("q.csv"));
    EXPECT_EQ(ReadBytes(dir.File("q.csv")), "\"x,y\",\"say \"\"hi\"\"\",plain,\"a\r\nb\"\r\n");
    TableModel loaded;
    loaded.ResetToEmpty();
    LoadCsv(loaded, dir.File("q.csv"));
    EXPECT_EQ(Dump(loaded), "\t\t\t\nx,y\tsay \"hi\"\tplain\tab\n\t\t\t\n");
}

TEST(CsvFile, RandomTablesRoundTripTheirRecords) {
    TempDir dir;
    testing::RandomTable random(11);
    for (int round = 0; round < 40; ++round) {
        const bool csvSafe = round % 2 == 0;
        TableModel saved;
        // Records with an empty first field are fine, but a first record of
        // one column must not end up as zero records: keep at least one.
        // Some rounds' records outgrow the lines they are packed over.
        const int longest = round % 4 == 3 ? 400 : 12;
        random.Fill(saved, {random.Int(1, 5), random.Int(1, 20), testing::TextKind::Japanese,
                            longest, csvSafe, 25});
        for (int c = 1; c < saved.ColCount(); ++c)
            saved.SetCell(c, 0, "");
        SaveCsv(saved, dir.File("r.csv"));
        TableModel loaded;
        loaded.ResetToEmpty();
        LoadCsv(loaded, dir.File("r.csv"));
        ASSERT_EQ(Dump(loaded), Dump(saved)) << "round " << round;
        const std::string bytes = ReadBytes(dir.File("r.csv"));
        SaveCsv(loaded, dir.File("r.csv"));
        EXPECT_EQ(ReadBytes(dir.File("r.csv")), bytes);
        if (csvSafe) {
            EXPECT_EQ(bytes.find('"'), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace tabulon
