#include <QApplication>
#include <QHeaderView>
#include <QSpinBox>

#include "ColumnWidthsDialog.h"
#include "DialogDriver.h"
#include "MainWindowFixture.h"
#include "RowHeightDialog.h"

using namespace Qt::StringLiterals;

namespace {

class GeometryDialogsTest : public MainWindowFixture {
  public:
    void OpenHeight() {
        OpenWith(window<RowHeightDialog>(), editor(), Qt::Key_H);
        heightBox = Child<QSpinBox>(window<RowHeightDialog>(), "heightBox");
    }
    void OpenWidth() {
        OpenWith(window<ColumnWidthsDialog>(), editor(), Qt::Key_W);
        widthList = Child<EntryList>(window<ColumnWidthsDialog>(), "widthList");
    }
    // What the grid shows: the records' row height and the item row's.
    std::pair<int, int> GridRowHeights() const {
        return {grid()->verticalHeader()->defaultSectionSize(),
                grid()->horizontalHeader()->height()};
    }
    std::vector<int> Widths() const {
        std::vector<int> widths;
        for (int c = 1; c < model().ColCount(); ++c) {
            widths.push_back(model().GetColWidth(c));
        }
        return widths;
    }
    std::vector<int> GridWidths() const {
        std::vector<int> widths;
        for (int c = 0; c < grid()->model()->columnCount(); ++c) {
            widths.push_back(grid()->columnWidth(c));
        }
        return widths;
    }
    // Items A, B, C of widths 64, 120, 90 over one record; the current cell (2, 1).
    void FillAbc() {
        Fill({{u"A"_s, u"B"_s, u"C"_s}, {u"a"_s, u"b"_s, u"c"_s}}, {0, 120, 90});
        Select(2, 1);
    }

