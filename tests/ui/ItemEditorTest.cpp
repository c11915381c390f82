#include <QApplication>
#include <QClipboard>
#include <QHeaderView>

#include "DialogDriver.h"
#include "ItemNamesDialog.h"
#include "MainWindowFixture.h"

using namespace Qt::StringLiterals;

namespace {

class ItemEditorTest : public MainWindowFixture {
  public:
    // Items A, B, C over two records; each column with a width of its own.
    void FillAbc() {
        Fill({{u"A"_s, u"B"_s, u"C"_s}, {u"a1"_s, u"b1"_s, u"c1"_s}, {u"a2"_s, u"b2"_s, u"c2"_s}},
             {41, 42, 43});
    }
    void Open() {
        OpenWith(window<ItemNamesDialog>(), editor(), Qt::Key_I);
        list = Child<EntryList>(window<ItemNamesDialog>(), "nameList");
    }
    QStringList Table() const {
        QStringList rows;
        for (int r = 0; r < model().RowCount(); ++r) {
            rows.append(Row(r));
        }
        return rows;
    }
    std::vector<int> Widths() const {
        std::vector<int> widths;
        for (int c = 1; c < model().ColCount(); ++c) {
            widths.push_back(model().GetColWidth(c));
        }
        return widths;
    }

    EntryList* list = nullptr;
};

QStringList Rows(std::initializer_list<const char*> rows) {
    QStringList list;
    for (const char* row : rows) {
        list.append(QString::fromUtf8(row));
    }
    return list;
}

TEST_F(ItemEditorTest, OpensWithTheItemNamesNumberedFromOneToAHundred) {
    Start();
    FillAbc();
    Open();
    EXPECT_EQ(window<ItemNamesDialog>()->windowTitle(), u"項目編集"_s);
    EXPECT_EQ(QApplication::activeModalWidget(), window<ItemNamesDialog>());
    EXPECT_EQ(window<ItemNamesDialog>()->size(), QSize(279, 333));
    EXPECT_TRUE(window<ItemNamesDialog>()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(window<ItemNamesDialog>()->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    ASSERT_EQ(list->rowCount(), 100);
    QStringList numbers;
    for (int i = 1; i <= 100; ++i) {
        numbers.append(QString::number(i));
    }
    EXPECT_EQ(Labels(list), numbers);
    QStringList entries(100);
    entries[0] = u"A"_s;
    entries[1] = u"B"_s;
    entries[2] = u"C"_s;
    EXPECT_EQ(Entries(list), entries);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(list->Editor()->hasFocus());
    EXPECT_EQ(list->verticalHeader()->width(), 30);
    EXPECT_EQ(list->verticalHeader()->defaultSectionSize(), 18);

    // Column 1 follows the window's width, beside the numbers and the scroll bar.
    EXPECT_EQ(list->columnWidth(0), 279 - 52);
    window<ItemNamesDialog>()->resize(400, 300);
    EXPECT_EQ(list->columnWidth(0), 400 - 52);

    // Entries typed and not applied are gone at the next opening.
    ReplaceEntry(list, 1, u"typed"_s);
    ClickButton(window<ItemNamesDialog>(), "cancelButton");
    model().SetCell(3, 0, "Z");
    Open();
    EXPECT_EQ(Entries(list).mid(0, 4), QStringList({u"A"_s, u"B"_s, u"Z"_s, QString()}));
    EXPECT_EQ(list->currentRow(), 0);
}

TEST_F(ItemEditorTest, OkTurnsTheRunOfNamesIntoTheItemColumns) {
    const struct {
        const char* what;
        std::vector<std::pair<int, QString>> edits;  // entry row, new text
        QStringList table;
        std::vector<int> widths;
    } cases[] = {
        {"unchanged", {}, Rows({"|A|B|C", "→|a1|b1|c1", "|a2|b2|c2", "|||"}), {41, 42, 43}},
        {"a name into entry 4",
         {{3, u"D"_s}},
         Rows({"|A|B|C|D", "→|a1|b1|c1|", "|a2|b2|c2|", "||||"}),
         {41, 42, 43, 64}},
        {"entry 2 emptied", {{1, QString()}}, Rows({"|A", "→|a1", "|a2", "|"}), {41}},
        {"a name after a gap",
         {{5, u"F"_s}},
         Rows({"|A|B|C", "→|a1|b1|c1", "|a2|b2|c2", "|||"}),
         {41, 42, 43}},
        {"entry 1 emptied", {{0, QString()}}, Rows({"|A", "→|a1", "|a2", "|"}), {41}},
        {"renamed as typed, duplicates and blanks included",
         {{0, u"名前"_s}, {1, u" 名前 "_s}, {2, u"名前"_s}},
         Rows({"|名前| 名前 |名前", "→|a1|b1|c1", "|a2|b2|c2", "|||"}),
         {41, 42, 43}},
    };
    Start();
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.what);
        FillAbc();
        const bool modified = c.table != cases[0].table || c.widths != cases[0].widths;
        Open();
        for (const auto& [row, text] : c.edits) {
            ReplaceEntry(list, row, text);
        }
        if (c.widths.size() == 1) prompts_.Yes();  // items with their data go
        // Enter in an entry presses the default button as the click does.
        if (i % 2 == 0) {
            ClickButton(window<ItemNamesDialog>(), "okButton");
        } else {
            QTest::keyClick(list->Editor(), Qt::Key_Return);
        }
        EXPECT_FALSE(window<ItemNamesDialog>()->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(Table(), c.table);
        EXPECT_EQ(Widths(), c.widths);
        EXPECT_EQ(model().Modified(), modified);
        EXPECT_EQ(grid()->model()->columnCount(), model().ColCount() - 1);
        EXPECT_EQ(grid()->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                  Cell(1, 0));
    }
}

// Naming the first item asks for the two that hold a cell or a name, not the empty one.
TEST_F(ItemEditorTest, RemovingItemsThatHoldTextAsksFirstAndIsOneStep) {
    Start();
    Fill({{QString(), QString(), u"C"_s, QString()}, {u"a"_s, u"b"_s, QString(), QString()}});
    const QStringList before = Table();
    Open();
    ReplaceEntry(list, 0, u"X"_s);
    prompts_.No().Yes();
    QTest::keyClick(list->Editor(), Qt::Key_Return);
    EXPECT_EQ(prompts_.AskedTexts().back(),
              u"項目を 2 個削除します。それらの項目のデータも失われます。よろしいですか？"_s);
    EXPECT_TRUE(prompts_.asked().back().noByDefault);
    EXPECT_TRUE(window<ItemNamesDialog>()->isVisible());
    EXPECT_EQ(Table(), before);
    QTest::keyClick(list->Editor(), Qt::Key_Return);
    EXPECT_EQ(Table(), Rows({"|X", "→|a", "|"}));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Table(), before);
}

TEST_F(ItemEditorTest, CancelEscAndTheCloseBoxChangeNothingAndGiveTheMainWindowBack) {
    const struct {
        const char* way;
        std::function<void(EntryList*)> close;
    } ways[] = {
        {"キャンセル", [](EntryList*) { ClickButton(window<ItemNamesDialog>(), "cancelButton"); }},
        {"Esc", [](EntryList* entries) { QTest::keyClick(entries->Editor(), Qt::Key_Escape); }},
        {"close box", [](EntryList*) { window<ItemNamesDialog>()->close(); }},
    };
    Start();
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        FillAbc();
        const QStringList before = Table();
        Open();
        ReplaceEntry(list, 1, QString());
        ReplaceEntry(list, 3, u"D"_s);
        // While the editor is open, the table cannot be reached.
        ClickGridCell(2, 2);
        EXPECT_EQ(model().CurrentCol(), 1);
        EXPECT_EQ(model().CurrentRow(), 1);
        way.close(list);
        EXPECT_FALSE(window<ItemNamesDialog>()->isVisible());
        EXPECT_EQ(Table(), before);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        ClickGridCell(2, 2);
        EXPECT_EQ(model().CurrentCol(), 2);
        EXPECT_EQ(model().CurrentRow(), 2);
        Select(1, 1);
    }
}

