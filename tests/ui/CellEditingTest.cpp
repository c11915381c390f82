// Typing into the grid: the model holds every keystroke, line breaks are
// removed, the trailing row grows, the marker and the panels follow the
// current cell, and only the keys that change something set Modified.

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <functional>

#include "MainWindowFixture.h"
#include "WindowInput.h"

namespace {

using EditingTest = MainWindowFixture;

TEST_F(EditingTest, TheModelHoldsEveryKeystrokeAndTheLastRowGrowsOnce) {
    Start();
    Fill({{"名前", "年齢"}, {"山田", "30"}});
    Select(2, 2);  // the trailing blank row
    ASSERT_EQ(model().RowCount(), 3);
    Type(QStringLiteral("a"));
    EXPECT_EQ(Cell(2, 2), QStringLiteral("a"));
    EXPECT_EQ(model().RowCount(), 4);
    Type(QStringLiteral("bc"));
    EXPECT_EQ(Cell(2, 2), QStringLiteral("abc"));
    EXPECT_EQ(model().RowCount(), 4);
    EXPECT_EQ(Panel(2), QStringLiteral("abc"));
    EXPECT_EQ(Row(3), QStringLiteral("||"));
    // Emptying the cell again removes no row.
    for (int i = 0; i < 3; ++i) {
        Key(Qt::Key_Backspace);
    }
    EXPECT_EQ(Cell(2, 2), QString());
    EXPECT_EQ(model().RowCount(), 4);

    // A record row gets no new row; typing first replaces the selected text.
    Select(1, 1);
    Type(QStringLiteral("田中"));
    EXPECT_EQ(Cell(1, 1), QStringLiteral("田中"));
    Key(Qt::Key_End);
    Type(QStringLiteral("様"));
    EXPECT_EQ(Cell(1, 1), QStringLiteral("田中様"));
    EXPECT_EQ(model().RowCount(), 4);
    // Undo through the edit command reaches the model as well; the typing
    // since the editor opened is one step.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Cell(1, 1), QStringLiteral("山田"));
}

// Pasted line breaks end records; inside a quoted cell they are removed, as
// typing removes them.
TEST_F(EditingTest, PastedLineBreaksEndRecordsAndAreRemovedInsideCells) {
    Start();
    const struct {
        QString pasted;
        QString first;
        QString second;
    } cases[] = {
        {QStringLiteral("ab\r\ncd\r\n"), QStringLiteral("ab"), QStringLiteral("cd")},
        {QStringLiteral("\"一\n二\r三\""), QStringLiteral("一二三"), QStringLiteral("y")},
        {QStringLiteral("\r\n"), QString(), QStringLiteral("y")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted.toStdString());
        Fill({{"項目"}, {"x"}, {"y"}});
        Select(1, 1);
        MarkSaved();
        QApplication::clipboard()->setText(c.pasted);
        Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Cell(1, 1), c.first);
        EXPECT_EQ(Cell(1, 2), c.second);
        EXPECT_EQ(editor()->text(), c.first);
        EXPECT_TRUE(model().Modified()) << "each paste changed the text";
    }
}

