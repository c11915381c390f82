// The find dialog: its controls, the enabling that follows the tab and the
// scope, the history, find next from the dialog and from F3.

#include <QApplication>
#include <QScrollBar>

#include "FindDialog.h"
#include "SearchFixture.h"
#include "text/Cp932.h"

using namespace Qt::StringLiterals;

namespace {

using FindDialogTest = SearchFixture;
using tabulon::CellPosition;

TEST_F(FindDialogTest, OpensCentredOnTopWithEveryControlInItsFirstState) {
    Start();
    Fill({{u"名前"_s, u"読み"_s}, {u"a"_s, u"b"_s}});
    mainWindow()->move(200, 100);
    mainWindow()->resize(800, 600);
    // The second time, when the window's frame is known.
    OpenFind();
    Click(window<FindDialog>(), "closeButton");
    ActivateMain();
    OpenFind();
    EXPECT_EQ(window<FindDialog>()->windowTitle(), u"検索"_s);
    EXPECT_EQ(window<FindDialog>()->size(), QSize(454, 166));
    EXPECT_TRUE(window<FindDialog>()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window<FindDialog>()->windowModality(), Qt::NonModal);
    EXPECT_TRUE(mainWindow()->isEnabled());
    const QRect main = mainWindow()->frameGeometry();
    const QSize size = window<FindDialog>()->frameGeometry().size();
    EXPECT_EQ(window<FindDialog>()->pos(), QPoint(main.x() + (main.width() - size.width()) / 2,
                                                  main.y() + (main.height() - size.height()) / 2));
    EXPECT_TRUE(Combo("searchTextBox")->hasFocus());

    const struct {
        const char* name;
        QString caption;
        bool enabled;
        bool visible;
    } controls[] = {
        {"searchTextLabel", u"検索する文字列(&T):"_s, true, true},
        {"itemLabel", u"検索する要素(&D):"_s, true, false},
        {"scopeLabel", u"検索場所(&H):"_s, true, true},
        {"directionLabel", u"検索方向(&S):"_s, false, true},
        {"matchCaseBox", u"大文字と小文字を区別する(&C)"_s, true, true},
        {"wholeCellBox", u"セル内容が完全に同一であるものを検索する(&O)"_s, true, true},
        {"matchWidthBox", u"半角と全角を区別する(&B)"_s, true, true},
        {"findAllButton", u"すべて検索(&I)"_s, true, true},
        {"findNextButton", u"次を検索(&F)"_s, true, true},
        {"closeButton", u"閉じる"_s, true, true},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.name);
        QWidget* control = FindControl(c.name);
        const QString caption = qobject_cast<QLabel*>(control)
                                    ? qobject_cast<QLabel*>(control)->text()
                                    : qobject_cast<QAbstractButton*>(control)->text();
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(control->isEnabled(), c.enabled);
        EXPECT_EQ(control->isVisible(), c.visible);
        if (auto* box = qobject_cast<QCheckBox*>(control)) {
            EXPECT_FALSE(box->isChecked());
        }
    }
    // The access keys of the labels lead to their lists.
    EXPECT_EQ(Child<QLabel>(window<FindDialog>(), "searchTextLabel")->buddy(),
              Combo("searchTextBox"));
    EXPECT_EQ(Child<QLabel>(window<FindDialog>(), "scopeLabel")->buddy(), Combo("scopeList"));
    EXPECT_EQ(Child<QLabel>(window<FindDialog>(), "directionLabel")->buddy(),
              Combo("directionList"));
    EXPECT_EQ(Child<QLabel>(window<FindDialog>(), "itemLabel")->buddy(), Combo("itemList"));

    auto* tabs = Child<QTabBar>(window<FindDialog>(), "tabs");
    ASSERT_EQ(tabs->count(), 3);  // the third, 置換(&R), is ReplaceTest's
    EXPECT_EQ(tabs->tabText(0), u"検索(&D)"_s);
    EXPECT_EQ(tabs->tabText(1), u"要素検索(&E)"_s);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(tabs->tabRect(1).left() - tabs->tabRect(0).left(), 75);

