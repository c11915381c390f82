// Files a hostile or unlucky user might open: small files stating huge shapes,
// and things that are no files at all.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <functional>

#include "ChildProcess.h"
#include "RandomTable.h"
#include "TestFiles.h"
#include "files/TableFile.h"
#include "files/TextViewFile.h"
#include "table/LoadBudget.h"
#include "text/Error.h"

namespace tabulon {
namespace {

using testing::TempDir;
using testing::WriteBytes;

std::string Repeat(std::string_view piece, size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

std::string WithPath(std::string message, const std::string& path) {
    if (const size_t at = message.find("%s"); at != std::string::npos) {
        message.replace(at, 2, path);
    }
    return message;
}

// What Open makes of the file: its counts, or its message.
std::string OpenOutcome(const std::string& path) {
    TableModel model;
    try {
        OpenTableFile(model, path);
    } catch (const Error& e) {
        return e.what();
    }
    return std::to_string(model.ColCount()) + " x " + std::to_string(model.RowCount());
}

TEST(HostileFiles, LoadWithinTheirBudgetOrAreRefused) {
    const std::string tooLarge = "ファイル %s は大きすぎるため開けません";
    const struct {
        const char* name;
        const char* file;  // the extension picks the reader
        std::function<std::string()> bytes;
        std::string outcome;  // "C x R", or the message (%s: the path)
    } shapes[] = {
        {"CSV column bomb", "bomb.csv",
         [] { return std::string(100'000, ',') + std::string(20'001, '\n'); }, tooLarge},
        {"the same with quoted fields", "quoted.csv",
         [] { return Repeat("\"\",", 100'000) + std::string(20'001, '\n'); }, tooLarge},
        {"a 20 MB line of commas", "commas.csv", [] { return std::string(20 << 20, ','); },
         tooLarge},
        {"five million empty records", "empty.csv", [] { return std::string(5'000'000, '\n'); },
         "2 x 5000002"},
        {"a million records of twelve empty items", "commas.csv",
         [] { return Repeat(",,,,,,,,,,,\r\n", 1'000'000); }, "13 x 1000002"},
        {"a record longer than the first", "longer.csv",
         [] { return std::string("name,age\r\nalice,30,x,y\r\n"); }, "5 x 4"},
        {"a long record after many short ones", "late.csv",
         [] { return std::string(2'000'000, '\n') + std::string(200'000, ','); }, tooLarge},
        {"NUL bytes amid records", "nul.csv",
         [] { return std::string("a\0,b\r\n\0\0c,d\r\n", 13); }, "3 x 4"},
        {"a million records of three fields", "records.csv",
         [] { return Repeat("ab,cd,ef\r\n", 1'000'000); }, "4 x 1000002"},
        {"eight million columns over as many empty lines", "wide.tbn",
         [] { return "8000000\n1\n" + std::string(8'000'000, '\n'); }, tooLarge},
        {"a million columns over as many empty lines", "wide.tbn",
         [] { return "1000000\n1\n" + std::string(1'000'000, '\n'); }, "'' は整数ではありません"},
        {"a million columns with their widths", "columns.tbn",
         [] {
             return "1000000\r\n2\r\n" + Repeat("64\r\n", 1'000'000) + Repeat("\r\n", 1'999'998);
         },
         "1000000 x 2"},
        {"counts the lines cannot back", "counts.tbn",
         [] { return std::string("3\r\n2147483647\r\n15\r\n64\r\n64\r\n"); },
         "リストのインデックスが範囲を超えています (5)"},
    };
    TempDir dir;
    for (const auto& shape : shapes) {
        SCOPED_TRACE(shape.name);
        const std::string path = dir.File(shape.file);
        const std::string bytes = shape.bytes();
        WriteBytes(path, bytes);
        const auto outcome = testing::RunInChild(
            [&] { return OpenOutcome(path); },
            {.extraAddressSpace = 2 * bytes.size() + StorageBudget(bytes.size())});
        EXPECT_TRUE(outcome.completed) << "signal " << outcome.signal;
        EXPECT_EQ(outcome.text, WithPath(shape.outcome, path));
    }
}

TEST(HostileFiles, NonFilesFailAtOnceWithTheOpenMessage) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo.csv").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.File("fifo.tbn").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir.File("zero.csv"));
    std::filesystem::create_symlink("/dev/null", dir.File("null.tbn"));
    std::filesystem::create_directory(dir.File("folder.csv"));
    for (const char* name : {"fifo.csv", "fifo.tbn", "zero.csv", "null.tbn", "folder.csv"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.File(name);
        // A hang ends the child, not the test run.
        const auto outcome = testing::RunInChild(
            [&] {
                std::string text = OpenOutcome(path) + " | ";
                try {
                    text += ReadTextForView(path);
                } catch (const Error& e) {
                    text += e.what();
                }
                return text;
            },
            {.seconds = 10});
        const std::string message = "ファイル " + path + " は開けません";
        EXPECT_EQ(outcome.text, message + " | " + message);
    }
}

TEST(HostileFiles, StandardInputIsReadWhenNamed) {
    const auto outcome = testing::RunInChild(
        [] {
            int fds[2];
            if (::pipe(fds) != 0 || ::write(fds[1], "a\r\nb", 4) != 4) return std::string("pipe");
            ::close(fds[1]);  // the writer is gone before the read
            ::dup2(fds[0], STDIN_FILENO);
            return ReadTextForView("/dev/stdin");
        },
        {.seconds = 10});
    EXPECT_EQ(outcome.text, "a\nb");
}

TEST(HostileFiles, TheTextPaneTakesTextUpToItsLimitBeforeTheFirstNul) {
    const std::string atLimit(kTextViewLimit, 'x');
    const struct {
        const char* name;
        std::string bytes;
        std::string outcome;  // the text's length, or the message
    } cases[] = {
        {"at the limit", atLimit, std::to_string(kTextViewLimit)},
        {"one byte more", atLimit + "x", "文字列の大きさが メモ の制限を越えました"},
        {"more after a NUL", "ab" + std::string(1, '\0') + atLimit, "2"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        WriteBytes(dir.File("t.txt"), c.bytes);
        std::string outcome;
        try {
            outcome = std::to_string(ReadTextForView(dir.File("t.txt")).size());
        } catch (const Error& e) {
            outcome = e.what();
        }
        EXPECT_EQ(outcome, c.outcome) << c.name;
    }
}

TEST(LoadBudget, CountsPastTwoToTheThirtyOneAndOversizedShapesAreRefused) {
    constexpr int64_t kMax = INT32_MAX;
    constexpr size_t kTerabyte = size_t{1} << 40;
    const struct {
        int64_t cols, rows;
        size_t fileSize;
        bool fits;
    } cases[] = {
        {2, 3, 0, true},
        {2, kMax, kTerabyte, true},
        {2, kMax + 1, kTerabyte, false},
        {kMax + 1, 2, kTerabyte, false},
        {kMax, kMax, SIZE_MAX / 4, false},  // no overflow on the way
        // 2.2 thousand million empty lines: 2.2 GB with LF, 4.4 GB with CR LF.
        {2, 2'200'000'002, 2'200'000'000, false},
        {2, 2'200'000'002, 4'400'000'000, false},
        // Each byte of a file may stand for a cell, and each record for a
        // marker cell: five million empty records fit their 5 MB.
        {2, 5'000'002, 5'000'000, true},
        // A column costs some 60 bytes: a million fit a megabyte, eight million
        // do not fit eight.
        {1'000'000, 2, 1'000'010, true},
        {8'000'000, 2, 8'000'010, false},
        {100'002, 20'003, 120'001, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TableFitsBudget(c.cols, c.rows, c.fileSize), c.fits)
            << c.cols << " x " << c.rows << " from " << c.fileSize;
    }
    try {
        RefuseOversizedTable(2, kMax + 1, kTerabyte, "/a/b.csv");
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "ファイル /a/b.csv は大きすぎるため開けません");
    }
}

// The budget covers at least what the model allocates.
TEST(LoadBudget, StorageBytesCoverWhatTheModelAllocates) {
    if (testing::UnderAddressSanitizer()) {
        GTEST_SKIP() << "the sanitizer's allocator keeps no malloc statistics";
    }
    const auto heapInUse = [] {
        const struct mallinfo2 info = ::mallinfo2();
        return static_cast<int64_t>(info.uordblks + info.hblkhd);
    };
    const struct {
        int cols, rows;
    } shapes[] = {{1000, 2}, {200'000, 2}, {3, 1000}, {50, 20'000}, {4, 1'000'002}};
    for (const auto& shape : shapes) {
        SCOPED_TRACE(std::to_string(shape.cols) + " x " + std::to_string(shape.rows));
        TableModel model;
        model.ResetToEmpty();
        const int64_t before = heapInUse();
        // In the order the readers set them, from the reset's 2 x 3.
        model.SetColCount(shape.cols);
        model.SetRowCount(shape.rows);
        const int64_t used = heapInUse() - before;
        const auto estimate =
            static_cast<int64_t>(TableModel::StorageBytes(shape.cols, shape.rows));
        EXPECT_LE(used, estimate);
    }
}

// Empty cells cost a file a byte each but the table a handle each: whatever
// shape Tabulon writes, in whichever format, it opens again.
TEST(LoadBudget, EveryTableTabulonSavesOpensAgain) {
    testing::RandomTable random(29);
    TempDir dir;
    const auto formats = SaveFormats();
    for (int round = 0; round < 8; ++round) {
        const bool large = round % 2 == 0;
        const SaveFormat& format = formats[static_cast<size_t>(round) % formats.size()];
        TableModel saved;
        random.Fill(saved, {random.Int(1, 13), large ? 1'000'000 : random.Int(1, 40),
                            testing::TextKind::Japanese, 4, round % 3 != 0,
                            large ? random.Int(98, 100) : random.Int(0, 100)});
        if (format.extension != "tbn") {
            for (int c = 1; c < saved.ColCount(); ++c)
                saved.SetCell(c, 0, "");  // CSV and TSV hold no item names
        }
        const std::string path = dir.File("r." + std::string(format.extension));
        SaveTableFile(saved, path, format.encoding);
        TableModel opened;
        OpenTableFile(opened, path);
        EXPECT_EQ(testing::Dump(opened), testing::Dump(saved)) << "round " << round;
    }
}

}  // namespace
}  // namespace tabulon
