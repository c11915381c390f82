// The grid with hostile sizes and many items: what it shows is bounded while
// the model keeps what it holds, its headers and cells stay in step however
// the sizes change, and the item names fit their heads.

#include <QHeaderView>
#include <QScrollBar>
#include <QSpinBox>
#include <climits>

#include "DialogDriver.h"
#include "RowHeightDialog.h"
#include "table/ViewGeometry.h"

using tabulon::ShownSize;
using namespace Qt::StringLiterals;

namespace {

class WideTableTest : public MainWindowFixture {
  public:
    // The cells start where the headers end, at once, without waiting for events.
    void ExpectHeadersMeetCells() const {
        const QRect cells = grid()->viewport()->geometry();
        EXPECT_EQ(cells.top(), grid()->horizontalHeader()->geometry().bottom() + 1);
        EXPECT_EQ(cells.left(), grid()->verticalHeader()->geometry().right() + 1);
    }
    // Every size the grid shows is the model's, bounded.
    void ExpectGridShowsModel() const {
        EXPECT_EQ(grid()->verticalHeader()->width(), ShownSize(model().GetColWidth(0)));
        EXPECT_EQ(grid()->verticalHeader()->defaultSectionSize(), ShownSize(model().RowHeight()));
        EXPECT_EQ(grid()->horizontalHeader()->height(), ShownSize(model().RowHeight()));
        ASSERT_EQ(grid()->horizontalHeader()->count(), model().ColCount() - 1);
        for (int c = 1; c < model().ColCount(); ++c) {
            ASSERT_EQ(grid()->columnWidth(c - 1), ShownSize(model().GetColWidth(c))) << c;
        }
    }
    // Writes a table file of `cols` - 1 items over one record, widths[c] for column c.
    QString WriteTable(const QString& name, const std::vector<int>& widths) {
        const int cols = static_cast<int>(widths.size());
        QByteArray text = QByteArray::number(cols) + "\r\n3\r\n";
        for (const int width : widths) {
            text += QByteArray::number(width) + "\r\n";
        }
        for (int c = 1; c < cols; ++c) {
            text += "I" + QByteArray::number(c) + "\r\nr" + QByteArray::number(c) + "\r\n\r\n";
        }
        WriteFile(PathOf(name), text);
        return PathOf(name);
    }
};

TEST_F(WideTableTest, HostileSizesShowBoundedAndTheModelKeepsThem) {
    WriteFile(DataDir() + u"/height.ini"_s, "2147483647\r\n");
    Start();
    EXPECT_EQ(model().RowHeight(), 1000);  // settings are brought within bounds
    EXPECT_EQ(grid()->verticalHeader()->defaultSectionSize(), 1000);
    EXPECT_EQ(grid()->horizontalHeader()->height(), 1000);
    ExpectHeadersMeetCells();
    prompts_.OpenFile(WriteTable(u"wide.tbn"_s, {5000, 5000, 0, -9, 64, 1000, 1001}));
    action("openAction")->trigger();
    EXPECT_EQ(grid()->verticalHeader()->width(), 1000);
    EXPECT_EQ(grid()->columnWidth(0), 1000);
    ExpectGridShowsModel();
    for (const auto& [col, width] : {std::pair{0, 5000}, {1, 5000}, {2, 0}, {3, -9}, {6, 1001}}) {
        EXPECT_EQ(model().GetColWidth(col), width) << col;
    }
    EXPECT_FALSE(model().Modified());

    // Each change shows at once, headers and cells in step; the model keeps its value.
    const struct {
        const char* what;
        int col;  // -1: the row height
        int size;
    } changes[] = {
        {"the row height to the largest int", -1, INT_MAX},
        {"the row height to 0", -1, 0},
        {"a negative row height", -1, -3},
        {"a plain row height", -1, 40},
        {"the marker column wider than shown", 0, 5000},
        {"the marker column to 0", 0, 0},
        {"a plain marker column", 0, 30},
        {"an item to 0", 2, 0},
        {"an item far too wide", 2, 99999},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.what);
        if (change.col < 0) {
            model().SetRowHeight(change.size);
            EXPECT_EQ(model().RowHeight(), change.size);
        } else {
            model().SetColWidth(change.col, change.size);
            EXPECT_EQ(model().GetColWidth(change.col), change.size);
        }
        ExpectGridShowsModel();
        ExpectHeadersMeetCells();
    }
    EXPECT_EQ(model().GetColWidth(1), 5000);
}