TEST_F(EditingTest, CharactersOutsideCp932AreRefusedAndTheUserIsTold) {
    Start();
    Fill({{"項目"}, {"元"}});
    Select(1, 1);
    Key(Qt::Key_End);
    prompts_.Notice();
    QApplication::clipboard()->setText(QStringLiteral("a😀"));
    Key(Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(Cell(1, 1), QStringLiteral("元"));
    EXPECT_EQ(editor()->text(), QStringLiteral("元"));
    ASSERT_EQ(prompts_.asked().size(), 1u);
    EXPECT_TRUE(prompts_.asked()[0].text.contains(QStringLiteral("😀")));
    // Everything cp932 holds goes in, the wave dash and half-width kana included.
    Type(QStringLiteral("～ｶﾅ"));
    EXPECT_EQ(model().GetCell(1, 1), Cp932(QStringLiteral("元～ｶﾅ")).toStdString());
}

TEST_F(EditingTest, OnlyKeysThatChangeTheTextSetModified) {
    Start();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool sets;
    } cases[] = {
        {Qt::Key_Tab, Qt::NoModifier, false},    {Qt::Key_Backtab, Qt::ShiftModifier, false},
        {Qt::Key_Return, Qt::NoModifier, false}, {Qt::Key_Enter, Qt::KeypadModifier, false},
        {Qt::Key_Shift, Qt::NoModifier, false},  {Qt::Key_CapsLock, Qt::NoModifier, false},
        {Qt::Key_PageUp, Qt::NoModifier, false}, {Qt::Key_End, Qt::NoModifier, false},
        {Qt::Key_Left, Qt::NoModifier, false},   {Qt::Key_Down, Qt::NoModifier, false},
        {Qt::Key_Escape, Qt::NoModifier, false}, {Qt::Key_Insert, Qt::NoModifier, false},
        {Qt::Key_F5, Qt::NoModifier, false},     {Qt::Key_A, Qt::ControlModifier, false},
        {Qt::Key_A, Qt::NoModifier, true},       {Qt::Key_Backspace, Qt::NoModifier, true},
        {Qt::Key_Space, Qt::NoModifier, true},   {Qt::Key_N, Qt::AltModifier, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString());
        Fill({{"a", "b", "c"}, {"1", "2", "3"}, {"4", "5", "6"}, {"7", "8", "9"}});
        Select(2, 2);
        Key(c.key, c.modifiers);
        EXPECT_EQ(model().Modified(), c.sets);
    }
}

// Linux input methods and UTF-8 text write these code points for cp932
// characters that the Microsoft table reaches through others.
TEST_F(EditingTest, TheSevenLinuxFormsLandAsTheirCp932Bytes) {
    const struct {
        char16_t typed;
        const char* bytes;
    } cases[] = {{u'\u301C', "\x81\x60"}, {u'\u2016', "\x81\x61"}, {u'\u2212', "\x81\x7C"},
                 {u'\u00A2', "\x81\x91"}, {u'\u00A3', "\x81\x92"}, {u'\u00AC', "\x81\xCA"},
                 {u'\u2014', "\x81\x5C"}};
    Start();
    for (const auto& c : cases) {
        const QString text(QChar(c.typed));
        SCOPED_TRACE(text.toStdString());
        Fill({{"項目"}, {""}});
        Select(1, 1);
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(editor(), &commit);
        EXPECT_EQ(model().GetCell(1, 1), c.bytes) << "typed";
        editor()->selectAll();
        QApplication::clipboard()->setText(text + text);
        Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(model().GetCell(1, 1), std::string(c.bytes) + c.bytes) << "pasted";
        EXPECT_TRUE(prompts_.asked().empty());
    }
}

TEST_F(EditingTest, TextFromAnInputMethodIsTypingToo) {
    Start();
    Fill({{"項目"}, {"x"}});
    Select(1, 2);
    MarkSaved();
    QInputMethodEvent composing(QStringLiteral("かんじ"), {});
    QApplication::sendEvent(editor(), &composing);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("漢字"));
    QApplication::sendEvent(editor(), &commit);
    EXPECT_EQ(Cell(1, 2), QStringLiteral("漢字"));
    EXPECT_EQ(model().RowCount(), 4);
    EXPECT_TRUE(model().Modified());
}

TEST_F(EditingTest, DelDeletesOnlySelectedTextAndIsNoKeyOfTheGrid) {
    Start();
    Fill({{"項目"}, {"abcdef"}});
    Select(1, 1);
    Key(Qt::Key_Home);
    MarkSaved();
    Key(Qt::Key_Delete);
    EXPECT_EQ(Cell(1, 1), QStringLiteral("abcdef"));
    EXPECT_FALSE(model().Modified());
    editor()->setSelection(1, 2);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Cell(1, 1), QStringLiteral("adef"));
    EXPECT_TRUE(model().Modified());
}