    const auto items = [&](const char* name) {
        QStringList texts;
        for (int i = 0; i < Combo(name)->count(); ++i) {
            texts.append(Combo(name)->itemText(i));
        }
        return texts.join(u'|') + u'@' + QString::number(Combo(name)->currentIndex());
    };
    EXPECT_EQ(items("scopeList"), u"全体|指定@0"_s);
    EXPECT_EQ(items("directionList"), u"行|列@0"_s);
    EXPECT_EQ(items("itemList"), u"名前|読み@0"_s);
    EXPECT_FALSE(Combo("directionList")->isEnabled());
    EXPECT_FALSE(Combo("itemList")->isVisible());
    EXPECT_EQ(items("searchTextBox"), u"@-1"_s);
    EXPECT_TRUE(Combo("searchTextBox")->isEditable());
    EXPECT_EQ(Combo("searchTextBox")->maxVisibleItems(), 8);
    EXPECT_EQ(Combo("searchTextBox")->currentText(), QString());

    // "すべて検索(&I)", "次を検索(&F)", "閉じる" from left to right, below the tabs.
    EXPECT_LT(Button(window<FindDialog>(), "findAllButton")->x(),
              Button(window<FindDialog>(), "findNextButton")->x());
    EXPECT_LT(Button(window<FindDialog>(), "findNextButton")->x(),
              Button(window<FindDialog>(), "closeButton")->x());
    EXPECT_GE(Button(window<FindDialog>(), "findNextButton")->y(), 137);
    EXPECT_TRUE(Button(window<FindDialog>(), "findNextButton")->isDefault());
}

TEST_F(FindDialogTest, TheTabAndTheScopeDecideWhatCanBeUsed) {
    Start();
    Fill({{u"名前"_s}, {u"x"_s}});
    OpenFind();
    enum Step { Opened, Specified, Whole, Tab1, Tab2 };
    const struct {
        Step step;
        // itemLabel, itemList shown; scopeLabel, scopeList, directionLabel, directionList enabled;
        // findNextButton shown
        const char* expected;
    } steps[] = {
        {Opened, "00 1100 1"}, {Specified, "00 1111 1"}, {Tab2, "11 0000 0"}, {Tab1, "00 1111 1"},
        {Whole, "00 1100 1"},  {Tab2, "11 0000 0"},      {Tab1, "00 1100 1"}, {Tab2, "11 0000 0"},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        switch (steps[i].step) {
            case Specified:
                Pick("scopeList", 1);
                break;
            case Whole:
                Pick("scopeList", 0);
                break;
            case Tab1:
                ClickTab(0);
                break;
            case Tab2:
                ClickTab(1);
                break;
            case Opened:
                break;
        }
        const auto flag = [](bool on) { return on ? u'1' : u'0'; };
        QString state;
        state += flag(FindControl("itemLabel")->isVisible());
        state += flag(FindControl("itemList")->isVisible());
        state += u' ';
        for (const char* name : {"scopeLabel", "scopeList", "directionLabel", "directionList"}) {
            state += flag(FindControl(name)->isEnabled());
        }
        state += u' ';
        state += flag(FindControl("findNextButton")->isVisible());
        EXPECT_EQ(state, QString::fromLatin1(steps[i].expected));
    }
    // On the second tab Enter presses nothing: find next is not offered there.
    TypeSearch(u"x"_s);
    QTest::keyClick(Combo("searchTextBox")->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(Current(), (CellPosition{1, 1}));
    EXPECT_TRUE(History().isEmpty());
    EXPECT_TRUE(prompts_.asked().empty());
}

TEST_F(FindDialogTest, TheTabKeyVisitsTheUsableControlsInOrder) {
    Start();
    Fill({{u"名前"_s}, {u"x"_s}});
    OpenFind();
    const auto focused = [] {
        QWidget* focus = QApplication::focusWidget();
        // The text box of a combo box stands for the combo box.
        if (focus != nullptr && focus->objectName().isEmpty() && focus->parentWidget()) {
            focus = focus->parentWidget();
        }
        return focus ? focus->objectName() : u"none"_s;
    };
    const struct {
        int tab;
        int place;
        QString order;
    } cases[] = {
        {0, 0,
         u"searchTextBox scopeList matchCaseBox wholeCellBox matchWidthBox findAllButton findNextButton closeButton tabs searchTextBox"_s},
        {0, 1,
         u"searchTextBox scopeList directionList matchCaseBox wholeCellBox matchWidthBox findAllButton findNextButton closeButton tabs searchTextBox"_s},
        {1, 1,
         u"searchTextBox itemList matchCaseBox wholeCellBox matchWidthBox findAllButton closeButton tabs searchTextBox"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.order.toStdString());
        ClickTab(c.tab);
        if (c.tab == 0) {
            Pick("scopeList", c.place);
        }
        Combo("searchTextBox")->setFocus();
        QStringList order{focused()};
        while (order.size() < c.order.count(u' ') + 1) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order.append(focused());
        }
        EXPECT_EQ(order.join(u' '), c.order);
    }
}

