#include <gtest/gtest.h>

#include "TableText.h"
#include "edit/ItemNames.h"
#include "table/ItemLabels.h"
#include "text/Cp932.h"

namespace tabulon {
namespace {

using testing::Dump;
using testing::FillRows;

// Items A, B, C over two records and the empty last row; every column has a
// width of its own so that kept and new positions can be told apart.
void FillAbc(TableModel& model) {
    FillRows(model, {{"A", "B", "C"}, {"a1", "b1", "c1"}, {"a2", "b2", "c2"}, {"", "", ""}});
    for (int c = 0; c < model.ColCount(); ++c) {
        model.SetColWidth(c, 40 + c);
    }
    model.MoveMarker(2);
}

TEST(ItemNames, ApplyingAListShapesTheItemColumns) {
    const std::string sjisName = "\x96\xBC\x91\x4F";  // 名前
    const struct {
        const char* what;
        std::vector<std::string> entries;
        std::string table;  // Dump after applying
        std::vector<int> widths;
    } cases[] = {
        {"unchanged", {"A", "B", "C"}, "A\tB\tC\na1\tb1\tc1\na2\tb2\tc2\n\t\t\n", {40, 41, 42, 43}},
        {"renamed", {"X", "B", "Z"}, "X\tB\tZ\na1\tb1\tc1\na2\tb2\tc2\n\t\t\n", {40, 41, 42, 43}},
        {"one more",
         {"A", "B", "C", "D"},
         "A\tB\tC\tD\na1\tb1\tc1\t\na2\tb2\tc2\t\n\t\t\t\n",
         {40, 41, 42, 43, 64}},
        {"entry 2 emptied", {"A", "", "C"}, "A\na1\na2\n\n", {40, 41}},
        {"after a gap ignored",
         {"A", "B", "C", "", "", "F"},
         "A\tB\tC\na1\tb1\tc1\na2\tb2\tc2\n\t\t\n",
         {40, 41, 42, 43}},
        // No name is written, so the one item column left keeps its old name.
        {"entry 1 emptied", {"", "B", "C"}, "A\na1\na2\n\n", {40, 41}},
        {"no entries", {}, "A\na1\na2\n\n", {40, 41}},
        {"line breaks joined",
         {"x\r\ny", "\nB\r", "C\r\r\n\n"},
         "xy\tB\tC\na1\tb1\tc1\na2\tb2\tc2\n\t\t\n",
         {40, 41, 42, 43}},
        {"only a line break ends the run", {"A", "\r\n", "C"}, "A\na1\na2\n\n", {40, 41}},
        {"duplicates and blanks kept as typed",
         {sjisName, sjisName, " "},
         sjisName + "\t" + sjisName + "\t \na1\tb1\tc1\na2\tb2\tc2\n\t\t\n",
         {40, 41, 42, 43}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TableModel model;
        FillAbc(model);
        ApplyNameList(model, c.entries);
        EXPECT_EQ(Dump(model), c.table);
        std::vector<int> widths;
        for (int col = 0; col < model.ColCount(); ++col) {
            widths.push_back(model.GetColWidth(col));
        }
        EXPECT_EQ(widths, c.widths);
        EXPECT_EQ(model.MarkerRow(), 2);
        EXPECT_EQ(model.GetCell(0, 2), kMarker);
        EXPECT_EQ(model.GetCell(0, 1), "");
    }
}

TEST(ItemNames, NamesBeyondTheHundredthAreNoDifferentFromTheOthers) {
    TableModel model;
    std::vector<std::string> names;
    for (int i = 1; i <= 150; ++i) {
        names.push_back("item" + std::to_string(i));
    }
    ApplyNameList(model, names);
    EXPECT_EQ(model.ColCount(), 151);
    EXPECT_EQ(ItemNames(model), names);

    // Read back and applied again, they all stay; a shorter run drops the rest.
    ApplyNameList(model, ItemNames(model));
    EXPECT_EQ(ItemNames(model), names);
    names.resize(100);
    ApplyNameList(model, names);
    EXPECT_EQ(ItemNames(model), names);
}

TEST(ItemNames, ReadsTheNamesOfTheItemColumns) {
    TableModel model;
    EXPECT_EQ(ItemNames(model), std::vector<std::string>{""});
    FillAbc(model);
    EXPECT_EQ(ItemNames(model), (std::vector<std::string>{"A", "B", "C"}));
}

TEST(ItemNames, UnnamedItemsAreListedByTheirColumnNumber) {
    TableModel model;
    FillRows(model, {{"A", "", "C", ""}, {"a1", "b1", "c1", "d1"}, {"", "", "", ""}});
    const std::string second = Utf8ToCp932OrThrow("（2列目）");
    EXPECT_EQ(ItemLabels(model),
              (std::vector<std::string>{"A", second, "C", Utf8ToCp932OrThrow("（4列目）")}));
    EXPECT_EQ(ItemLabel(model, 2), second);
    EXPECT_EQ(ItemLabel(model, 12), Utf8ToCp932OrThrow("（12列目）"));
    // The table keeps its empty names.
    EXPECT_EQ(ItemNames(model), (std::vector<std::string>{"A", "", "C", ""}));
}

// Records what the model announces about the current cell.
struct SelectionLog : TableObserver {
    std::vector<std::pair<int, int>> raised;
    void SelectionChanged(int col, int row) override { raised.emplace_back(col, row); }
};

TEST(ItemNames, ACurrentCellInARemovedColumnMovesToTheNewLastColumn) {
    const struct {
        int currentCol;
        std::vector<std::string> entries;
        int expectedCol;
        size_t selectionsRaised;
    } cases[] = {
        {3, {"A"}, 1, 1},      {3, {"A", "B"}, 2, 1},
        {2, {"A", "B"}, 2, 0}, {3, {"A", "B", "C", "D"}, 3, 0},
        {2, {}, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.currentCol);
        SCOPED_TRACE(c.entries.size());
        TableModel model;
        FillAbc(model);
        model.SetCurrentCell(c.currentCol, 2);
        SelectionLog log;
        model.AddObserver(&log);
        ApplyNameList(model, c.entries);
        model.RemoveObserver(&log);
        EXPECT_EQ(model.CurrentCol(), c.expectedCol);
        EXPECT_EQ(model.CurrentRow(), 2);
        EXPECT_EQ(log.raised.size(), c.selectionsRaised);
    }
}

}  // namespace
}  // namespace tabulon
