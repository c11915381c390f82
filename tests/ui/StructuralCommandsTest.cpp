// The four row and column commands, reached from the Edit menu, from the
// pop-up menu and by their keys inside the cell editor, with the marker
// repair, the widths staying with their positions and the refusals.

#include <QApplication>
#include <QClipboard>
#include <QMenu>

#include "MainWindowFixture.h"

namespace {

using StructuralTest = MainWindowFixture;

enum class Way { EditMenu, PopupMenu, Keys };

const char* Name(Way way) {
    switch (way) {
        case Way::EditMenu:
            return "Edit menu";
        case Way::PopupMenu:
            return "pop-up menu";
        case Way::Keys:
            return "keys in the editor";
    }
    return "";
}

struct Command {
    const char* mnu;
    const char* pop;
    Qt::Key key;
    Qt::KeyboardModifier modifier;
};

const Command kInsertRow{"insertRowAction", "gridInsertRowAction", Qt::Key_Insert,
                         Qt::ControlModifier};
const Command kInsertColumn{"insertColumnAction", "gridInsertColumnAction", Qt::Key_Insert,
                            Qt::ShiftModifier};
const Command kDeleteRow{"deleteRowAction", "gridDeleteRowAction", Qt::Key_Delete,
                         Qt::ControlModifier};
const Command kDeleteColumn{"deleteColumnAction", "gridDeleteColumnAction", Qt::Key_Delete,
                            Qt::ShiftModifier};

class Commands : public MainWindowFixture {
  protected:
    void Run(const Command& command, Way way) {
        switch (way) {
            case Way::EditMenu: {
                auto* menu = mainWindow()->findChild<QMenu*>(QStringLiteral("editMenu"));
                emit menu->aboutToShow();
                action(command.mnu)->trigger();
                break;
            }
            case Way::PopupMenu: {
                auto* menu = mainWindow()->findChild<QMenu*>(QStringLiteral("gridMenu"));
                emit menu->aboutToShow();
                action(command.pop)->trigger();
                break;
            }
            case Way::Keys:
                Key(command.key, command.modifier);
                break;
        }
    }
};

TEST_F(Commands, EachCommandChangesTheTableTheSameWayFromEveryPlace) {
    const struct {
        const char* what;
        const Command* command;
        int col, row;  // the current cell
        int cols, rows;
        std::vector<QString> texts;  // rows 0 .. rows - 1
        int markerRow;
        int currentCol, currentRow;
    } cases[] = {
        {"insert a row above a record",
         &kInsertRow,
         2,
         2,
         4,
         5,
         {"|A|B|C", "|a1|b1|c1", "→|||", "|a2|b2|c2", "|||"},
         2,
         2,
         2},
        {"insert a row above the trailing row",
         &kInsertRow,
         1,
         3,
         4,
         5,
         {"|A|B|C", "|a1|b1|c1", "|a2|b2|c2", "→|||", "|||"},
         3,
         1,
         3},
        {"insert a column",
         &kInsertColumn,
         2,
         2,
         5,
         4,
         {"|A||B|C", "|a1||b1|c1", "→|a2||b2|c2", "||||"},
         2,
         2,
         2},
        {"delete a record", &kDeleteRow, 2, 1, 4, 3, {"|A|B|C", "→|a2|b2|c2", "|||"}, 1, 2, 1},
        {"delete the last row",
         &kDeleteRow,
         1,
         3,
         4,
         3,
         {"|A|B|C", "|a1|b1|c1", "→|a2|b2|c2"},
         2,
         1,
         2},
        {"delete a column",
         &kDeleteColumn,
         2,
         2,
         3,
         4,
         {"|A|C", "|a1|c1", "→|a2|c2", "||"},
         2,
         2,
         2},
        {"delete the last column",
         &kDeleteColumn,
         3,
         1,
         3,
         4,
         {"|A|B", "→|a1|b1", "|a2|b2", "||"},
         1,
         2,
         1},
    };
    Start();
    for (Way way : {Way::EditMenu, Way::PopupMenu, Way::Keys}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + " by " + Name(way));
            Fill({{"A", "B", "C"}, {"a1", "b1", "c1"}, {"a2", "b2", "c2"}});
            Select(c.col, c.row);
            MarkSaved();
            Run(*c.command, way);
            ASSERT_EQ(model().ColCount(), c.cols);
            ASSERT_EQ(model().RowCount(), c.rows);
            for (int r = 0; r < c.rows; ++r) {
                EXPECT_EQ(Row(r), c.texts[static_cast<size_t>(r)]) << "row " << r;
            }
            EXPECT_EQ(MarkerRows(), std::vector<int>{c.markerRow});
            EXPECT_EQ(model().CurrentCol(), c.currentCol);
            EXPECT_EQ(model().CurrentRow(), c.currentRow);
            EXPECT_EQ(editor()->text(), Cell(c.currentCol, c.currentRow));
            EXPECT_TRUE(model().Modified()) << "a save would write the change";
            // Reset the view's state for the next case.
            Select(1, 1);
        }
    }
}

TEST_F(Commands, ColumnWidthsStayWithTheirPositions) {
    Start();
    Fill({{"A", "B"}, {"a", "b"}});
    model().SetColWidth(1, 40);
    model().SetColWidth(2, 90);
    Select(1, 1);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(model().GetColWidth(1), 40);
    EXPECT_EQ(model().GetColWidth(2), 90);
    EXPECT_EQ(model().GetColWidth(3), model().DefaultColWidth());
    EXPECT_EQ(grid()->columnWidth(0), 40);
    EXPECT_EQ(grid()->columnWidth(2), model().DefaultColWidth());
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(model().GetColWidth(2), 90);
    EXPECT_EQ(Row(0), QStringLiteral("|A|B"));
}

TEST_F(Commands, TheSmallestTableRefusesDeletionsAndTheItemsAreDisabled) {
    Start();
    Fill({{"A"}});
    model().SetRowCount(2);
    model().SetCell(1, 1, "x");
    for (Way way : {Way::Keys, Way::EditMenu, Way::PopupMenu}) {
        SCOPED_TRACE(Name(way));
        Run(kDeleteRow, way);
        Run(kDeleteColumn, way);
        EXPECT_EQ(model().ColCount(), 2);
        EXPECT_EQ(model().RowCount(), 2);
        EXPECT_EQ(Cell(1, 1), QStringLiteral("x"));
    }
    EXPECT_FALSE(action("deleteRowAction")->isEnabled());
    EXPECT_FALSE(action("deleteColumnAction")->isEnabled());
    EXPECT_FALSE(action("gridDeleteRowAction")->isEnabled());
    EXPECT_FALSE(action("gridDeleteColumnAction")->isEnabled());
    EXPECT_TRUE(prompts_.asked().empty());
    // Shift+Delete with selected text did not cut it either.
    editor()->selectAll();
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(Cell(1, 1), QStringLiteral("x"));
}

TEST_F(Commands, TheInsertAndDeleteKeysNeverActAsCopyPasteOrCut) {
    Start();
    Fill({{"A"}, {"abc"}});
    Select(1, 1);
    QApplication::clipboard()->setText(QStringLiteral("CLIP"));
    editor()->selectAll();
    Key(Qt::Key_Insert, Qt::ControlModifier);  // a row, not a copy
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("CLIP"));
    EXPECT_EQ(model().RowCount(), 4);
    Key(Qt::Key_Insert, Qt::ShiftModifier);  // a column, not a paste
    EXPECT_EQ(model().ColCount(), 3);
    EXPECT_EQ(editor()->text(), QString());
    EXPECT_EQ(Row(2), QStringLiteral("||abc"));
}

}  // namespace