TEST_F(FindDialogTest, TheHistoryTakesEachTextOnceRegardlessOfAsciiCase) {
    Start();
    Fill({{u"名前"_s}, {u"zzz"_s}});
    OpenFind();
    const struct {
        QString text;
        const char* button;  // find next or find all add to the history
    } searches[] = {
        {u"abc"_s, "findNextButton"},    {u"ABC"_s, "findAllButton"},
        {u"ａｂｃ"_s, "findNextButton"}, {u"Ａｂｃ"_s, "findNextButton"},
        {u""_s, "findNextButton"},       {u""_s, "findAllButton"},
        {u"ア"_s, "findNextButton"},     {u"ヂ"_s, "findNextButton"},
        {u"aBc"_s, "findAllButton"},
    };
    for (const auto& s : searches) {
        SCOPED_TRACE(s.text.toStdString());
        TypeSearch(s.text);
        prompts_.Notice();
        Click(window<FindDialog>(), s.button);
    }
    EXPECT_EQ(History(),
              (QStringList{u"abc"_s, u"ａｂｃ"_s, u"Ａｂｃ"_s, u""_s, u"ア"_s, u"ヂ"_s}));
    EXPECT_EQ(prompts_.AskedTexts(),
              (QStringList{u"見つかりませんでした"_s, u"１つも見つかりませんでした"_s,
                           u"見つかりませんでした"_s, u"見つかりませんでした"_s,
                           u"見つかりませんでした"_s, u"１つも見つかりませんでした"_s,
                           u"見つかりませんでした"_s, u"見つかりませんでした"_s,
                           u"１つも見つかりませんでした"_s}));
    // The element search leaves the history alone.
    ClickTab(1);
    TypeSearch(u"new"_s);
    prompts_.Notice();
    Click(window<FindDialog>(), "findAllButton");
    EXPECT_EQ(History().size(), 6);
    // An entry picked from the history is the search text.
    ClickTab(0);
    Pick("searchTextBox", 1);
    EXPECT_EQ(Combo("searchTextBox")->currentText(), u"ａｂｃ"_s);
}

