// The two result lists: what find all and the element search show, the
// windows' shapes, the messages when nothing is found, and the double-click
// jumps with their failures.

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>

#include "FindDialog.h"
#include "FoundCellsWindow.h"
#include "FoundRecordsWindow.h"
#include "SearchFixture.h"

using namespace Qt::StringLiterals;

namespace {

using ResultListsTest = SearchFixture;
using tabulon::CellPosition;

const QString kNoneFound = u"１つも見つかりませんでした"_s;
const QString kOutOfRange = u"グリッドインデックス が範囲を超えています."_s;

// Matches for "abc" at (2, 5), (1, 7) and (2, 1), one of them only by folding.
const std::vector<QStringList> kScattered{
    {u"名"_s, u"値"_s}, {u"zz"_s, u"ABC"_s},   {u"zz"_s, u"zz"_s}, {u"zz"_s, u"zz"_s},
    {u"zz"_s, u"zz"_s}, {u"zz"_s, u"xabcx"_s}, {u"zz"_s, u"zz"_s}, {u"ａｂｃ"_s, u"zz"_s},
};

TEST_F(ResultListsTest, FindAllListsTheHitsInScanOrderWithTheirOwnTexts) {
    Start();
    Fill(kScattered);
    QAbstractItemModelTester tester(ListGrid()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    const struct {
        const char* name;
        int place;
        int way;
        CellPosition current;
        QStringList lines;
    } cases[] = {
        {"whole table", 0, 1, {2, 3}, {u"1|7|ａｂｃ"_s, u"2|1|ABC"_s, u"2|5|xabcx"_s}},
        {"current row, itself included", 1, 0, {2, 5}, {u"2|5|xabcx"_s}},
        {"current column, itself included", 1, 1, {2, 5}, {u"2|1|ABC"_s, u"2|5|xabcx"_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Select(c.current.col, c.current.row);
        ActivateMain();
        OpenFind();
        TypeSearch(u"abc"_s);
        Pick("scopeList", c.place);
        if (c.place == 1) {
            Pick("directionList", c.way);
        }
        Click(window<FindDialog>(), "findAllButton");
        EXPECT_EQ(Lines(ListGrid()), c.lines);
        EXPECT_EQ(LabelText(window<FoundCellsWindow>(), "searchTextLabel"), u"検索文字列 : abc"_s);
        EXPECT_EQ(LabelText(window<FoundCellsWindow>(), "countLabel"),
                  u"条件適合数 : "_s + QString::number(c.lines.size()));
        EXPECT_TRUE(window<FoundCellsWindow>()->isVisible());
        EXPECT_FALSE(window<FindDialog>()->isVisible());
        EXPECT_TRUE(WaitActive(window<FoundCellsWindow>()));
        EXPECT_EQ(Current(), c.current);
        EXPECT_EQ(ListGrid()->SelectedLine(), 0);
    }
    EXPECT_EQ(Header(ListGrid()), (QStringList{u" 横位置"_s, u" 縦位置"_s, u" 内容"_s}));
    // The list is a picture of the search: later edits do not reach it.
    model().SetCell(2, 5, "changed");
    EXPECT_EQ(Lines(ListGrid()).back(), u"2|5|xabcx"_s);
    EXPECT_TRUE(prompts_.asked().empty());
}

TEST_F(ResultListsTest, TheFindAllWindowKeepsItsShapeAndItsContentColumnFillsTheGrid) {
    Start();
    Fill(kScattered);
    OpenFind();
    TypeSearch(u"abc"_s);
    Click(window<FindDialog>(), "findAllButton");
    ASSERT_TRUE(window<FoundCellsWindow>()->isVisible());
    EXPECT_EQ(window<FoundCellsWindow>()->windowTitle(), u"すべて検索"_s);
    EXPECT_EQ(window<FoundCellsWindow>()->size(), QSize(401, 344));
    EXPECT_TRUE(window<FoundCellsWindow>()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window<FoundCellsWindow>()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(window<FoundCellsWindow>()->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(window<FoundCellsWindow>()->windowModality(), Qt::NonModal);
    EXPECT_EQ(Child<QWidget>(window<FoundCellsWindow>(), "footer")->height(), 45);
    EXPECT_TRUE(Button(window<FoundCellsWindow>(), "closeButton")->isDefault());
    EXPECT_EQ(Button(window<FoundCellsWindow>(), "closeButton")->text(), u"閉じる"_s);
    ResultGrid* grid = ListGrid();
    EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    for (const QSize size : {QSize(401, 344), QSize(640, 300), QSize(300, 500)}) {
        window<FoundCellsWindow>()->resize(size);
        QApplication::processEvents();
        EXPECT_EQ(grid->columnWidth(0), 50);
        EXPECT_EQ(grid->columnWidth(1), 50);
        EXPECT_EQ(grid->columnWidth(2), grid->width() - 125);
        EXPECT_EQ(grid->width(), size.width());
    }
    EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 18);
    // Enter on a line goes to its cell as a double-click does; Esc hides the
    // list as "閉じる" does, keeping its lines.
    QTest::keyClick(grid, Qt::Key_Down);
    const QStringList line = Lines(grid)[grid->SelectedLine()].split(u'|');
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(Current(), (tabulon::CellPosition{line[0].toInt(), line[1].toInt()}));
    EXPECT_TRUE(window<FoundCellsWindow>()->isVisible());
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_FALSE(window<FoundCellsWindow>()->isVisible());
    EXPECT_EQ(Lines(grid).size(), 3);
}

TEST_F(ResultListsTest, FindAllWithoutHitsTellsSoAndEmptiesAnOpenList) {
    Start();
    Fill(kScattered);
    OpenFind();
    TypeSearch(u"abc"_s);
    Click(window<FindDialog>(), "findAllButton");
    ActivateMain();
    OpenFind();
    // Only the item names hold it: they are never searched.
    TypeSearch(u"値"_s);
    prompts_.Notice();
    Click(window<FindDialog>(), "findAllButton");
    EXPECT_EQ(prompts_.AskedTexts(), QStringList{kNoneFound});
    EXPECT_TRUE(window<FindDialog>()->isVisible());
    EXPECT_TRUE(window<FoundCellsWindow>()->isVisible());
    EXPECT_EQ(Lines(ListGrid()), QStringList{u"||"_s});
    EXPECT_EQ(LabelText(window<FoundCellsWindow>(), "searchTextLabel"), u"検索文字列 : 値"_s);
    EXPECT_EQ(LabelText(window<FoundCellsWindow>(), "countLabel"), u"条件適合数 : 3"_s);
    // The empty line holds no position to go to.
    prompts_.ErrorBox();
    DoubleClickLine(ListGrid(), 0);
    EXPECT_EQ(prompts_.AskedTexts().back(), u"'' は整数ではありません."_s);
    EXPECT_EQ(Current(), (CellPosition{1, 1}));
}

TEST_F(ResultListsTest, DoubleClickingAHitMakesItTheCurrentCellAndTheListStaysOnTop) {
    Start();
    Fill(kScattered);
    OpenFind();
    TypeSearch(u"abc"_s);
    Click(window<FindDialog>(), "findAllButton");
    ASSERT_TRUE(WaitActive(window<FoundCellsWindow>()));
    ResultGrid* grid = ListGrid();
    const struct {
        int line;
        CellPosition cell;
    } jumps[] = {{2, {2, 5}}, {0, {1, 7}}, {1, {2, 1}}};
    for (const auto& jump : jumps) {
        SCOPED_TRACE(jump.line);
        DoubleClickLine(grid, jump.line);
        EXPECT_EQ(Current(), jump.cell);
        EXPECT_EQ(MarkerRows(), std::vector<int>{jump.cell.row});
        EXPECT_EQ(Panel(1), u"%1,%2"_s.arg(jump.cell.row).arg(jump.cell.col));
        EXPECT_EQ(QApplication::activeWindow(), window<FoundCellsWindow>());
        EXPECT_TRUE(window<FoundCellsWindow>()->isVisible());
    }
    // A double-click on the header acts on the selected line.
    Select(1, 1);
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {},
                       QPoint(header->sectionPosition(2) + 10, header->height() / 2));
    EXPECT_EQ(Current(), (CellPosition{2, 1}));

    // Rows deleted since the search: the column moves, then the row is refused.
    model().SetRowCount(4);
    prompts_.ErrorBox();
    DoubleClickLine(grid, 0);
    ASSERT_EQ(prompts_.asked().size(), 1u);
    EXPECT_EQ(prompts_.asked()[0].text, kOutOfRange);
    EXPECT_EQ(prompts_.asked()[0].title, mainWindow()->windowTitle());
    EXPECT_EQ(Current(), (CellPosition{1, 1}));
    prompts_.ErrorBox();
    DoubleClickLine(grid, 2);
    EXPECT_EQ(prompts_.asked().back().text, kOutOfRange);
    EXPECT_EQ(Current(), (CellPosition{2, 1}));
}

// Six columns: five items and the marker column.
const std::vector<QStringList> kRecords{
    {u"名"_s, u"読"_s, u"年"_s, u"市"_s, u"備"_s},
    {u"一郎"_s, u"いち"_s, u"1"_s, u"東京"_s, u""_s},
    {u"二郎"_s, u"じ"_s, u"2"_s, u"大阪"_s, u"東"_s},
    {u"三郎"_s, u"さぶ"_s, u"3"_s, u"ﾄｳｷｮｳ東"_s, u"x"_s},
    {u"四郎"_s, u"し"_s, u"4"_s, u""_s, u""_s},
};

TEST_F(ResultListsTest, ElementSearchListsTheRecordsWhoseItemMatches) {
    Start();
    Fill(kRecords);
    for (int c = 1; c < model().ColCount(); ++c) {
        model().SetColWidth(c, 30 + c);
    }
    Select(2, 4);
    QAbstractItemModelTester tester(ElementGrid()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    OpenFind();
    ClickTab(1);
    TypeSearch(u"東"_s);
    Pick("itemList", 3);
    Click(window<FindDialog>(), "findAllButton");
    ASSERT_TRUE(window<FoundRecordsWindow>()->isVisible());
    ResultGrid* grid = ElementGrid();
    EXPECT_EQ(Header(grid),
              (QStringList{u"縦位置"_s, u"名"_s, u"読"_s, u"年"_s, u"市"_s, u"備"_s}));
    EXPECT_EQ(Lines(grid), (QStringList{u"1|一郎|いち|1|東京|"_s, u"3|三郎|さぶ|3|ﾄｳｷｮｳ東|x"_s}));
    EXPECT_EQ(grid->columnWidth(0), 50);
    for (int c = 1; c < 6; ++c) {
        EXPECT_EQ(grid->columnWidth(c), 30 + c) << c;
    }
    EXPECT_EQ(LabelText(window<FoundRecordsWindow>(), "searchTextLabel"), u"検索文字列 : 東"_s);
    EXPECT_EQ(LabelText(window<FoundRecordsWindow>(), "countLabel"), u"条件適合数 : 2"_s);
    EXPECT_EQ(LabelText(window<FoundRecordsWindow>(), "itemLabel"), u"検索要素 : 市"_s);
    EXPECT_FALSE(window<FindDialog>()->isVisible());
    EXPECT_TRUE(WaitActive(window<FoundRecordsWindow>()));
    EXPECT_EQ(Current(), (CellPosition{2, 4}));
    EXPECT_EQ(window<FoundRecordsWindow>()->windowTitle(), u"要素検索"_s);
    EXPECT_EQ(window<FoundRecordsWindow>()->size(), QSize(433, 423));
    EXPECT_FALSE(window<FoundRecordsWindow>()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(Child<QWidget>(window<FoundRecordsWindow>(), "footer")->height(), 60);
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(1), QHeaderView::Interactive);

    // The user's width of column 0 stays for the next search; the list does
    // not follow the table.
    grid->setColumnWidth(0, 77);
    model().SetCell(4, 1, "changed");
    ActivateMain();
    OpenFind();
    Pick("itemList", 4);
    TypeSearch(u"X"_s);
    Click(window<FindDialog>(), "findAllButton");
    EXPECT_EQ(Lines(grid), QStringList{u"3|三郎|さぶ|3|ﾄｳｷｮｳ東|x"_s});
    EXPECT_EQ(grid->columnWidth(0), 77);
    EXPECT_EQ(LabelText(window<FoundRecordsWindow>(), "itemLabel"), u"検索要素 : 備"_s);
    EXPECT_TRUE(prompts_.asked().empty());
}

TEST_F(ResultListsTest, ElementSearchWithoutMatchTellsSoAndLeavesTheListAlone) {
    Start();
    Fill(kRecords);
    OpenFind();
    ClickTab(1);
    TypeSearch(u"郎"_s);
    Click(window<FindDialog>(), "findAllButton");
    const QStringList before = Lines(ElementGrid());
    ASSERT_EQ(before.size(), 4);
    ActivateMain();
    OpenFind();
    const struct {
        const char* name;
        QString text;
        int item;
    } cases[] = {
        {"the item's own name", u"市"_s, 3},
        {"text of another item", u"いち"_s, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TypeSearch(c.text);
        Pick("itemList", c.item);
        prompts_.Notice();
        Click(window<FindDialog>(), "findAllButton");
        EXPECT_EQ(prompts_.asked().back().text, kNoneFound);
        EXPECT_TRUE(window<FindDialog>()->isVisible());
        EXPECT_EQ(Lines(ElementGrid()), before);
        EXPECT_EQ(LabelText(window<FoundRecordsWindow>(), "searchTextLabel"), u"検索文字列 : 郎"_s);
    }
}

TEST_F(ResultListsTest, DoubleClickingARecordGoesToItsCellInTheItemChosenNow) {
    Start();
    Fill(kRecords);
    OpenFind();
    ClickTab(1);
    TypeSearch(u"郎"_s);
    Click(window<FindDialog>(), "findAllButton");
    ResultGrid* grid = ElementGrid();
    DoubleClickLine(grid, 2);
    EXPECT_EQ(Current(), (CellPosition{1, 3}));
    EXPECT_EQ(MarkerRows(), std::vector<int>{3});
    EXPECT_EQ(Panel(1), u"3,1"_s);
    EXPECT_TRUE(WaitActive(mainWindow()));

    // The item is read from the find dialog at the double-click.
    OpenFind();
    Pick("itemList", 4);
    DoubleClickLine(grid, 1);
    EXPECT_EQ(Current(), (CellPosition{5, 2}));

    // Rows and columns deleted since: the table refuses, the focus stays.
    QApplication::setActiveWindow(window<FoundRecordsWindow>());
    ASSERT_TRUE(WaitActive(window<FoundRecordsWindow>()));
    model().SetRowCount(3);
    prompts_.ErrorBox();
    DoubleClickLine(grid, 3);
    EXPECT_EQ(prompts_.asked().back().text, kOutOfRange);
    EXPECT_EQ(Current(), (CellPosition{5, 2}));
    EXPECT_EQ(QApplication::activeWindow(), window<FoundRecordsWindow>());
    model().SetColCount(5);
    prompts_.ErrorBox();
    DoubleClickLine(grid, 0);
    EXPECT_EQ(prompts_.asked().back().text, kOutOfRange);
    EXPECT_EQ(Current(), (CellPosition{4, 2}));
    EXPECT_EQ(prompts_.asked().size(), 2u);
}

}  // namespace
