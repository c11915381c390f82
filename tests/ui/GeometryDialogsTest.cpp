#include <QApplication>
#include <QHeaderView>
#include <QSpinBox>

#include "DialogDriver.h"
#include "MainWindowFixture.h"
#include "dbHeight.h"
#include "dbWidth.h"

using namespace Qt::StringLiterals;

namespace {

class GeometryDialogsTest : public MainWindowFixture {
  public:
    void OpenHeight() {
        OpenWith(foHeight, editor(), Qt::Key_H);
        seHeight = Child<QSpinBox>(foHeight, "seHeight");
    }
    void OpenWidth() {
        OpenWith(foWidth, editor(), Qt::Key_W);
        sgWidth = Child<EntryList>(foWidth, "sgWidth");
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
        Fill({{u"A"_s, u"B"_s, u"C"_s}, {u"a"_s, u"b"_s, u"c"_s}});
        model().SetColWidth(2, 120);
        model().SetColWidth(3, 90);
        Select(2, 1);
        model().SetModified(false);
    }

    QSpinBox* seHeight = nullptr;
    EntryList* sgWidth = nullptr;
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
        EXPECT_EQ(QApplication::activeModalWidget(), foHeight);
        EXPECT_EQ(seHeight->text(), u"18"_s);
        ASSERT_TRUE(seHeight->hasFocus());
        // The text is selected on opening, so typing replaces it.
        QTest::keyClick(seHeight, Qt::Key_Backspace);
        QTest::keyClicks(seHeight, QString::fromLatin1(c.typed));
        if (c.enter) {
            QTest::keyClick(seHeight, Qt::Key_Return);
        } else {
            ClickButton(foHeight, "Button1");
        }
        EXPECT_FALSE(foHeight->isVisible());
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
    EXPECT_EQ(foHeight->windowTitle(), u"高さの変更"_s);
    EXPECT_EQ(foHeight->size(), QSize(186, 118));
    EXPECT_EQ(foHeight->minimumSize(), foHeight->maximumSize());
    EXPECT_FALSE(foHeight->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(foHeight->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(seHeight->text(), u"30"_s);
    QTest::keyClick(seHeight, Qt::Key_Up);
    EXPECT_EQ(seHeight->value(), 31);
    QTest::keyClick(seHeight, Qt::Key_Down);
    QTest::keyClick(seHeight, Qt::Key_Down);
    EXPECT_EQ(seHeight->value(), 29);
    ClickButton(foHeight, "Button1");
    EXPECT_EQ(model().RowHeight(), 29);
    OpenHeight();
    EXPECT_EQ(seHeight->text(), u"29"_s);
    ClickButton(foHeight, "Button2");
}

TEST_F(GeometryDialogsTest, CancelEscAndTheCloseBoxLeaveTheHeightAndGiveTheMainWindowBack) {
    const struct {
        const char* way;
        std::function<void()> close;
    } ways[] = {
        {"キャンセル", [] { ClickButton(foHeight, "Button2"); }},
        {"Esc", [] { QTest::keyClick(Child<QSpinBox>(foHeight, "seHeight"), Qt::Key_Escape); }},
        {"close box", [] { foHeight->close(); }},
    };
    Start();
    Fill({{u"A"_s, u"B"_s}, {u"a"_s, u"b"_s}});
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        Select(1, 1);
        OpenHeight();
        QTest::keyClicks(seHeight, u"40"_s);
        // The table cannot be reached while the dialog is open.
        ClickGridCell(2, 2);
        EXPECT_EQ(model().CurrentCol(), 1);
        way.close();
        EXPECT_FALSE(foHeight->isVisible());
        EXPECT_EQ(model().RowHeight(), 18);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        ClickGridCell(2, 2);
        EXPECT_EQ(model().CurrentCol(), 2);
        EXPECT_EQ(model().CurrentRow(), 2);
    }
}

TEST_F(GeometryDialogsTest, TheWidthDialogListsTheItemsAndAppliesWhileStayingOpen) {
    Start();
    Fill({{u"A"_s, u"B"_s}, {u"a"_s, u"b"_s}});
    model().SetColWidth(2, 120);
    Select(1, 1);
    OpenWidth();
    EXPECT_EQ(foWidth->windowTitle(), u"横幅の変更"_s);
    EXPECT_EQ(foWidth->size(), QSize(236, 268));
    EXPECT_TRUE(foWidth->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(foWidth->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(sgWidth->height(), 194);
    EXPECT_EQ(sgWidth->verticalHeader()->width(), 150);
    EXPECT_EQ(sgWidth->columnWidth(0), 51);
    // The list keeps its height; the buttons keep their place at the bottom left.
    QPushButton* apply = Child<QPushButton>(foWidth, "btOk");
    const QPoint fromBottomLeft(apply->x(), foWidth->height() - apply->y());
    foWidth->resize(300, 400);
    EXPECT_EQ(sgWidth->geometry(), QRect(0, 0, 300, 194));
    EXPECT_EQ(QPoint(apply->x(), foWidth->height() - apply->y()), fromBottomLeft);
    EXPECT_GE(apply->y(), 194);
    foWidth->resize(236, 268);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(Labels(sgWidth), QStringList({u"A"_s, u"B"_s}));
    EXPECT_EQ(Entries(sgWidth), QStringList({u"64"_s, u"120"_s}));

    ReplaceEntry(sgWidth, 1, u"80"_s);
    ClickButton(foWidth, "btOk");
    EXPECT_TRUE(foWidth->isVisible());
    EXPECT_EQ(Widths(), std::vector<int>({64, 80}));
    EXPECT_EQ(GridWidths(), std::vector<int>({64, 80}));

    // Enter in an entry is 適用 too.
    ReplaceEntry(sgWidth, 0, u"$20"_s);
    QTest::keyClick(sgWidth->Editor(), Qt::Key_Return);
    EXPECT_TRUE(foWidth->isVisible());
    EXPECT_EQ(GridWidths(), std::vector<int>({32, 80}));

    // The table stays usable meanwhile, and nothing here touches Modified.
    ClickGridCell(2, 1);
    EXPECT_EQ(model().CurrentCol(), 2);
    EXPECT_FALSE(model().Modified());
    ClickButton(foWidth, "btOk");
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
             QApplication::setActiveWindow(foMain);
             QTest::keyClick(t.editor(), Qt::Key_Delete, Qt::ShiftModifier);
         },
         {50, 51},
         u"グリッドインデックス が範囲を超えています."_s},
        {"a column inserted meanwhile",
         {{0, u"50"_s}, {1, u"51"_s}, {2, u"52"_s}},
         [](GeometryDialogsTest& t) {
             ClickGridCell(3, 1);
             QApplication::setActiveWindow(foMain);
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
            ReplaceEntry(sgWidth, row, text);
        }
        if (c.meanwhile) {
            c.meanwhile(*this);
        }
        model().SetModified(false);
        const QString caption = foMain->windowTitle();
        if (!c.message.isEmpty()) {
            prompts_.ErrorBox();
        }
        ClickButton(foWidth, "btOk");
        EXPECT_TRUE(foWidth->isVisible());
        EXPECT_EQ(Widths(), c.widths);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(prompts_.asked().empty());
        } else {
            ASSERT_EQ(prompts_.asked().size(), 1u);
            EXPECT_EQ(prompts_.asked()[0].kind, ScriptedPrompts::Kind::Error);
            EXPECT_EQ(prompts_.asked()[0].text, c.message);
            EXPECT_EQ(prompts_.asked()[0].title, caption);
        }
        EXPECT_FALSE(model().Modified());
        ClickButton(foWidth, "btCancel");
        prompts_ = ScriptedPrompts();
    }
}

TEST_F(GeometryDialogsTest, TheWidthListIsFilledOnlyOnOpening) {
    Start();
    FillAbc();
    OpenWidth();
    model().SetCell(1, 0, "renamed");
    model().SetColWidth(1, 33);
    EXPECT_EQ(Labels(sgWidth).first(), u"A"_s);
    EXPECT_EQ(Entries(sgWidth).first(), u"64"_s);
    // Applying writes what the list holds.
    ClickButton(foWidth, "btOk");
    EXPECT_EQ(model().GetColWidth(1), 64);
    ClickButton(foWidth, "btCancel");
    model().SetColWidth(1, 33);
    OpenWidth();
    EXPECT_EQ(Labels(sgWidth).first(), u"renamed"_s);
    EXPECT_EQ(Entries(sgWidth).first(), u"33"_s);
}

TEST_F(GeometryDialogsTest, ClosingTheWidthDialogUndoesNothing) {
    const struct {
        const char* way;
        std::function<void(EntryList*)> close;
    } ways[] = {
        {"閉じる", [](EntryList*) { ClickButton(foWidth, "btCancel"); }},
        {"Esc", [](EntryList* entries) { QTest::keyClick(entries->Editor(), Qt::Key_Escape); }},
        {"close box", [](EntryList*) { foWidth->close(); }},
    };
    Start();
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        FillAbc();
        OpenWidth();
        ReplaceEntry(sgWidth, 0, u"70"_s);
        ClickButton(foWidth, "btOk");
        ReplaceEntry(sgWidth, 0, u"99"_s);
        way.close(sgWidth);
        EXPECT_FALSE(foWidth->isVisible());
        EXPECT_EQ(Widths(), std::vector<int>({70, 120, 90}));
    }
}

}  // namespace