TEST_F(FindDialogTest, FindNextWalksItsScopeFromTheCurrentCellWithoutWrapping) {
    Start();
    // Matches for "x" everywhere but in the item names and the marker column.
    Fill({{u"x"_s, u"x"_s, u"x"_s},
          {u"x1"_s, u""_s, u"X"_s},
          {u""_s, u"ｘ"_s, u""_s},
          {u"x"_s, u"x"_s, u"x"_s}});
    const struct {
        const char* name;
        int place;
        int way;
        CellPosition start;
        std::vector<CellPosition> visits;
    } cases[] = {
        {"whole from the first cell", 0, 0, {1, 1}, {{1, 3}, {2, 2}, {2, 3}, {3, 1}, {3, 3}}},
        {"whole from the middle", 0, 1, {2, 2}, {{2, 3}, {3, 1}, {3, 3}}},
        {"whole from the last cell", 0, 0, {3, 4}, {}},
        {"along the row", 1, 0, {1, 3}, {{2, 3}, {3, 3}}},
        {"along the row from its end", 1, 0, {3, 1}, {}},
        {"down the column", 1, 1, {2, 1}, {{2, 2}, {2, 3}}},
    };
    OpenFind();
    TypeSearch(u"x"_s);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Pick("scopeList", c.place);
        if (c.place == 1) {
            Pick("directionList", c.way);
        }
        Select(c.start.col, c.start.row);
        for (const CellPosition& expected : c.visits) {
            // Enter in the text box presses the default button.
            QTest::keyClick(Combo("searchTextBox")->lineEdit(), Qt::Key_Return);
            EXPECT_EQ(Current(), expected);
            EXPECT_EQ(MarkerRows(), std::vector<int>{expected.row});
            EXPECT_EQ(Panel(1), u"%1,%2"_s.arg(expected.row).arg(expected.col));
            EXPECT_EQ(Panel(2), Cell(expected.col, expected.row));
        }
        const CellPosition last = Current();
        prompts_.Notice();
        QTest::keyClick(Combo("searchTextBox")->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(prompts_.asked().back().text, u"見つかりませんでした"_s);
        EXPECT_EQ(Current(), last);
        // Find next neither hides the dialog nor takes the focus from it.
        EXPECT_TRUE(window<FindDialog>()->isVisible());
        EXPECT_EQ(QApplication::activeWindow(), window<FindDialog>());
    }
}

TEST_F(FindDialogTest, OptionsComeFromTheCheckBoxesWhenAButtonIsPressed) {
    Start();
    Fill({{u"名前"_s}, {u"-"_s}, {u"Ａ"_s}, {u"xa"_s}, {u"a"_s}});
    OpenFind();
    TypeSearch(u"a"_s);
    const struct {
        const char* tick;  // toggled before the search
        int row;           // the row found from row 1
    } cases[] = {
        {nullptr, 2},        {"matchCaseBox", 3},  {"wholeCellBox", 4},
        {"matchCaseBox", 2}, {"matchWidthBox", 4}, {"wholeCellBox", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tick ? c.tick : "none");
        if (c.tick != nullptr) {
            Tick(c.tick);
        }
        Select(1, 1);
        Click(window<FindDialog>(), "findNextButton");
        EXPECT_EQ(Current(), (CellPosition{1, c.row}));
    }
}

TEST_F(FindDialogTest, F3RepeatsTheLastSearchOnEitherTabAndOnlyShowsAnEmptyDialog) {
    Start();
    Fill({{u"名前"_s, u"値"_s}, {u"key"_s, u"key"_s}, {u""_s, u"key"_s}, {u"key"_s, u""_s}});
    // No text yet: F3 shows the dialog where it stood and searches nothing.
    window<FindDialog>()->move(40, 50);
    Key(Qt::Key_F3);
    EXPECT_TRUE(window<FindDialog>()->isVisible());
    EXPECT_EQ(window<FindDialog>()->pos(), QPoint(40, 50));
    EXPECT_EQ(Current(), (CellPosition{1, 1}));
    EXPECT_TRUE(History().isEmpty());

    // Down the current column only, then hide the dialog on the second tab.
    TypeSearch(u"KEY"_s);
    Pick("scopeList", 1);
    Pick("directionList", 1);
    ClickTab(1);
    Click(window<FindDialog>(), "closeButton");
    EXPECT_FALSE(window<FindDialog>()->isVisible());
    ActivateMain();
    Key(Qt::Key_F3);
    EXPECT_EQ(Current(), (CellPosition{1, 3}));
    EXPECT_FALSE(window<FindDialog>()->isVisible());
    EXPECT_EQ(History(), QStringList{u"KEY"_s});
    prompts_.Notice();
    Key(Qt::Key_F3);
    EXPECT_EQ(prompts_.AskedTexts(), QStringList{u"見つかりませんでした"_s});
    EXPECT_EQ(Current(), (CellPosition{1, 3}));

    // From the visible dialog on its first tab, along the current row.
    OpenFind();
    ClickTab(0);
    Pick("directionList", 0);
    Select(1, 1);
    ActivateMain();
    Key(Qt::Key_F3);
    EXPECT_EQ(Current(), (CellPosition{2, 1}));
    EXPECT_TRUE(window<FindDialog>()->isVisible());
}