TEST_F(WideTableTest, ATallTableAtTheLargestHeightStaysWithinTheHeadersReach) {
    Start();
    model().SetRowHeight(INT_MAX);
    // Past about a million records the shown height gives way, so that the
    // rows still add up to a length (an int in Qt) rather than overflow it.
    for (const int rows : {1'000'000, 3'000'000, 30}) {
        SCOPED_TRACE(rows);
        model().SetRowCount(rows);
        const QHeaderView* header = grid()->verticalHeader();
        const int height = header->defaultSectionSize();
        EXPECT_EQ(header->length(), int64_t{height} * (rows - 1));
        EXPECT_EQ(grid()->horizontalHeader()->height(), height);
        if (rows <= 1'000'000) {
            EXPECT_EQ(height, 1000);
        }
        ExpectHeadersMeetCells();
    }
    EXPECT_EQ(model().RowHeight(), INT_MAX);
}

TEST_F(WideTableTest, ATypedHeightAboveTheLargestIsTheLargest) {
    Start();
    for (const char* typed : {"5000", "2147483647", "99999999999"}) {
        SCOPED_TRACE(typed);
        model().SetRowHeight(18);
        OpenWith(window<RowHeightDialog>(), editor(), Qt::Key_H);
        auto* box = Child<QSpinBox>(window<RowHeightDialog>(), "heightBox");
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QString::fromLatin1(typed));
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(model().RowHeight(), tabulon::kLargestViewSize);
        ExpectGridShowsModel();
        ExpectHeadersMeetCells();
    }
}

TEST_F(WideTableTest, AnOpenedTableStartsAtItsLeftEdge) {
    const QString table = WriteTable(u"wide.tbn"_s, std::vector<int>(200, 70));
    Start({table});
    EXPECT_EQ(grid()->horizontalScrollBar()->value(), 0);
    // Also after the last table was left scrolled to its right end.
    Key(Qt::Key_End, Qt::ControlModifier);
    for (int i = 0; i < 199; ++i) {
        Key(Qt::Key_Tab);
    }
    ASSERT_GT(grid()->horizontalScrollBar()->value(), 0);
    prompts_.OpenFile(table);
    action("openAction")->trigger();
    EXPECT_EQ(model().CurrentCol(), 1);
    EXPECT_EQ(grid()->horizontalScrollBar()->value(), 0);
}

TEST_F(WideTableTest, InsertingAndDeletingItemsKeepsEveryWidthShown) {
    std::vector<int> widths{20};
    for (int c = 1; c < 400; ++c) {
        widths.push_back(c % 37 == 0 ? 5000 : 10 + c * 7 % 300);
    }
    Start({WriteTable(u"wide.tbn"_s, widths)});
    const struct {
        const char* what;
        int col;  // made current first
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } steps[] = {
        {"insert at the first item", 1, Qt::Key_Insert, Qt::ShiftModifier},
        {"insert in the middle", 200, Qt::Key_Insert, Qt::ShiftModifier},
        {"insert at the last item", 401, Qt::Key_Insert, Qt::ShiftModifier},
        {"delete the first item", 1, Qt::Key_Delete, Qt::ShiftModifier},
        {"delete in the middle", 150, Qt::Key_Delete, Qt::ShiftModifier},
        {"delete the last item", 400, Qt::Key_Delete, Qt::ShiftModifier},
        {"undo that", 1, Qt::Key_Z, Qt::ControlModifier},
        {"undo the one before", 1, Qt::Key_Z, Qt::ControlModifier},
        {"redo", 1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        const int cols = model().ColCount();
        Select(step.col, 1);
        Key(step.key, step.modifiers);
        EXPECT_NE(model().ColCount(), cols);
        ExpectGridShowsModel();
    }
}

TEST_F(WideTableTest, ALongItemNameIsElidedAtItsEnd) {
    Start();
    const QString tail = u"の長い項目名"_s.repeated(8);
    // The head of section 0 as painted with `name` as its item name.
    const auto head = [&](const QString& name) {
        model().SetCell(1, 0, Cp932(name).toStdString());
        QHeaderView* header = grid()->horizontalHeader();
        return header->viewport()
            ->grab(QRect(header->sectionViewportPosition(0), 0, header->sectionSize(0),
                         header->height()))
            .toImage();
    };
    // The start of the name shows; its end gives way to the ellipsis. (The two
    // characters are as wide, so the rest of the name stands where it did.)
    EXPECT_NE(head(u"甲"_s + tail), head(u"乙"_s + tail));
    EXPECT_EQ(head(tail + u"甲"_s), head(tail + u"乙"_s));
}

}  // namespace
