#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <thread>

#include "RandomTable.h"
#include "TableText.h"
#include "TestFiles.h"
#include "edit/UndoHistory.h"
#include "files/FileStamp.h"
#include "files/RecoveryData.h"
#include "files/SnapshotWriter.h"

namespace tabulon {
namespace {

using testing::TempDir;

// Everything the recovered document must give back.
std::string Everything(const TableModel& m) {
    std::string all = testing::Dump(m) + m.CurrentFileName();
    for (int value :
         {m.CurrentCol(), m.CurrentRow(), m.MarkerRow(), static_cast<int>(m.Encoding().encoding)})
        all += ',' + std::to_string(value);
    for (int c = 0; c < m.ColCount(); ++c)
        all += ',' + std::to_string(m.GetColWidth(c));
    return all;
}

void KeepSnapshot(RecoveryData& data, const TableModel& model, std::time_t when,
                  std::optional<FileStamp> stamp = std::nullopt) {
    SnapshotWriter writer(model, data.NextSnapshotPath());
    while (!writer.Continue({})) {  // the least slice: resumed after every piece
    }
    data.Keep(RecordOf(model, stamp, when));
}

std::string Restored(const RecoveryData& data) {
    TableModel model;
    model.ResetToEmpty();
    data.Restore(model);
    return Everything(model);
}

TEST(RecoveryData, RebuildsTheExactTableAfterRandomEdits) {
    TempDir dir;
    testing::RandomTable random(29);
    TableModel model;
    random.Fill(model, {4, 3000, testing::TextKind::Japanese, 8, true, 20});
    model.SetEncoding({TextEncoding::Utf8, 0, LineEnd::Lf});
    UndoHistory history(model);
    RecoveryData data = RecoveryData::Create(dir.File("recovery"));
    for (int command = 0; command < 40; ++command) {
        const auto col = [&] { return random.Int(1, model.ColCount() - 1); };
        const auto row = [&] { return random.Int(1, model.RowCount() - 1); };
        switch (random.Int(0, 7)) {
            case 0:  // typing into the last row, which appends none
                model.SetCurrentCell(col(), model.RowCount() - 1);
                history.PasteCells({model.CurrentCol(), model.CurrentRow()}, {{"x"}});
                break;
            case 1:
                history.InsertRow(row());
                break;
            case 2:  // the last row too, leaving a last record that holds text
                history.DeleteRow(random.Int(0, 1) ? row() : model.RowCount() - 1);
                break;
            case 3:
                history.InsertColumn(col());
                break;
            case 4:
                history.DeleteColumn(col());
                break;
            case 5:
                history.MoveRow(row(), row());
                break;
            case 6:
                history.SetColumnWidth(col(), random.Int(10, 90));
                break;
            default:
                history.ReplaceAll(random.Text(testing::TextKind::Japanese, 2, true), "r\r\n",
                                   FindScope::Whole, FindDirection::Row, {});
                break;
        }
        KeepSnapshot(data, model, command);
        ASSERT_EQ(Restored(data), Everything(model)) << "command " << command;
    }
    // The lock, the record and one snapshot (the last one's removal runs on its
    // own thread), none of them for others to read.
    using Listing = std::filesystem::directory_iterator;
    const auto files = [&] { return std::distance(Listing(dir.File("recovery")), Listing()); };
    for (int wait = 0; wait < 200 && files() > 3; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(files(), 3);
    for (const auto& entry : Listing(dir.File("recovery"))) {
        EXPECT_EQ(entry.status().permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    }
    data.Finish();
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("recovery")));
}

// The data of a copy still running is not offered; data too old or without a
// record goes unasked; the file name comes back only for an unchanged file.
TEST(RecoveryData, OffersWhatCopiesNoLongerRunningLeft) {
    TempDir dir;
    const std::string folder = dir.File("recovery");
    const std::time_t now = 100'000'000;
    testing::WriteBytes(dir.File("a.csv"), "a\r\n");
    TableModel model;
    model.SetCell(1, 1, "kept");
    model.SetCurrentFileName(dir.File("a.csv"));
    const auto keep = [&](std::time_t when) {
        RecoveryData data = RecoveryData::Create(folder);
        KeepSnapshot(data, model, when, StampOf(dir.File("a.csv")));
        return data;
    };
    {
        const RecoveryData running = keep(now);
        EXPECT_TRUE(RecoveryData::ClaimLeftOver(folder, now).empty());
    }
    keep(now - kRecoveryKeptSeconds - 1);
    RecoveryData::Create(folder);  // ended before its first record
    keep(now - 60);
    std::vector<RecoveryData> left = RecoveryData::ClaimLeftOver(folder, now);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].Record()->lastChange, now);
    EXPECT_TRUE(RecoveryData::ClaimLeftOver(folder, now).empty());  // claimed here
    EXPECT_EQ(Restored(left[1]), Everything(model));
    testing::WriteBytes(dir.File("a.csv"), "b\r\n");
    model.SetCurrentFileName({});
    EXPECT_EQ(Restored(left[1]), Everything(model));
    for (RecoveryData& data : left)
        data.Finish();
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

}  // namespace
}  // namespace tabulon