TEST_F(ItemEditorTest, NamesBeyondTheHundredthAreShownAndKept) {
    Start();
    QStringList names;
    for (int i = 1; i <= 120; ++i) {
        names.append(u"n"_s + QString::number(i));
    }
    Fill({names});
    Open();
    ASSERT_EQ(list->rowCount(), 120);
    EXPECT_EQ(Labels(list).last(), u"120"_s);
    EXPECT_EQ(Entries(list), names);

    ReplaceEntry(list, 109, u"renamed"_s);
    ClickButton(window<ItemNamesDialog>(), "okButton");
    names[109] = u"renamed"_s;
    ASSERT_EQ(model().ColCount(), 121);
    for (int c = 1; c <= 120; ++c) {
        EXPECT_EQ(Cell(c, 0), names[c - 1]) << c;
    }

    // Emptying an entry among the first hundred drops the rest, as it does anywhere.
    Open();
    ReplaceEntry(list, 99, QString());
    prompts_.Yes();
    ClickButton(window<ItemNamesDialog>(), "okButton");
    EXPECT_EQ(model().ColCount(), 100);
    EXPECT_EQ(Cell(99, 0), u"n99"_s);

    // A table of fewer items gets its hundred entries back.
    Open();
    EXPECT_EQ(list->rowCount(), 100);
}

