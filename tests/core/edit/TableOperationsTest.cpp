#include <gtest/gtest.h>

#include "RandomTable.h"
#include "edit/TableOperations.h"
#include "text/Error.h"

namespace tabulon {
namespace {

// The structural commands written out as their copy loops over whole rows and
// columns: slow, but obviously what the commands must do.
struct Reference {
    std::vector<std::vector<std::string>> cells;  // [col][row]
    std::vector<int> widths;
    int defaultWidth = 64;

    explicit Reference(const TableModel& m) {
        for (int c = 0; c < m.ColCount(); ++c) {
            cells.push_back(m.GetColTexts(c));
            widths.push_back(m.GetColWidth(c));
        }
    }
    int Cols() const { return static_cast<int>(cells.size()); }
    int Rows() const { return static_cast<int>(cells[0].size()); }
    void SetRows(int n) {
        for (auto& col : cells)
            col.resize(static_cast<size_t>(n));
    }
    void SetCols(int n) {
        cells.resize(static_cast<size_t>(n), std::vector<std::string>(static_cast<size_t>(Rows())));
        widths.resize(static_cast<size_t>(n), defaultWidth);
    }
    void InsertRow(int r) {
        SetRows(Rows() + 1);
        for (int i = Rows() - 2; i >= r; --i)
            for (auto& col : cells)
                col[static_cast<size_t>(i + 1)] = col[static_cast<size_t>(i)];
        for (auto& col : cells)
            col[static_cast<size_t>(r)].clear();
    }
    void DeleteRow(int r) {
        if (Rows() <= 2) return;
        for (int i = r; i <= Rows() - 2; ++i)
            for (int c = 1; c < Cols(); ++c)
                cells[static_cast<size_t>(c)][static_cast<size_t>(i)] =
                    cells[static_cast<size_t>(c)][static_cast<size_t>(i + 1)];
        SetRows(Rows() - 1);
    }
    void InsertColumn(int c) {
        SetCols(Cols() + 1);
        for (int j = Cols() - 2; j >= c; --j)
            cells[static_cast<size_t>(j + 1)] = cells[static_cast<size_t>(j)];
        for (auto& text : cells[static_cast<size_t>(c)])
            text.clear();
    }
    void DeleteColumn(int c) {
        if (Cols() <= 2) return;
        for (int j = c + 1; j < Cols(); ++j)
            cells[static_cast<size_t>(j - 1)] = cells[static_cast<size_t>(j)];
        SetCols(Cols() - 1);
    }
    void ExpectEqual(const TableModel& m, const std::string& what) const {
        ASSERT_EQ(m.ColCount(), Cols()) << what;
        ASSERT_EQ(m.RowCount(), Rows()) << what;
        for (int c = 0; c < Cols(); ++c) {
            EXPECT_EQ(m.GetColTexts(c), cells[static_cast<size_t>(c)]) << what << " column " << c;
            EXPECT_EQ(m.GetColWidth(c), widths[static_cast<size_t>(c)]) << what << " width " << c;
        }
    }
};

TEST(TableOperations, MatchTheirCopyLoopsOnRandomTables) {
    testing::RandomTable random(5);
    for (int round = 0; round < 300; ++round) {
        TableModel model;
        random.Fill(model,
                    {random.Int(1, 4), random.Int(0, 6), testing::TextKind::Japanese, 4, true, 30});
        // Column 0 carries texts of its own here so that its treatment shows.
        for (int r = 0; r < model.RowCount(); ++r) {
            model.SetCell(0, r, random.Int(0, 2) ? "" : "m" + std::to_string(r));
        }
        Reference reference(model);
        for (int step = 0; step < 6; ++step) {
            const int op = random.Int(0, 3);
            const int row = random.Int(1, model.RowCount() - 1);
            const int col = random.Int(1, model.ColCount() - 1);
            const int current = model.CurrentRow();
            switch (op) {
                case 0:
                    InsertRow(model, row);
                    reference.InsertRow(row);
                    break;
                case 1:
                    DeleteRow(model, row);
                    reference.DeleteRow(row);
                    break;
                case 2:
                    InsertColumn(model, col);
                    reference.InsertColumn(col);
                    break;
                case 3:
                    DeleteColumn(model, col);
                    reference.DeleteColumn(col);
                    break;
            }
            reference.ExpectEqual(model,
                                  "round " + std::to_string(round) + " op " + std::to_string(op));
            if (op == 0) {
                EXPECT_EQ(model.CurrentRow(), current);
            }
            if (::testing::Test::HasFailure()) return;
        }
    }
}

TEST(TableOperations, RefuseToRemoveTheLastRecordRowOrItemColumn) {
    TableModel model;
    model.SetRowCount(2);
    model.SetCell(1, 1, "kept");
    DeleteRow(model, 1);
    DeleteColumn(model, 1);
    EXPECT_EQ(model.ColCount(), 2);
    EXPECT_EQ(model.RowCount(), 2);
    EXPECT_EQ(model.GetCell(1, 1), "kept");
}

TEST(TableOperations, DeletingTheLastRowMakesTheRowAboveCurrent) {
    TableModel model;
    model.SetRowCount(5);
    model.SetCurrentCell(1, 4);
    DeleteRow(model, 4);
    EXPECT_EQ(model.RowCount(), 4);
    EXPECT_EQ(model.CurrentRow(), 3);
    model.SetColCount(4);
    model.SetCurrentCell(3, 3);
    DeleteColumn(model, 3);
    EXPECT_EQ(model.CurrentCol(), 2);
}

TEST(TableOperations, InsertedColumnKeepsThePositionsWidths) {
    TableModel model;
    model.SetColCount(3);
    model.SetColWidth(1, 120);
    model.SetColWidth(2, 40);
    model.SetCell(1, 0, "first");
    InsertColumn(model, 1);
    EXPECT_EQ(model.GetCell(1, 0), "");
    EXPECT_EQ(model.GetCell(2, 0), "first");
    EXPECT_EQ(model.GetColWidth(1), 120);
    EXPECT_EQ(model.GetColWidth(2), 40);
    EXPECT_EQ(model.GetColWidth(3), 64);
}

TEST(TableOperations, PastedBlocksFollowTheTypingRules) {
    const struct {
        const char* what;
        CellPosition at;
        testing::Rows block;
        const char* table;  // Dump afterwards
    } cases[] = {
        {"inside", {1, 1}, {{"x", "y"}}, "A\tB\nx\ty\na2\tb2\n\t\n"},
        {"items beyond appended, unnamed",
         {2, 1},
         {{"x", "y"}, {"z"}},
         "A\tB\t\na1\tx\ty\na2\tz\t\n\t\t\n"},
        {"line breaks joined", {1, 2}, {{"p\r\nq\rr\ns"}}, "A\tB\na1\tb1\npqrs\tb2\n\t\n"},
        {"the last row gets a next one", {2, 3}, {{"z"}}, "A\tB\na1\tb1\na2\tb2\n\tz\n\t\n"},
        {"an empty text in the last row appends nothing",
         {1, 3},
         {{""}},
         "A\tB\na1\tb1\na2\tb2\n\t\n"},
        {"rows beyond appended",
         {1, 2},
         {{"1"}, {"2"}, {"3"}},
         "A\tB\na1\tb1\n1\tb2\n2\t\n3\t\n\t\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TableModel model;
        testing::FillRows(model, {{"A", "B"}, {"a1", "b1"}, {"a2", "b2"}, {"", ""}});
        model.SetColWidth(1, 30);
        model.SetColWidth(2, 30);
        PasteCells(model, c.at, c.block);
        EXPECT_EQ(testing::Dump(model), c.table);
        for (int added = 3; added < model.ColCount(); ++added) {
            EXPECT_EQ(model.GetColWidth(added), model.DefaultColWidth());
        }
    }
    TableModel model;
    testing::FillRows(model, {{"A", "B"}, {"a1", "b1"}, {"", ""}});
    EXPECT_THROW(PasteCells(model, {1, 0}, {{"name"}}), Error);
    EXPECT_THROW(ClearCells(model, {0, 1}, {1, 1}), Error);
    ClearCells(model, {2, 1}, {9, 9});
    EXPECT_EQ(testing::Dump(model), "A\tB\na1\t\n\t\n");
}

}  // namespace
}  // namespace tabulon
