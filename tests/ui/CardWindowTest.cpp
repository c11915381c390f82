// The card, driven by keys: it opens on the grid's current cell, edits
// through the grid's path, keeps the item from record to record, and keeps
// its bounds in the settings.

#include <QApplication>
#include <QClipboard>
#include <QLabel>

#include "CardWindow.h"
#include "MainWindowFixture.h"
#include "WindowInput.h"

using namespace Qt::StringLiterals;

namespace {

using CardWindowTest = MainWindowFixture;

QString Shown() {
    const CardWindow* card = window<CardWindow>();
    const CellEditor* field = card->FocusedField();
    return Child<QLabel>(card, "recordLabel")->text() + u'|' + (field ? field->text() : u"-"_s) +
           u'|' + (field ? field->selectedText() : QString());
}

TEST_F(CardWindowTest, KeysMoveThroughFieldsAndRecordsAndEditTheTable) {
    Start();
    Fill({{"氏名", "住所"}, {"山田", "東京都千代田区"}, {"佐藤", "大阪"}});
    Select(2, 1);
    PressIn(mainWindow(), Qt::Key_F4);
    CardWindow* card = window<CardWindow>();
    ASSERT_TRUE(WaitUntil([&] { return card->FocusedField() != nullptr; }));
    EXPECT_TRUE(action("cardAction")->isChecked());
    EXPECT_EQ(Shown(), u"レコード 1 / 3|東京都千代田区|東京都千代田区"_s);

    TypeIn(card, u"京都"_s);
    EXPECT_EQ(Cell(2, 1), u"京都"_s);
    EXPECT_EQ(editor()->text(), u"京都"_s) << "the grid shows the card's typing";
    EXPECT_EQ(Panel(2), u"京都"_s);
    EXPECT_TRUE(model().Modified());
    prompts_.Notice();
    QApplication::clipboard()->setText(u"😀"_s);
    PressIn(card, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(Cell(2, 1), u"京都"_s) << "refused as in the grid";

    const std::vector<std::pair<Qt::Key, QString>> steps{
        {Qt::Key_Tab, u"レコード 1 / 3|山田|山田"_s},
        {Qt::Key_Return, u"レコード 1 / 3|京都|京都"_s},
        {Qt::Key_PageDown, u"レコード 2 / 3|大阪|大阪"_s},
        {Qt::Key_PageDown, u"レコード 3 / 3||"_s},
        {Qt::Key_PageDown, u"レコード 3 / 3||"_s},
        {Qt::Key_PageUp, u"レコード 2 / 3|大阪|大阪"_s},
    };
    for (const auto& [key, shown] : steps) {
        PressIn(card, key);
        EXPECT_EQ(Shown(), shown) << key;
        EXPECT_EQ(editor()->text(), card->FocusedField()->text()) << "the grid follows the card";
    }
    // The card's typing is one step of the table's history.
    PressIn(card, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Cell(2, 1), u"東京都千代田区"_s);
    EXPECT_EQ(Shown(), u"レコード 1 / 3|東京都千代田区|東京都千代田区"_s);
    EXPECT_FALSE(model().Modified());

    // Typing into the last record appends one, as in the grid.
    PressIn(card, Qt::Key_End, Qt::ControlModifier);
    TypeIn(card, u"新"_s);
    EXPECT_EQ(Shown(), u"レコード 3 / 4|新|"_s);
    PressIn(card, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Shown(), u"レコード 1 / 4|東京都千代田区|東京都千代田区"_s);

    // The grid moves the card; Esc gives it the keyboard, F4 hides the card.
    PressIn(card, Qt::Key_Escape);
    EXPECT_TRUE(WaitUntil([&] { return QApplication::focusWidget() == editor(); }));
    Key(Qt::Key_Down);
    EXPECT_EQ(Child<QLabel>(card, "recordLabel")->text(), u"レコード 2 / 4"_s);
    prompts_.No();
    action("newAction")->trigger();
    EXPECT_TRUE(card->isVisible()) << "New leaves the card open";
    PressIn(mainWindow(), Qt::Key_F4);
    EXPECT_FALSE(card->isVisible());
    EXPECT_FALSE(action("cardAction")->isChecked());
}

TEST_F(CardWindowTest, AWideTableGetsFieldsForTheCurrentItemsBlock) {
    Start();
    QStringList names, texts;
    for (int i = 1; i <= 1500; ++i) {
        names.append(u"項目%1"_s.arg(i));
        texts.append(QString::number(i));
    }
    Fill({names, texts});
    Select(1001, 1);
    PressIn(mainWindow(), Qt::Key_F4);
    CardWindow* card = window<CardWindow>();
    ASSERT_TRUE(WaitUntil([&] { return card->FocusedField() != nullptr; }));
    EXPECT_EQ(Shown(), u"レコード 1 / 2|1001|1001"_s);
    PressIn(card, Qt::Key_Backtab);
    EXPECT_EQ(Shown(), u"レコード 1 / 2|1000|1000"_s);
    PressIn(card, Qt::Key_Backtab);
    EXPECT_EQ(model().CurrentCol(), 999);
}

TEST_F(CardWindowTest, TheCardKeepsItsBoundsInTheSettings) {
    WriteFile(DataDir() + u"/card.ini"_s, "500\r\n300\r\n40\r\n30\r\n");
    Start();
    CardWindow* card = window<CardWindow>();
    EXPECT_EQ(card->size(), QSize(500, 300));
    card->resize(520, 310);
    ASSERT_TRUE(Close());
    EXPECT_EQ(ReadFile(DataDir() + u"/card.ini"_s), u"520\r\n310\r\n40\r\n30\r\n"_s);
}

}  // namespace
