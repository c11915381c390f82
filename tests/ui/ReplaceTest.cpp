// The find dialog's replace tab: its controls beside the shared ones, replace
// all and replace-and-next as steps of the undo history, the notices, and the
// replacement that Shift-JIS cannot hold.

#include <QApplication>
#include <map>

#include "FindDialog.h"
#include "SearchFixture.h"

using namespace Qt::StringLiterals;

namespace {

using tabulon::CellPosition;

class ReplaceTest : public SearchFixture {
  public:
    // The dialog on its replace tab with both texts typed, character by character.
    void OpenReplace(const QString& search, const QString& replacement) {
        OpenFind();
        ClickTab(2);
        TypeSearch(search);
        QLineEdit* edit = Combo("replacementBox")->lineEdit();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        for (const QChar ch : replacement) {
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
        ASSERT_EQ(edit->text(), replacement);
    }
    void SetOption(const char* checkBox, bool on) {
        if (Child<QCheckBox>(window<FindDialog>(), checkBox)->isChecked() != on) {
            Tick(checkBox);
        }
    }
    // The item cells of the records and the blank last row: cells joined with
    // "|", rows with " ".
    QString Records() const {
        QStringList rows;
        for (int r = 1; r < model().RowCount(); ++r) {
            rows.append(Row(r).section(u'|', 1));
        }
        return rows.join(u' ');
    }
    QStringList Entries(const char* combo) const {
        QStringList entries;
        for (int i = 0; i < Combo(combo)->count(); ++i) {
            entries.append(Combo(combo)->itemText(i));
        }
        return entries;
    }
};

TEST_F(ReplaceTest, TheReplaceTabIsTheFindTabWithTheReplacementAndTwoButtons) {
    Start();
    Fill({{u"名前"_s}, {u"x"_s}});
    OpenFind();
    FindDialog* dialog = window<FindDialog>();
    auto* tabs = Child<QTabBar>(dialog, "tabs");
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(2), u"置換(&R)"_s);
    EXPECT_EQ(tabs->tabRect(2).left() - tabs->tabRect(1).left(), 75);
    EXPECT_EQ(LabelText(dialog, "replacementLabel"), u"置換後の文字列(&W):"_s);
    EXPECT_EQ(Child<QLabel>(dialog, "replacementLabel")->buddy(), Combo("replacementBox"));
    EXPECT_TRUE(Combo("replacementBox")->isEditable());
    EXPECT_EQ(Combo("replacementBox")->maxVisibleItems(), 8);
    EXPECT_EQ(Button(dialog, "replaceNextButton")->text(), u"置換して次へ(&N)"_s);
    EXPECT_EQ(Button(dialog, "replaceAllButton")->text(), u"すべて置換(&A)"_s);

    // Shown (1) or hidden (0): replacementBox, itemList, findAllButton,
    // replaceAllButton, replaceNextButton, findNextButton; then directionList
    // enabled with the scope "指定".
    const char* const shown[] = {"replacementBox",   "itemList",          "findAllButton",
                                 "replaceAllButton", "replaceNextButton", "findNextButton"};
    const char* const expected[] = {"001001 1", "011000 0", "100111 1", "001001 1"};
    const int order[] = {0, 1, 2, 0};
    Pick("scopeList", 1);
    for (size_t i = 0; i < std::size(order); ++i) {
        SCOPED_TRACE(i);
        ClickTab(order[i]);
        QString state;
        for (const char* name : shown) {
            state += FindControl(name)->isVisible() ? u'1' : u'0';
        }
        state += FindControl("directionList")->isEnabled() ? u" 1"_s : u" 0"_s;
        EXPECT_EQ(state, QString::fromLatin1(expected[i]));
    }

    // Left to right under the tabs, inside the dialog.
    ClickTab(2);
    int right = 0;
    for (const char* name :
         {"replaceAllButton", "replaceNextButton", "findNextButton", "closeButton"}) {
        EXPECT_GE(Button(dialog, name)->x(), right) << name;
        right = Button(dialog, name)->geometry().right();
    }
    EXPECT_LT(right, dialog->width());
    EXPECT_EQ(dialog->size(), QSize(454, 166));

