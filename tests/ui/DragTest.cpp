// Dragging a row by its marker cell and a column by its item name: the model
// moves (texts, marker, width, current cell) and the header is put back.

#include <QHeaderView>

#include "MainWindowFixture.h"

namespace {

using DragTest = MainWindowFixture;

// Drags header section `from` onto section `to` with the left button.
void DragSection(QHeaderView* header, int from, int to) {
    const auto at = [&](int section, int part) {
        const int along =
            header->sectionViewportPosition(section) + header->sectionSize(section) * part / 4;
        const int across =
            (header->orientation() == Qt::Horizontal ? header->height() : header->width()) / 2;
        return header->orientation() == Qt::Horizontal ? QPoint(along, across)
                                                       : QPoint(across, along);
    };
    QWidget* viewport = header->viewport();
    const QPoint start = at(from, 2);
    const QPoint end = at(to, to > from ? 3 : 1);
    QTest::mousePress(viewport, Qt::LeftButton, {}, start);
    for (const QPoint& p : {start + (end - start) / 4, end}) {
        QMouseEvent move(QEvent::MouseMove, p, viewport->mapToGlobal(p), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, end);
}

bool HeaderInOrder(const QHeaderView* header) {
    for (int i = 0; i < header->count(); ++i) {
        if (header->visualIndex(i) != i) {
            return false;
        }
    }
    return true;
}

TEST_F(DragTest, DraggingTheCurrentRowMovesItsTextsMarkerAndCursor) {
    Start();
    Fill({{"A", "B"}, {"1", "a"}, {"2", "b"}, {"3", "c"}, {"4", "d"}, {"5", "e"}});
    Select(2, 2);
    MarkSaved();
    DragSection(grid()->verticalHeader(), 1, 4);  // rows 2 -> 5
    EXPECT_EQ(Row(2), QStringLiteral("|3|c"));
    EXPECT_EQ(Row(4), QStringLiteral("|5|e"));
    EXPECT_EQ(Row(5), QStringLiteral("→|2|b"));
    EXPECT_EQ(MarkerRows(), std::vector<int>{5});
    EXPECT_EQ(model().CurrentRow(), 5);
    EXPECT_EQ(model().CurrentCol(), 2);
    EXPECT_EQ(Panel(1), QStringLiteral("5,2"));
    EXPECT_TRUE(model().Modified());
    EXPECT_TRUE(HeaderInOrder(grid()->verticalHeader()));
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(4, 1));
    EXPECT_EQ(editor()->text(), QStringLiteral("b"));
}

TEST_F(DragTest, DraggingAnotherRowLeavesOneMarkerOnTheCurrentRow) {
    Start();
    Fill({{"A"}, {"1"}, {"2"}, {"3"}, {"4"}});
    Select(1, 2);
    DragSection(grid()->verticalHeader(), 3, 0);  // row 4 -> 1
    EXPECT_EQ(Row(1), QStringLiteral("|4"));
    EXPECT_EQ(Row(3), QStringLiteral("→|2"));
    EXPECT_EQ(MarkerRows(), std::vector<int>{3});
    EXPECT_EQ(model().CurrentRow(), 3);
    EXPECT_EQ(Panel(1), QStringLiteral("3,1"));
    EXPECT_EQ(editor()->text(), QStringLiteral("2"));
}

TEST_F(DragTest, DraggingAColumnMovesItsNameTextsAndWidth) {
    Start();
    Fill({{"A", "B", "C"}, {"a", "b", "c"}});
    model().SetColWidth(3, 111);
    Select(1, 1);
    MarkSaved();
    DragSection(grid()->horizontalHeader(), 2, 0);  // column 3 -> 1
    EXPECT_EQ(Row(0), QStringLiteral("|C|A|B"));
    EXPECT_EQ(Row(1), QStringLiteral("→|c|a|b"));
    EXPECT_EQ(model().GetColWidth(1), 111);
    EXPECT_EQ(grid()->columnWidth(0), 111);
    EXPECT_EQ(model().CurrentCol(), 2);  // it keeps pointing at "a"
    EXPECT_EQ(Panel(1), QStringLiteral("1,2"));
    EXPECT_TRUE(model().Modified());
    EXPECT_TRUE(HeaderInOrder(grid()->horizontalHeader()));
    EXPECT_EQ(editor()->text(), QStringLiteral("a"));
}

// Drags the right border of the grid's first item column `pixels` to the right.
void DragFirstBorder(QHeaderView* header, int pixels) {
    const int border = header->sectionViewportPosition(0) + header->sectionSize(0) - 1;
    const QPoint start(border, header->height() / 2);
    const QPoint end = start + QPoint(pixels, 0);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, end, header->viewport()->mapToGlobal(end), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &move);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, end);
}

TEST_F(DragTest, AColumnBorderDragWritesTheWidthBack) {
    Start();
    Fill({{"A", "B"}, {"a", "b"}});
    DragFirstBorder(grid()->horizontalHeader(), 30);
    EXPECT_EQ(model().GetColWidth(1), 64 + 30);
    EXPECT_EQ(model().GetColWidth(2), 64);
}

// Only the history knows which state was saved: undoing past a save marks the
// table changed, and coming back to it clean.
TEST_F(DragTest, ASaveMovesTheCleanStateOfTheHistory) {
    Start();
    Fill({{"A", "B"}, {"a", "b"}, {"c", "d"}});
    Select(1, 2);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    prompts_.SaveFile(PathOf(QStringLiteral("t.tbn")));
    action("saveAsAction")->trigger();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(model().Modified()) << "the deleted row is back";
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FALSE(model().Modified()) << "deleted again, as saved";

    DragFirstBorder(grid()->horizontalHeader(), 30);
    action("saveAction")->trigger();
    DragFirstBorder(grid()->horizontalHeader(), 20);
    EXPECT_TRUE(model().Modified());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(model().Modified()) << "the width as saved";
    EXPECT_EQ(model().GetColWidth(1), 64 + 30);
}

}  // namespace
