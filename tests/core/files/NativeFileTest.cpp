#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>

#include "RandomTable.h"
#include "TestFiles.h"
#include "files/NativeFile.h"
#include "text/Error.h"

namespace tabulon {
namespace {

using namespace std::string_literals;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// Loads the file into the reset table; the message it failed with, if any.
std::string LoadMessage(TableModel& model, const std::string& path) {
    model.ResetToEmpty();
    try {
        LoadNative(model, path);
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

TEST(NativeFile, WritesTheDocumentedExampleByteForByte) {
    TempDir dir;
    TableModel model;
    model.SetColCount(3);
    model.SetCell(1, 0, "\x96\xBC\x91\x4F");  // 名前
    model.SetCell(2, 0, "\x93\x64\x98\x62");  // 電話
    model.SetCell(1, 1, "\x8E\x52\x93\x63");  // 山田
    model.SetCell(2, 1, "0123");
    SaveNative(model, dir.File("a.tbn"));
    EXPECT_EQ(ReadBytes(dir.File("a.tbn")),
              Lines({"3", "3", "15", "64", "64", "\x96\xBC\x91\x4F", "\x8E\x52\x93\x63", "",
                     "\x93\x64\x98\x62", "0123", ""}));
    EXPECT_EQ(dir.Listing(), "a.tbn");
}

TEST(NativeFile, InitialTableIsSevenLines) {
    TempDir dir;
    TableModel model;
    SaveNative(model, dir.File("a.tbn"));
    EXPECT_EQ(ReadBytes(dir.File("a.tbn")), Lines({"2", "3", "15", "64", "", "", ""}));
}

TEST(NativeFile, RandomTablesRoundTrip) {
    TempDir dir;
    testing::RandomTable random(7);
    for (int round = 0; round < 40; ++round) {
        TableModel saved;
        random.Fill(saved, {random.Int(1, 6), random.Int(0, 30), testing::TextKind::Japanese,
                            round % 4 == 3 ? 400 : 16, false, 20});
        SaveNative(saved, dir.File("t.tbn"));

        TableModel loaded;
        loaded.SetRowHeight(30);
        loaded.ResetToEmpty();
        LoadNative(loaded, dir.File("t.tbn"));
        ASSERT_EQ(testing::Dump(loaded), testing::Dump(saved)) << "round " << round;
        for (int c = 0; c < saved.ColCount(); ++c) {
            EXPECT_EQ(loaded.GetColWidth(c), saved.GetColWidth(c));
        }
        EXPECT_EQ(loaded.RowHeight(), 18);
        EXPECT_EQ(loaded.CurrentCol(), 1);
        EXPECT_EQ(loaded.CurrentRow(), 1);
        EXPECT_EQ(loaded.GetCell(0, 1), kMarker);
        // Saving what was loaded gives the same bytes.
        const std::string first = ReadBytes(dir.File("t.tbn"));
        SaveNative(loaded, dir.File("t.tbn"));
        EXPECT_EQ(ReadBytes(dir.File("t.tbn")), first);
    }
}

TEST(NativeFile, LargeFilesReadInStretchesAtOnceAsLineByLine) {
    // Megabytes of texts naming their cell, with every kind of line end; then
    // the same file cut short in its second column.
    constexpr int kRows = 700'000;
    const auto text = [](int c, int r) {
        return "c" + std::to_string(c) + "r" + std::to_string(r);
    };
    std::string file = Lines({"4", std::to_string(kRows), "15", "64", "64", "64"});
    for (int c = 1; c < 4; ++c) {
        for (int r = 0; r < kRows; ++r)
            file += text(c, r) + std::array{"\r\n", "\n", "\r"}[(r + c) % 3];
    }
    const size_t cut = file.find(text(2, kRows * 2 / 3));
    TempDir dir;
    for (const size_t size : {file.size(), cut}) {
        WriteBytes(dir.File("big.tbn"), std::string_view(file).substr(0, size));
        TableModel model;
        const std::string message = LoadMessage(model, dir.File("big.tbn"));
        const int linesIn2 = size == cut ? kRows * 2 / 3 : kRows;
        EXPECT_EQ(message, size == cut ? "リストのインデックスが範囲を超えています (" +
                                             std::to_string(6 + kRows + linesIn2) + ")"
                                       : "");
        int wrong = 0;
        for (int r = 0; r < kRows; ++r) {
            wrong += model.GetCell(1, r) != text(1, r);
            wrong += model.GetCell(2, r) != (r < linesIn2 ? text(2, r) : "");
            wrong += model.GetCell(3, r) != (size == cut ? "" : text(3, r));
        }
        EXPECT_EQ(wrong, 0) << size;
        if (size != file.size()) continue;
        // Written in stretches at once too, the lines are the file's, in CR LF,
        // with the empty row that follows a last record holding text.
        std::string expected = Lines({"4", std::to_string(kRows + 1), "15", "64", "64", "64"});
        for (int c = 1; c < 4; ++c) {
            for (int r = 0; r < kRows; ++r)
                expected += text(c, r) + "\r\n";
            expected += "\r\n";
        }
        SaveNative(model, dir.File("saved.tbn"));
        EXPECT_TRUE(ReadBytes(dir.File("saved.tbn")) == expected);
    }
}

TEST(NativeFile, LineEndsOfOtherSystemsLoadAlike) {
    TempDir dir;
    for (std::string_view end : {"\n", "\r", "\r\n"}) {
        std::string text;
        for (auto line : {"3", "2", "15", "70", "80", "a", "b", "c", "d"}) {
            text += line;
            text += end;
        }
        WriteBytes(dir.File("e.tbn"), text);
        TableModel model;
        model.ResetToEmpty();
        LoadNative(model, dir.File("e.tbn"));
        // The last record holds text: the empty row typing would append comes with it.
        EXPECT_EQ(testing::Dump(model), "a\tc\nb\td\n\t\n") << "line end " << int(end[0]);
        EXPECT_EQ(model.GetColWidth(2), 80);
    }
}

struct Malformed {
    const char* name;
    std::string bytes;
    std::string message;
    int cols, rows;    // the counts afterwards
    std::string dump;  // texts afterwards
};

TEST(NativeFile, MalformedFilesStopWithTheirMessageAndKeepWhatWasRead) {
    const Malformed cases[] = {
        {"empty file", "", "リストのインデックスが範囲を超えています (0)", 2, 3, "\n\n\n"},
        {"column count not an integer", Lines({"3x", "3"}), "'3x' は整数ではありません", 2, 3,
         "\n\n\n"},
        {"row count with a trailing blank", Lines({"3", "3 ", "15", "64", "64"}),
         "'3 ' は整数ではありません", 3, 3, "\t\n\t\n\t\n"},
        {"row count missing", "3\r\n", "リストのインデックスが範囲を超えています (1)", 2, 3,
         "\n\n\n"},
        {"width not an integer", Lines({"2", "2", "15", "wide", "n", "v"}),
         "'wide' は整数ではありません", 2, 2, "\n\n"},
        {"cells cut short", Lines({"3", "2", "15", "64", "64", "n1", "v1", "n2"}),
         "リストのインデックスが範囲を超えています (8)", 3, 2, "n1\tn2\nv1\t\n"},
        {"NUL bytes are left out", "2\r\n2\r\n15\r\n64\r\nname\r\nva\0lue\r\n"s, "", 2, 3,
         "name\nvalue\n\n"},
        {"value out of range", Lines({"2147483648", "2"}), "'2147483648' は整数ではありません", 2,
         3, "\n\n\n"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        WriteBytes(dir.File("m.tbn"), c.bytes);
        TableModel model;
        EXPECT_EQ(LoadMessage(model, dir.File("m.tbn")), c.message) << c.name;
        EXPECT_EQ(model.ColCount(), c.cols) << c.name;
        EXPECT_EQ(model.RowCount(), c.rows) << c.name;
        EXPECT_EQ(testing::Dump(model), c.dump) << c.name;
    }
}

TEST(NativeFile, ImplausibleCountsAreRefusedBeforeAnythingIsAllocated) {
    const struct {
        const char* name;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"huge row count", Lines({"3", "2147483647", "15", "64", "64"}),
         "リストのインデックスが範囲を超えています (5)"},
        {"huge column count", Lines({"2147483647", "2", "15"}),
         "リストのインデックスが範囲を超えています (3)"},
        {"huge column count, bad row line", Lines({"2147483647", "no"}),
         "'no' は整数ではありません"},
        {"both huge", Lines({"2147483647", "2147483647"}),
         "リストのインデックスが範囲を超えています (2)"},
        {"no item column, huge row count", Lines({"1", "2147483647", "15"}),
         "リストのインデックスが範囲を超えています (3)"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        WriteBytes(dir.File("h.tbn"), c.bytes);
        TableModel model;
        EXPECT_EQ(LoadMessage(model, dir.File("h.tbn")), c.message) << c.name;
        EXPECT_EQ(model.ColCount(), 2) << c.name;
        EXPECT_EQ(model.RowCount(), 3) << c.name;
    }
}

TEST(NativeFile, HostileFilesFailQuicklyWithAShortMessage) {
    TempDir dir;
    const std::string longLine(20 << 20, '7');
    const struct {
        const char* name;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"a million empty lines", std::string(2'000'000, '\n').substr(1'000'000),
         "'' は整数ではありません"},
        {"one long line of digits", longLine,
         "'" + longLine.substr(0, 200) + "…' は整数ではありません"},
        {"a long row count", "3\r\n" + longLine,
         "'" + longLine.substr(0, 200) + "…' は整数ではありません"},
        {"a long line of kanji", std::string("\x95\x5C") + std::string(1000, 'x'),
         "'表" + std::string(198, 'x') + "…' は整数ではありません"},
    };
    for (const auto& c : cases) {
        WriteBytes(dir.File("x.tbn"), c.bytes);
        TableModel model;
        EXPECT_EQ(LoadMessage(model, dir.File("x.tbn")), c.message) << c.name;
        EXPECT_LE(model.ColCount(), 3) << c.name;
        EXPECT_EQ(model.RowCount(), 3) << c.name;
    }
}

TEST(NativeFile, CountsBelowTwoKeepTheFixedRowAndColumn) {
    const struct {
        std::string bytes;
        int cols, rows, width0;
        std::string dump;
    } cases[] = {
        {Lines({"1", "5", "20", "", ""}), 2, 5, 20, "\n\n\n\n\n"},
        {Lines({"0", "-4", "20"}), 2, 2, 20, "\n\n"},
        {Lines({"3", "1", "15", "64", "64", "a", "b"}), 3, 2, 15, "a\tb\n\t\n"},
        {Lines({"-7", "1", "9"}), 2, 2, 9, "\n\n"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        WriteBytes(dir.File("s.tbn"), c.bytes);
        TableModel model;
        model.ResetToEmpty();
        LoadNative(model, dir.File("s.tbn"));
        EXPECT_EQ(model.ColCount(), c.cols) << c.bytes;
        EXPECT_EQ(model.RowCount(), c.rows) << c.bytes;
        EXPECT_EQ(testing::Dump(model), c.dump) << c.bytes;
        EXPECT_EQ(model.CurrentCol(), 1);
        EXPECT_EQ(model.CurrentRow(), 1);
        EXPECT_EQ(model.GetColWidth(0), c.width0);
        EXPECT_EQ(model.GetColWidth(1), 64);
    }
}

TEST(NativeFile, MissingFileLeavesTheResetTable) {
    TempDir dir;
    TableModel model;
    model.ResetToEmpty();
    try {
        LoadNative(model, dir.File("none.tbn"));
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル " + dir.File("none.tbn") + " は開けません");
    }
    EXPECT_EQ(model.ColCount(), 2);
}

TEST(NativeFile, FailedSaveKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.File("keep.tbn");
    WriteBytes(path, "old contents");
    TableModel model;
    // A folder where the file would go cannot hold a temporary file.
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {dir.File("missing/x.tbn"), "ファイル " + dir.File("missing/x.tbn") + " を作成できません"},
        {dir.path(), "ファイル " + dir.path() + " を作成できません: フォルダです"},
        {"/dev/full", "ファイル /dev/full を作成できません: デバイスです"},
        {dir.File("fifo.tbn"),
         "ファイル " + dir.File("fifo.tbn") + " を作成できません: 名前付きパイプです"},
    };
    ::mkfifo(dir.File("fifo.tbn").c_str(), 0600);  // refused at once, with no reader to wait for
    for (const auto& c : cases) {
        try {
            SaveNative(model, c.path);
            ADD_FAILURE() << c.path;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
    EXPECT_EQ(ReadBytes(path), "old contents");
    EXPECT_EQ(dir.Listing(), "fifo.tbn keep.tbn");
}

}  // namespace
}  // namespace tabulon