TEST_F(ItemEditorTest, LineBreaksInPastedNamesAreRemoved) {
    const struct {
        QString pasted;
        QStringList names;
    } cases[] = {
        {u"X\r\nY\nZ\r"_s, {u"A"_s, u"XYZ"_s, u"C"_s}},
        {u"\r\n"_s, {u"A"_s}},
    };
    Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted.toStdString());
        FillAbc();
        Open();
        ClickEntry(list, 1);
        QApplication::clipboard()->setText(c.pasted);
        QTest::keyClick(list->Editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(list->Editor(), Qt::Key_V, Qt::ControlModifier);
        if (c.names.size() == 1) prompts_.Yes();
        ClickButton(window<ItemNamesDialog>(), "okButton");
        QStringList names;
        for (int col = 1; col < model().ColCount(); ++col) {
            names.append(Cell(col, 0));
        }
        EXPECT_EQ(names, c.names);
    }
}

TEST_F(ItemEditorTest, CharactersThatShiftJisLacksAreRefusedWithAMessage) {
    Start();
    FillAbc();
    Open();
    ClickEntry(list, 0);
    QTest::keyClick(list->Editor(), Qt::Key_End);
    prompts_.Notice();
    TypeInto(list->Editor(), u"한"_s);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts_.AskedTexts(),
              QStringList{u"「한」は Shift-JIS で表せない文字のため入力できません"_s});
    EXPECT_EQ(list->item(0, 0)->text(), u"A"_s);
    TypeInto(list->Editor(), u"あ"_s);
    ClickButton(window<ItemNamesDialog>(), "okButton");
    EXPECT_EQ(Cell(1, 0), u"Aあ"_s);
}

TEST_F(ItemEditorTest, NamesLeftAsTheyWereKeepBytesThatShowAsReplacementCharacters) {
    Start();
    FillAbc();
    model().SetCell(2, 0, "B\xFF");
    Open();
    EXPECT_EQ(list->item(1, 0)->text(), u"B\uFFFD"_s);
    ReplaceEntry(list, 2, u"Z"_s);
    ClickButton(window<ItemNamesDialog>(), "okButton");
    EXPECT_EQ(model().GetCell(2, 0), "B\xFF");
    EXPECT_EQ(Cell(3, 0), u"Z"_s);
}

TEST_F(ItemEditorTest, ACurrentCellInARemovedColumnMovesWithMarkerAndStatusBar) {
    Start();
    FillAbc();
    Select(3, 2);
    Open();
    ReplaceEntry(list, 1, QString());
    prompts_.Yes();
    ClickButton(window<ItemNamesDialog>(), "okButton");
    EXPECT_EQ(model().CurrentCol(), 1);
    EXPECT_EQ(model().CurrentRow(), 2);
    EXPECT_EQ(MarkerRows(), std::vector<int>{2});
    EXPECT_EQ(Panel(1), u"2,1"_s);
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(1, 0));
}

TEST_F(ItemEditorTest, UpAndDownMoveBetweenEntriesAndTabLeavesTheList) {
    Start();
    FillAbc();
    Open();
    QTest::keyClick(list->Editor(), Qt::Key_Down);
    QTest::keyClick(list->Editor(), Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 2);
    QTest::keyClick(list->Editor(), Qt::Key_Up);
    EXPECT_EQ(list->currentRow(), 1);
    // An entry is entered with its text selected, so typing replaces it.
    ASSERT_TRUE(list->Editor()->hasFocus());
    TypeInto(list->Editor(), u"xyz"_s);
    // The main window's edit keys stay with it: Delete edits the entry.
    QTest::keyClick(list->Editor(), Qt::Key_Left);
    QTest::keyClick(list->Editor(), Qt::Key_Delete);
    QTest::keyClick(list->Editor(), Qt::Key_Backspace);
    EXPECT_EQ(list->item(1, 0)->text(), u"x"_s);

    QTest::keyClick(list->Editor(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(),
              Child<QPushButton>(window<ItemNamesDialog>(), "okButton"));
    EXPECT_EQ(list->currentRow(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(),
              Child<QPushButton>(window<ItemNamesDialog>(), "cancelButton"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), list->Editor());
    EXPECT_EQ(list->currentRow(), 1);
    QTest::keyClick(list->Editor(), Qt::Key_Return);
    EXPECT_EQ(Cell(2, 0), u"x"_s);
}

}  // namespace
