// The sort dialog driven by keys and clicks: its controls, the six orders on
// the chosen item, the refill on each opening, and the main window taking no
// input while it is open, whichever way it closes.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "MainWindowFixture.h"
#include "SortDialog.h"
#include "WindowInput.h"
#include "text/Cp932.h"

namespace {

using namespace Qt::StringLiterals;

class SortDialogTest : public MainWindowFixture {
  protected:
    QComboBox* keyItemList() const { return Child<QComboBox>(window<SortDialog>(), "keyItemList"); }
    QComboBox* orderList() const { return Child<QComboBox>(window<SortDialog>(), "orderList"); }
    QPushButton* sortButton() const {
        return Child<QPushButton>(window<SortDialog>(), "sortButton");
    }
    QPushButton* cancelButton() const {
        return Child<QPushButton>(window<SortDialog>(), "cancelButton");
    }

    // Ctrl+S pressed in the main window.
    void OpenByKey() {
        PressIn(mainWindow(), Qt::Key_S, Qt::ControlModifier);
        ASSERT_TRUE(window<SortDialog>()->isVisible());
    }
    // Moves the focus with Tab until it reaches `target`.
    void TabTo(QWidget* target) {
        for (int i = 0; i < 4 && window<SortDialog>()->focusWidget() != target; ++i) {
            PressIn(window<SortDialog>(), Qt::Key_Tab);
        }
        ASSERT_EQ(window<SortDialog>()->focusWidget(), target);
    }
    // Chooses entry `index` of a list by the keyboard.
    void Choose(QComboBox* list, int index) {
        TabTo(list);
        PressIn(window<SortDialog>(), Qt::Key_Home);
        for (int i = 0; i < index; ++i) {
            PressIn(window<SortDialog>(), Qt::Key_Down);
        }
        ASSERT_EQ(list->currentIndex(), index);
    }
    // Column `col` of the records, joined with "|".
    QString Records(int col) const {
        QStringList texts;
        for (int r = 1; r < model().RowCount() - 1; ++r) {
            texts.append(Cell(col, r));
        }
        return texts.join(u'|');
    }
};

TEST_F(SortDialogTest, ShowsItsControlsInTheirPlacesAndTabOrder) {
    Start();
    OpenByKey();
    EXPECT_EQ(window<SortDialog>()->windowTitle(), u"整列"_s);
    EXPECT_EQ(window<SortDialog>()->size(), QSize(195, 159));
    EXPECT_EQ(window<SortDialog>()->minimumSize(), window<SortDialog>()->maximumSize())
        << "the frame is not sizeable";
    const Qt::WindowFlags flags = window<SortDialog>()->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    EXPECT_EQ(Child<QLabel>(window<SortDialog>(), "keyItemLabel")->text(), u"基準項目"_s);
    EXPECT_EQ(Child<QLabel>(window<SortDialog>(), "orderLabel")->text(), u"整列方法"_s);
    EXPECT_EQ(sortButton()->text(), u"開始(&S)"_s);
    EXPECT_EQ(cancelButton()->text(), u"キャンセル(&C)"_s);
    QStringList orders;
    for (int i = 0; i < orderList()->count(); ++i) {
        orders.append(orderList()->itemText(i));
    }
    EXPECT_EQ(orders, (QStringList{u"アイウエオ順（昇順）"_s, u"アイウエオ順（降順）"_s,
                                   u"文字数順（昇順）"_s, u"文字数順（降順）"_s,
                                   u"バイト数順（昇順）"_s, u"バイト数順（降順）"_s}));
    EXPECT_EQ(orderList()->currentIndex(), 0);

    // Top to bottom: item list, order list, then the buttons side by side.
    for (QComboBox* list : {keyItemList(), orderList()}) {
        EXPECT_EQ(list->width(), 161);
        EXPECT_FALSE(list->isEditable());
        EXPECT_TRUE(window<SortDialog>()->rect().contains(list->geometry()));
    }
    EXPECT_LT(keyItemList()->geometry().bottom(), orderList()->geometry().top());
    for (QPushButton* button : {sortButton(), cancelButton()}) {
        EXPECT_EQ(button->height(), 25);
        EXPECT_GE(button->width(), std::max(75, button->sizeHint().width())) << "caption whole";
        EXPECT_GT(button->geometry().top(), orderList()->geometry().bottom());
        EXPECT_TRUE(window<SortDialog>()->rect().contains(button->geometry()));
    }
    EXPECT_EQ(sortButton()->y(), cancelButton()->y());
    EXPECT_LT(sortButton()->geometry().right(), cancelButton()->x());

    ASSERT_EQ(window<SortDialog>()->focusWidget(), keyItemList());
    EXPECT_EQ(TabChain(window<SortDialog>(), 4),
              (QStringList{u"orderList"_s, u"sortButton"_s, u"cancelButton"_s, u"keyItemList"_s}));
    cancelButton()->click();
}

TEST_F(SortDialogTest, EachOrderSortsTheRecordsByTheChosenItem) {
    Start();
    // Column 2 is the key; column 1 names the rows. The measures differ:
    // 「アイ」 2 characters, 4 bytes; 「ｱｲｳ」 3 and 3; 「ab」 2 and 2.
    const std::vector<QStringList> table = {
        {u"行"_s, u"鍵"_s}, {u"r1"_s, u"アイ"_s}, {u"r2"_s, u"b"_s},  {u"r3"_s, u"ｱｲｳ"_s},
        {u"r4"_s, u""_s},   {u"r5"_s, u"B"_s},    {u"r6"_s, u"ab"_s},
    };
    const struct {
        int order;
        QString rows;
    } cases[] = {
        {0, u"r4|r5|r6|r2|r1|r3"_s},  // bytes unsigned: "" < B < ab < b < ア(0x83) < ｱ(0xB1)
        {1, u"r3|r1|r2|r6|r5|r4"_s}, {2, u"r4|r2|r5|r1|r6|r3"_s},  // equal counts keep their order
        {3, u"r3|r1|r6|r2|r5|r4"_s}, {4, u"r4|r2|r5|r6|r3|r1"_s}, {5, u"r1|r3|r6|r2|r5|r4"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.order);
        Fill(table);
        model().SetCell(1, model().RowCount() - 1, "last");
        Select(2, 3);
        MarkSaved();

        OpenByKey();
        Choose(keyItemList(), 1);
        Choose(orderList(), c.order);
        ClickOn(sortButton());

        EXPECT_FALSE(window<SortDialog>()->isVisible());
        EXPECT_EQ(Records(1), c.rows);
        EXPECT_EQ(Row(0), u"|行|鍵"_s);
        EXPECT_EQ(Row(model().RowCount() - 1), u"|last|"_s);
        EXPECT_EQ(MarkerRows(), std::vector<int>{3});
        EXPECT_EQ(model().CurrentCol(), 2);
        EXPECT_EQ(model().CurrentRow(), 3);
        EXPECT_EQ(model().Modified(), c.rows != u"r1|r2|r3|r4|r5|r6"_s);
    }
}

TEST_F(SortDialogTest, EachOpeningRefillsTheItemsAndKeepsTheOrder) {
    Start();
    Fill({{u"名前"_s, u""_s, u"年齢"_s}, {u"b"_s, u"x"_s, u"2"_s}, {u"a"_s, u"y"_s, u"1"_s}});
    OpenByKey();
    QStringList items;
    for (int i = 0; i < keyItemList()->count(); ++i) {
        items.append(keyItemList()->itemText(i));
    }
    EXPECT_EQ(items, (QStringList{u"名前"_s, u"（2列目）"_s, u"年齢"_s}));
    Choose(keyItemList(), 2);
    Choose(orderList(), 5);
    ClickOn(cancelButton());
    EXPECT_EQ(Records(1), u"b|a"_s) << "cancel sorts nothing";

    // The item names change while the dialog is closed.
    model().SetColCount(5);
    model().SetCell(1, 0, tabulon::Utf8ToCp932OrThrow("氏名"));
    model().SetCell(4, 0, "memo");
    OpenByKey();
    items.clear();
    for (int i = 0; i < keyItemList()->count(); ++i) {
        items.append(keyItemList()->itemText(i));
    }
    EXPECT_EQ(items, (QStringList{u"氏名"_s, u"（2列目）"_s, u"年齢"_s, u"memo"_s}));
    EXPECT_EQ(keyItemList()->currentIndex(), 0);
    EXPECT_EQ(orderList()->currentIndex(), 5);

    // Order 5 (bytes, descending) on the first item: equal lengths keep their order.
    ClickOn(sortButton());
    EXPECT_EQ(Records(1), u"b|a"_s);
    OpenByKey();
    Choose(orderList(), 0);
    ClickOn(sortButton());
    EXPECT_EQ(Records(1), u"a|b"_s);
}

TEST_F(SortDialogTest, MainWindowTakesNoInputUntilTheDialogClosesAnyWay) {
    Start();
    mainWindow()->move(200, 100);
    mainWindow()->resize(640, 400);
    Fill({{u"鍵"_s}, {u"b"_s}, {u"a"_s}});
    const QPoint otherCell =
        grid()->visualRect(grid()->model()->index(1, 0)).center();  // model cell (1, 2)
    const struct {
        const char* way;
        std::function<void()> close;
        QString records;
    } ways[] = {
        {"開始 clicked", [this] { ClickOn(sortButton()); }, u"a|b"_s},
        {"キャンセル clicked", [this] { ClickOn(cancelButton()); }, u"b|a"_s},
        {"Enter on the focused キャンセル",
         [this] {
             TabTo(cancelButton());
             PressIn(window<SortDialog>(), Qt::Key_Return);
         },
         u"b|a"_s},
        {"close box", [] { PressCloseBox(window<SortDialog>()); }, u"b|a"_s},
        {"Esc", [] { PressIn(window<SortDialog>(), Qt::Key_Escape); }, u"b|a"_s},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        Fill({{u"鍵"_s}, {u"b"_s}, {u"a"_s}});
        Select(1, 1);
        const QString before = Cell(1, 1);

        OpenByKey();
        const QRect main = mainWindow()->frameGeometry();
        const QSize size = window<SortDialog>()->frameGeometry().size();
        EXPECT_EQ(window<SortDialog>()->pos(),
                  QPoint(main.x() + (main.width() - size.width()) / 2,
                         main.y() + (main.height() - size.height()) / 2));
        EXPECT_EQ(QApplication::activeModalWidget(), window<SortDialog>());

        // Keys and clicks aimed at the table go nowhere; Enter on a list means
        // nothing to the dialog.
        TypeIn(mainWindow(), u"x"_s);
        ClickOn(grid()->viewport(), otherCell);
        TabTo(keyItemList());
        PressIn(window<SortDialog>(), Qt::Key_Return);
        EXPECT_TRUE(window<SortDialog>()->isVisible());
        EXPECT_EQ(Cell(1, 1), before);
        EXPECT_EQ(model().CurrentRow(), 1);

        w.close();
        EXPECT_FALSE(window<SortDialog>()->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(Records(1), w.records);

        // The table takes input again; the editor shows the row now in place.
        EXPECT_EQ(editor()->text(), Cell(1, 1));
        TypeIn(mainWindow(), u"x"_s);
        EXPECT_TRUE(Cell(1, 1).contains(u'x')) << Cell(1, 1).toStdString();
        ClickOn(grid()->viewport(), otherCell);
        EXPECT_EQ(model().CurrentRow(), 2);
    }
}

}  // namespace