    QSpinBox* heightBox = nullptr;
    EntryList* widthList = nullptr;
};

TEST_F(GeometryDialogsTest, TheHeightDialogSetsTheOneRowHeight) {
    const struct {
        const char* typed;
        bool enter;  // Enter in the spin edit rather than a click on OK
        int height;
    } cases[] = {
        {"25", false, 25},
        {"25", true, 25},
        {"2a5", false, 25},  // only digits and signs can be typed
        {"1", false, 1},
        // No number reads as 0; 0 and below are refused, and the height stays.
        {"", false, 18},
        {"-", true, 18},
        {"0", false, 18},
        {"-5", true, 18},
    };
    Start();
    Fill({{u"A"_s}, {u"a"_s}});
    Select(1, 2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        model().SetRowHeight(18);
        OpenHeight();
        EXPECT_EQ(QApplication::activeModalWidget(), window<RowHeightDialog>());
        EXPECT_EQ(heightBox->text(), u"18"_s);
        ASSERT_TRUE(heightBox->hasFocus());
        // The text is selected on opening, so typing replaces it.
        QTest::keyClick(heightBox, Qt::Key_Backspace);
        QTest::keyClicks(heightBox, QString::fromLatin1(c.typed));
        if (c.enter) {
            QTest::keyClick(heightBox, Qt::Key_Return);
        } else {
            ClickButton(window<RowHeightDialog>(), "okButton");
        }
        EXPECT_FALSE(window<RowHeightDialog>()->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(model().RowHeight(), c.height);
        EXPECT_EQ(GridRowHeights(), std::make_pair(c.height, c.height));
        EXPECT_FALSE(model().Modified());
        EXPECT_EQ(model().CurrentCol(), 1);
        EXPECT_EQ(model().CurrentRow(), 2);
    }
}

TEST_F(GeometryDialogsTest, TheHeightDialogStepsByOneAndShowsTheHeightOfTheMoment) {
    Start();
    model().SetRowHeight(30);
    OpenHeight();
    EXPECT_EQ(window<RowHeightDialog>()->windowTitle(), u"高さの変更"_s);
    EXPECT_EQ(window<RowHeightDialog>()->size(), QSize(186, 118));
    EXPECT_EQ(window<RowHeightDialog>()->minimumSize(), window<RowHeightDialog>()->maximumSize());
    EXPECT_FALSE(window<RowHeightDialog>()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(window<RowHeightDialog>()->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(heightBox->text(), u"30"_s);
    QTest::keyClick(heightBox, Qt::Key_Up);
    EXPECT_EQ(heightBox->value(), 31);
    QTest::keyClick(heightBox, Qt::Key_Down);
    QTest::keyClick(heightBox, Qt::Key_Down);
    EXPECT_EQ(heightBox->value(), 29);
    ClickButton(window<RowHeightDialog>(), "okButton");
    EXPECT_EQ(model().RowHeight(), 29);
    OpenHeight();
    EXPECT_EQ(heightBox->text(), u"29"_s);
    ClickButton(window<RowHeightDialog>(), "cancelButton");
}

TEST_F(GeometryDialogsTest, CancelEscAndTheCloseBoxLeaveTheHeightAndGiveTheMainWindowBack) {
    const struct {
        const char* way;
        std::function<void()> close;
    } ways[] = {
        {"キャンセル", [] { ClickButton(window<RowHeightDialog>(), "cancelButton"); }},
        {"Esc",
         [] {
             QTest::keyClick(Child<QSpinBox>(window<RowHeightDialog>(), "heightBox"),
                             Qt::Key_Escape);
         }},
        {"close box", [] { window<RowHeightDialog>()->close(); }},
    };
    Start();
    Fill({{u"A"_s, u"B"_s}, {u"a"_s, u"b"_s}});
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        Select(1, 1);
        OpenHeight();
        QTest::keyClicks(heightBox, u"40"_s);
        // The table cannot be reached while the dialog is open.
        ClickGridCell(2, 2);
        EXPECT_EQ(model().CurrentCol(), 1);
        way.close();
        EXPECT_FALSE(window<RowHeightDialog>()->isVisible());
        EXPECT_EQ(model().RowHeight(), 18);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        ClickGridCell(2, 2);
        EXPECT_EQ(model().CurrentCol(), 2);
        EXPECT_EQ(model().CurrentRow(), 2);
    }
}

TEST_F(GeometryDialogsTest, TheWidthDialogListsTheItemsAndAppliesWhileStayingOpen) {
    Start();
    Fill({{u"A"_s, u""_s}, {u"a"_s, u"b"_s}});
    model().SetColWidth(2, 120);
    Select(1, 1);
    OpenWidth();
    EXPECT_EQ(window<ColumnWidthsDialog>()->windowTitle(), u"横幅の変更"_s);
    EXPECT_EQ(window<ColumnWidthsDialog>()->size(), QSize(236, 268));
    EXPECT_TRUE(window<ColumnWidthsDialog>()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(
        window<ColumnWidthsDialog>()->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(widthList->height(), 194);
    EXPECT_EQ(widthList->verticalHeader()->width(), 150);
    EXPECT_EQ(widthList->columnWidth(0), 51);
    // The list keeps its height; the buttons keep their place at the bottom left.
    QPushButton* apply = Child<QPushButton>(window<ColumnWidthsDialog>(), "applyButton");
    const QPoint fromBottomLeft(apply->x(), window<ColumnWidthsDialog>()->height() - apply->y());
    window<ColumnWidthsDialog>()->resize(300, 400);
    EXPECT_EQ(widthList->geometry(), QRect(0, 0, 300, 194));
    EXPECT_EQ(QPoint(apply->x(), window<ColumnWidthsDialog>()->height() - apply->y()),
              fromBottomLeft);
    EXPECT_GE(apply->y(), 194);
    window<ColumnWidthsDialog>()->resize(236, 268);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // An unnamed item goes by its column's number.
    EXPECT_EQ(Labels(widthList), QStringList({u"A"_s, u"（2列目）"_s}));
    EXPECT_EQ(Entries(widthList), QStringList({u"64"_s, u"120"_s}));

    ReplaceEntry(widthList, 1, u"80"_s);
    ClickButton(window<ColumnWidthsDialog>(), "applyButton");
    EXPECT_TRUE(window<ColumnWidthsDialog>()->isVisible());
    EXPECT_EQ(Widths(), std::vector<int>({64, 80}));
    EXPECT_EQ(GridWidths(), std::vector<int>({64, 80}));

    // Enter in an entry is 適用 too.
    ReplaceEntry(widthList, 0, u"$20"_s);
    QTest::keyClick(widthList->Editor(), Qt::Key_Return);
    EXPECT_TRUE(window<ColumnWidthsDialog>()->isVisible());
    EXPECT_EQ(GridWidths(), std::vector<int>({32, 80}));

    // The table stays usable meanwhile; the new widths are a change to save.
    ClickGridCell(2, 1);
    EXPECT_EQ(model().CurrentCol(), 2);
    EXPECT_TRUE(model().Modified());
    ClickButton(window<ColumnWidthsDialog>(), "applyButton");
    EXPECT_EQ(model().CurrentCol(), 2);
    EXPECT_EQ(model().CurrentRow(), 1);
}

TEST_F(GeometryDialogsTest, ApplyingStopsAtTheFirstBadRowWithTheErrorBox) {
    const struct {
        const char* what;
        std::vector<std::pair<int, QString>> edits;
        std::function<void(GeometryDialogsTest&)> meanwhile;  // done to the table while open
        std::vector<int> widths;
        QString message;  // empty: no error
    } cases[] = {
        {"no number, then a width",
         {{0, u"abc"_s}, {1, u"70"_s}},
         {},
         {64, 120, 90},
         u"'abc' は整数ではありません."_s},
        {"a width, then an empty text",
         {{0, u"70"_s}, {1, QString()}},
         {},
         {70, 120, 90},
         u"'' は整数ではありません."_s},
        {"full-width digits",
         {{2, u"７０"_s}},
         {},
         {64, 120, 90},
         u"'７０' は整数ではありません."_s},
        {"a column deleted meanwhile",
         {{0, u"50"_s}, {1, u"51"_s}, {2, u"52"_s}},
         [](GeometryDialogsTest& t) {
             ClickGridCell(3, 1);
             QApplication::setActiveWindow(mainWindow());
             QTest::keyClick(t.editor(), Qt::Key_Delete, Qt::ShiftModifier);
         },
         {50, 51},
         u"グリッドインデックス が範囲を超えています."_s},
        {"a column inserted meanwhile",
         {{0, u"50"_s}, {1, u"51"_s}, {2, u"52"_s}},
         [](GeometryDialogsTest& t) {
             ClickGridCell(3, 1);
             QApplication::setActiveWindow(mainWindow());
             QTest::keyClick(t.editor(), Qt::Key_Insert, Qt::ShiftModifier);
         },
         {50, 51, 52, 64},
         {}},
        {"zero and below keep their widths",
         {{0, u"0"_s}, {1, u"-3"_s}, {2, u"5"_s}},
         {},
         {64, 120, 5},
         {}},
    };
    Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FillAbc();
        OpenWidth();
        for (const auto& [row, text] : c.edits) {
            ReplaceEntry(widthList, row, text);
        }
        if (c.meanwhile) {
            c.meanwhile(*this);
        }
        const std::vector<int> before = Widths();
        const QString caption = mainWindow()->windowTitle();
        if (!c.message.isEmpty()) {
            prompts_.ErrorBox();
        }
        ClickButton(window<ColumnWidthsDialog>(), "applyButton");
        EXPECT_TRUE(window<ColumnWidthsDialog>()->isVisible());
        EXPECT_EQ(Widths(), c.widths);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(prompts_.asked().empty());
        } else {
            ASSERT_EQ(prompts_.asked().size(), 1u);
            EXPECT_EQ(prompts_.asked()[0].kind, ScriptedPrompts::Kind::Error);
            EXPECT_EQ(prompts_.asked()[0].text, c.message);
            EXPECT_EQ(prompts_.asked()[0].title, caption);
        }
        EXPECT_EQ(model().Modified(), Widths() != before);
        ClickButton(window<ColumnWidthsDialog>(), "closeButton");
        prompts_ = ScriptedPrompts();
    }
}

TEST_F(GeometryDialogsTest, TheWidthListIsFilledOnlyOnOpening) {
    Start();
    FillAbc();
    OpenWidth();
    model().SetCell(1, 0, "renamed");
    model().SetColWidth(1, 33);
    EXPECT_EQ(Labels(widthList).first(), u"A"_s);
    EXPECT_EQ(Entries(widthList).first(), u"64"_s);
    // Applying writes what the list holds.
    ClickButton(window<ColumnWidthsDialog>(), "applyButton");
    EXPECT_EQ(model().GetColWidth(1), 64);
    ClickButton(window<ColumnWidthsDialog>(), "closeButton");
    model().SetColWidth(1, 33);
    OpenWidth();
    EXPECT_EQ(Labels(widthList).first(), u"renamed"_s);
    EXPECT_EQ(Entries(widthList).first(), u"33"_s);
}

TEST_F(GeometryDialogsTest, ClosingTheWidthDialogUndoesNothing) {
    const struct {
        const char* way;
        std::function<void(EntryList*)> close;
    } ways[] = {
        {"閉じる", [](EntryList*) { ClickButton(window<ColumnWidthsDialog>(), "closeButton"); }},
        {"Esc", [](EntryList* entries) { QTest::keyClick(entries->Editor(), Qt::Key_Escape); }},
        {"close box", [](EntryList*) { window<ColumnWidthsDialog>()->close(); }},
    };
    Start();
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        FillAbc();
        OpenWidth();
        ReplaceEntry(widthList, 0, u"70"_s);
        ClickButton(window<ColumnWidthsDialog>(), "applyButton");
        ReplaceEntry(widthList, 0, u"99"_s);
        way.close(widthList);
        EXPECT_FALSE(window<ColumnWidthsDialog>()->isVisible());
        EXPECT_EQ(Widths(), std::vector<int>({70, 120, 90}));
    }
}

}  // namespace
