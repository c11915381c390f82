// The record filter: which records it shows, checked against a brute-force
// reading of the table, and how it follows them through the commands.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "RandomTable.h"
#include "edit/UndoHistory.h"
#include "search/RecordFilter.h"
#include "search/TextMatcher.h"

namespace tabulon {
namespace {

using testing::RandomTable;
using testing::TableShape;
using testing::TextKind;

// Its shown records, read through every lookup it offers.
std::vector<int> Shown(const RecordFilter& filter, const TableModel& model) {
    std::vector<int> rows;
    for (int row = filter.NextShown(0); row < model.RowCount(); row = filter.NextShown(row)) {
        const int position = static_cast<int>(rows.size());
        EXPECT_EQ(filter.RecordAt(position), row);
        EXPECT_EQ(filter.PositionOf(row), position);
        EXPECT_EQ(filter.PreviousShown(row), position > 0 ? rows.back() : 0);
        rows.push_back(row);
    }
    EXPECT_EQ(static_cast<int>(rows.size()), filter.Count());
    return rows;
}

TEST(RecordFilter, ShowsTheRecordsWhoseEveryConditionMatches) {
    for (uint32_t seed = 1; seed <= 24; ++seed) {
        RandomTable random(seed);
        TableModel model;
        const TextKind kind = seed % 2 ? TextKind::Ascii : TextKind::Japanese;
        random.Fill(model, TableShape{4, 150, kind, 4, true, 20});
        // A text some cell holds, so that something matches.
        const auto cell = [&] {
            std::string text;
            while (text.empty())
                text = model.GetCell(random.Int(1, 4), random.Int(1, 150));
            return text;
        };
        // A text a cell holds, a short random one, none, and an item past the table.
        std::vector<FilterCondition> conditions = {
            {ItemIndex{random.Int(0, 3)}, cell()},
            {ItemIndex{random.Int(0, 3)}, random.Text(kind, 2, true)},
            {ItemIndex{0}, ""}};
        if (seed % 5 == 0) conditions.push_back({ItemIndex{9}, "x"});
        if (seed % 3 == 0) conditions.erase(conditions.begin() + 1);
        const FindOptions options{(seed & 1) != 0, (seed & 2) != 0, (seed & 4) != 0};
        std::vector<int> expected;
        for (int row = 1; row < model.RowCount() - 1; ++row) {
            bool all = true;
            for (const auto& [item, text] : conditions) {
                all = all && (text.empty() ||
                              TextMatches(text, model.GetCell(item.Column(), row), options));
            }
            if (all) expected.push_back(row);
        }
        RecordFilter filter(model);
        EXPECT_EQ(filter.Apply(conditions, options), static_cast<int>(expected.size())) << seed;
        EXPECT_EQ(filter.IsOn(), !expected.empty());
        if (!expected.empty()) {
            EXPECT_EQ(Shown(filter, model), expected) << seed;
        }
    }
}

// Column 1 holds an id per record; the filter shows the even ones. After any
// mix of commands, undos and redos it shows the records with those ids and
// the rows inserted meanwhile (empty), never the table's empty last row.
TEST(RecordFilter, FollowsItsRecordsThroughEveryCommandAndUndo) {
    for (uint32_t seed = 1; seed <= 10; ++seed) {
        RandomTable random(seed);
        TableModel model;
        random.Fill(model, TableShape{2, 40, TextKind::Japanese, 6, true, 0});
        for (int row = 1; row <= 40; ++row) {
            model.SetCell(1, row, std::to_string(row % 2 ? row : row * 10));
        }
        UndoHistory history(model);
        RecordFilter filter(model);
        ASSERT_EQ(filter.Apply({{ItemIndex{0}, "0"}}, {}), 20);
        for (int step = 0; step < 60; ++step) {
            const std::vector<int> shown = Shown(filter, model);
            const int record =
                shown[static_cast<size_t>(random.Int(0, static_cast<int>(shown.size()) - 1))];
            switch (random.Int(0, 6)) {
                case 0:
                    history.InsertRow(record);
                    break;
                case 1:
                    if (shown.size() > 2) history.DeleteRow(record);
                    break;
                case 2:
                    history.SortRecords(ItemIndex{random.Int(0, 1)}, SortOrder{random.Int(0, 5)});
                    break;
                case 3:
                    history.MoveRow(random.Int(1, model.RowCount() - 2),
                                    random.Int(1, model.RowCount() - 2));
                    break;
                case 4:
                case 5:
                    history.Undo();
                    break;
                default:
                    history.Redo();
                    break;
            }
            std::vector<int> expected;
            for (int row = 1; row < model.RowCount() - 1; ++row) {
                const std::string_view id = model.GetCell(1, row);
                if (id.empty() || id.ends_with('0')) expected.push_back(row);
            }
            ASSERT_EQ(Shown(filter, model), expected) << seed << " step " << step;
        }
    }
}

}  // namespace
}  // namespace tabulon