    Combo("searchTextBox")->setFocus();
    QStringList visited;
    for (int i = 0; i < 12; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (focus->objectName().isEmpty()) {
            focus = focus->parentWidget();  // a combo box's text box
        }
        visited.append(focus->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(
        visited.join(u' '),
        u"searchTextBox replacementBox scopeList directionList matchCaseBox wholeCellBox "
        u"matchWidthBox replaceAllButton replaceNextButton findNextButton closeButton tabs"_s);

    // Every access key leads to one control, but for the D that 検索(&D) and
    // 検索する要素(&D) have always shared.
    std::map<QChar, int> keys;
    QStringList captions{tabs->tabText(0), tabs->tabText(1), tabs->tabText(2)};
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        captions.append(label->text());
    }
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        captions.append(button->text());
    }
    for (const QString& caption : captions) {
        if (const qsizetype at = caption.indexOf(u'&'); at >= 0) {
            ++keys[caption.at(at + 1).toUpper()];
        }
    }
    for (const auto& [key, count] : keys) {
        EXPECT_EQ(count, key == u'D' ? 2 : 1) << QString(key).toStdString();
    }
}

TEST_F(ReplaceTest, ReplaceAllIsOneStepOverTheScopeThatEndsOnTheLastCellReplaced) {
    const std::vector<QStringList> table{
        {u"名"_s, u"値"_s}, {u"a"_s, u"bab"_s}, {u"c"_s, u"Ａ"_s}, {u"aa"_s, u"c"_s}};
    const QString original = u"a|bab c|Ａ aa|c |"_s;
    const struct {
        const char* name;
        int scope;   // the whole table, the current row, the current column
        bool exact;  // whole cell, case and width
        CellPosition start;
        QString search;
        int count;
        CellPosition last;
        QString records;
    } cases[] = {
        {"whole, folded", 0, false, {2, 3}, u"a"_s, 4, {2, 2}, u"1|b1b c|1 11|c |"_s},
        {"current row", 1, false, {2, 3}, u"a"_s, 1, {1, 3}, u"a|bab c|Ａ 11|c |"_s},
        {"current column", 2, false, {2, 3}, u"a"_s, 2, {2, 2}, u"a|b1b c|1 aa|c |"_s},
        {"empty, row appended", 0, true, {1, 1}, u""_s, 2, {2, 4}, u"a|bab c|Ａ aa|c 1|1 |"_s},
        {"whole cells exactly", 0, true, {1, 1}, u"Ａ"_s, 1, {2, 2}, u"a|bab c|1 aa|c |"_s},
        {"nothing matches", 0, false, {2, 3}, u"q"_s, 0, {2, 3}, original},
    };
    Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(table);
        Select(c.start.col, c.start.row);
        ActivateMain();
        OpenReplace(c.search, u"1"_s);
        Pick("scopeList", c.scope == 0 ? 0 : 1);
        if (c.scope != 0) {
            Pick("directionList", c.scope - 1);
        }
        for (const char* option : {"matchCaseBox", "wholeCellBox", "matchWidthBox"}) {
            SetOption(option, c.exact);
        }
        prompts_.Notice();
        Click(window<FindDialog>(), "replaceAllButton");
        EXPECT_EQ(prompts_.asked().back().text, c.count == 0
                                                    ? u"見つかりませんでした"_s
                                                    : u"%1 個のセルを置換しました"_s.arg(c.count));
        EXPECT_EQ(prompts_.asked().back().parent, window<FindDialog>());
        EXPECT_TRUE(window<FindDialog>()->isVisible());
        EXPECT_EQ(Records(), c.records);
        EXPECT_EQ(Current(), c.last);
        EXPECT_EQ(MarkerRows(), std::vector<int>{c.last.row});
        EXPECT_EQ(editor()->text(), Cell(c.last.col, c.last.row));
        EXPECT_EQ(model().Modified(), c.count > 0);

        ActivateMain();
        Key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Records(), original);
        EXPECT_EQ(Current(), c.start);
        EXPECT_EQ(editor()->text(), Cell(c.start.col, c.start.row));
        EXPECT_FALSE(model().Modified());
        Key(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(Records(), c.records);
        EXPECT_EQ(Current(), c.last);
    }
}