TEST_F(EditingTest, EveryMoveCarriesTheMarkerAndThePanels) {
    Start();
    Fill({{"a", "b", "c"}, {"1", "2", "3"}, {"4", "5", "6"}});
    EXPECT_EQ(Panel(1), QStringLiteral("1,1"));
    const struct {
        const char* how;
        std::function<void(MainWindowFixture&)> move;
        int col, row;
    } moves[] = {
        {"Down", [](auto& f) { QTest::keyClick(f.grid()->Editor(), Qt::Key_Down); }, 1, 2},
        {"Tab", [](auto& f) { QTest::keyClick(f.grid()->Editor(), Qt::Key_Tab); }, 2, 2},
        {"Shift+Tab",
         [](auto& f) { QTest::keyClick(f.grid()->Editor(), Qt::Key_Backtab, Qt::ShiftModifier); },
         1, 2},
        {"Right at the end of the text",
         [](auto& f) {
             QTest::keyClick(f.grid()->Editor(), Qt::Key_End);
             QTest::keyClick(f.grid()->Editor(), Qt::Key_Right);
         },
         2, 2},
        {"a click",
         [](auto& f) {
             TableGrid* g = f.grid();
             const QRect cell = g->visualRect(g->model()->index(0, 2));
             QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
         },
         3, 1},
        {"a search", [](auto& f) { f.model().SetCurrentCell(2, 3); }, 2, 3},
        {"Up", [](auto& f) { QTest::keyClick(f.grid()->Editor(), Qt::Key_Up); }, 2, 2},
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(m.how);
        m.move(*this);
        EXPECT_EQ(model().CurrentCol(), m.col);
        EXPECT_EQ(model().CurrentRow(), m.row);
        EXPECT_EQ(MarkerRows(), std::vector<int>{m.row});
        EXPECT_EQ(Panel(1), QStringLiteral("%1,%2").arg(m.row).arg(m.col));
        EXPECT_EQ(Panel(2), Cell(m.col, m.row));
        EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(m.row - 1, m.col - 1));
        EXPECT_EQ(editor()->text(), Cell(m.col, m.row));
        EXPECT_TRUE(editor()->hasFocus());
    }
}

TEST_F(EditingTest, ARightClickLeavesTheCurrentCell) {
    Start();
    Fill({{"a", "b"}, {"1", "2"}, {"3", "4"}});
    const QRect cell = grid()->visualRect(grid()->model()->index(1, 1));
    QTest::mouseClick(grid()->viewport(), Qt::RightButton, {}, cell.center());
    EXPECT_EQ(model().CurrentCol(), 1);
    EXPECT_EQ(model().CurrentRow(), 1);
    auto* popup = mainWindow()->findChild<QMenu*>(QStringLiteral("gridMenu"));
    if (popup->isVisible()) {
        popup->close();
    }
}

// After every command the content panel shows the current cell; the undo hint names it.
TEST_F(EditingTest, TheContentPanelFollowsEveryCommand) {
    Start();
    using Keys = std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    const std::pair<Keys, QString> cases[] = {
        {{{Qt::Key_S, ctrl}, {Qt::Key_Tab, {}}, {Qt::Key_Tab, {}}, {Qt::Key_Space, {}}}, "整列を"},
        {{{Qt::Key_Insert, ctrl}}, "行の挿入を"},
        {{{Qt::Key_Delete, ctrl}, {Qt::Key_Z, ctrl}}, "直前の変更を"},
        {{{Qt::Key_Delete, ctrl}, {Qt::Key_Z, ctrl}, {Qt::Key_Y, ctrl}}, "行の削除を"},
        {{{Qt::Key_V, ctrl}}, "貼り付けを"},
        {{{Qt::Key_Down, shift}, {Qt::Key_X, ctrl}}, "切り取りを"},
        {{{Qt::Key_Down, shift}, {Qt::Key_Delete, {}}}, "削除を"},
    };
    for (const auto& [keys, step] : cases) {
        Fill({{"名", "番"}, {"b", "2"}, {"a", "1"}});
        QApplication::clipboard()->setText(QStringLiteral("z\tq"));
        Select(1, 1);
        for (const auto& [key, modifiers] : keys) {
            QWidget* dialog = QApplication::activeModalWidget();
            PressIn(dialog != nullptr ? dialog : mainWindow(), key, modifiers);
        }
        EXPECT_EQ(Panel(2), Cell(model().CurrentCol(), model().CurrentRow())) << step.toStdString();
        emit mainWindow()->findChild<QMenu*>(QStringLiteral("editMenu"))->aboutToShow();
        EXPECT_EQ(action("undoAction")->statusTip(), step + "元に戻します");
    }
}

}  // namespace