TEST_F(FindDialogTest, TheTableScrollsToTheCellFound) {
    Start();
    std::vector<QStringList> rows{{u"名前"_s, u"値"_s}};
    for (int r = 1; r < 400; ++r) {
        rows.push_back({QString::number(r), r == 350 ? u"needle"_s : QString()});
    }
    Fill(rows);
    OpenFind();
    TypeSearch(u"needle"_s);
    Click(window<FindDialog>(), "findNextButton");
    ASSERT_EQ(Current(), (CellPosition{2, 350}));
    TableGrid* view = grid();
    const QRect cell = view->visualRect(view->model()->index(349, 1));
    EXPECT_TRUE(view->viewport()->rect().contains(cell)) << view->verticalScrollBar()->value();
}

TEST_F(FindDialogTest, ATextThatShiftJisCannotHoldIsRefusedBeforeAnythingHappens) {
    Start();
    Fill({{u"名前"_s}, {u"x"_s}});
    OpenFind();
    TypeSearch(u"x\u00e9"_s);
    for (const char* button : {"findNextButton", "findAllButton"}) {
        prompts_.ErrorBox();
        Click(window<FindDialog>(), button);
    }
    const QString message = u"「é」(U+00E9) は Shift-JIS で表せません."_s;
    EXPECT_EQ(prompts_.AskedTexts(), (QStringList{message, message}));
    EXPECT_EQ(prompts_.asked().back().title, mainWindow()->windowTitle());
    EXPECT_TRUE(History().isEmpty());
    EXPECT_EQ(Current(), (CellPosition{1, 1}));
}

TEST_F(FindDialogTest, ClosingOnlyHidesAndShowingAgainRefillsTheItems) {
    Start();
    Fill({{u"一"_s, u"二"_s, u"三"_s}, {u"x"_s, u"y"_s, u"z"_s}});
    OpenFind();
    TypeSearch(u"q"_s);
    Tick("matchCaseBox");
    ClickTab(1);
    Pick("itemList", 2);
    // Esc closes it, as the close box does, and keeps every setting.
    QTest::keyClick(Combo("searchTextBox")->lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(window<FindDialog>()->isVisible());
    model().SetCell(1, 0, "");
    model().SetCell(2, 0, tabulon::Utf8ToCp932OrThrow("弐"));
    model().SetColCount(3);
    ActivateMain();
    OpenFind();
    EXPECT_EQ(Combo("searchTextBox")->currentText(), u"q"_s);
    EXPECT_TRUE(Child<QCheckBox>(window<FindDialog>(), "matchCaseBox")->isChecked());
    EXPECT_EQ(Child<QTabBar>(window<FindDialog>(), "tabs")->currentIndex(), 1);
    QStringList items;
    for (int i = 0; i < Combo("itemList")->count(); ++i) {
        items.append(Combo("itemList")->itemText(i));
    }
    // An unnamed item goes by its column's number.
    EXPECT_EQ(items, (QStringList{u"（1列目）"_s, u"弐"_s}));
    EXPECT_EQ(Combo("itemList")->currentIndex(), 0);
}

}  // namespace