TEST_F(ReplaceTest, ReplaceAndNextReplacesTheCurrentCellWhenItMatchesThenFindsTheNext) {
    Start();
    Fill({{u"名"_s}, {u"a1"_s}, {u"b"_s}, {u"a2"_s}, {u"A3"_s}});
    OpenReplace(u"a"_s, u"Z"_s);
    // Enter presses find next on this tab too: past a match, replacing nothing.
    QTest::keyClick(Combo("replacementBox")->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(Current(), (CellPosition{1, 3}));
    EXPECT_FALSE(model().Modified());
    Select(1, 2);
    const struct {
        const char* name;
        int row;  // the current row afterwards
        QString records;
        bool notFound;
    } presses[] = {
        {"no match here: only finds the next", 3, u"a1 b a2 A3 "_s, false},
        {"replaces, then finds the next", 4, u"a1 b Z2 A3 "_s, false},
        {"replaces the last and stays", 4, u"a1 b Z2 Z3 "_s, true},
    };
    for (const auto& p : presses) {
        SCOPED_TRACE(p.name);
        if (p.notFound) {
            prompts_.Notice();
        }
        Click(window<FindDialog>(), "replaceNextButton");
        EXPECT_EQ(Current(), (CellPosition{1, p.row}));
        EXPECT_EQ(Records(), p.records);
        EXPECT_EQ(editor()->text(), Cell(1, p.row));
    }
    EXPECT_EQ(prompts_.AskedTexts(), QStringList{u"見つかりませんでした"_s});
    EXPECT_TRUE(model().Modified());

    // Each replaced cell is a step of its own; the texts go in each history
    // once. (1, 1) stays current, so the first undo changes the cell under
    // the editor.
    TypeSearch(u"A"_s);
    Combo("replacementBox")->setEditText(u"z"_s);
    Select(1, 1);
    prompts_.Notice();
    Click(window<FindDialog>(), "replaceNextButton");
    EXPECT_EQ(Records(), u"z1 b Z2 Z3 "_s);
    EXPECT_EQ(Entries("searchTextBox"), QStringList{u"a"_s});
    EXPECT_EQ(Entries("replacementBox"), QStringList{u"Z"_s});
    ActivateMain();
    for (const QString& records : {u"a1 b Z2 Z3 "_s, u"a1 b Z2 A3 "_s, u"a1 b a2 A3 "_s}) {
        Key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Records(), records);
        EXPECT_EQ(editor()->text(), Cell(Current().col, Current().row));
    }
    EXPECT_FALSE(model().Modified());
}

TEST_F(ReplaceTest, AReplacementShiftJisCannotHoldIsRefusedBeforeAnythingHappens) {
    Start();
    Fill({{u"名"_s}, {u"x"_s}, {u"x"_s}});
    OpenReplace(u"x"_s, u"é〜é"_s);
    for (const char* button : {"replaceAllButton", "replaceNextButton"}) {
        prompts_.Notice();
        Click(window<FindDialog>(), button);
    }
    const QString refusal = u"「é」は Shift-JIS で表せない文字のため入力できません"_s;
    EXPECT_EQ(prompts_.AskedTexts(), (QStringList{refusal, refusal}));
    EXPECT_EQ(Records(), u"x x "_s);
    EXPECT_EQ(Current(), (CellPosition{1, 1}));
    EXPECT_TRUE(History().isEmpty());
    EXPECT_TRUE(Entries("replacementBox").isEmpty());
    EXPECT_FALSE(model().Modified());

    // The wave dash as Linux writes it is the cp932 one.
    Combo("replacementBox")->setEditText(u"〜"_s);
    prompts_.Notice();
    Click(window<FindDialog>(), "replaceAllButton");
    EXPECT_EQ(model().GetCell(1, 2), "\x81\x60");
}

}  // namespace
