// 元に戻す and やり直し in the window: enabled only with a step, the step named
// in the hint, the cell editor's own typing first, and the modified flag back
// to clear at the saved state.

#include <QAction>
#include <QMenu>

#include "MainWindowFixture.h"

namespace {

using UndoTest = MainWindowFixture;

// The edit menu as it stands when opened.
void RefreshMenus() {
    emit mainWindow()->findChild<QMenu*>(QStringLiteral("editMenu"))->aboutToShow();
}

TEST_F(UndoTest, TheMenuOffersOnlyStepsThereAreAndNamesThem) {
    Start();
    Fill({{"名前"}, {"山田"}, {"佐藤"}});
    Select(1, 2);
    RefreshMenus();
    EXPECT_FALSE(action("undoAction")->isEnabled());
    EXPECT_FALSE(action("redoAction")->isEnabled());

    Key(Qt::Key_Delete, Qt::ControlModifier);
    RefreshMenus();
    EXPECT_TRUE(action("undoAction")->isEnabled());
    EXPECT_EQ(action("undoAction")->statusTip(), QStringLiteral("行の削除を元に戻します"));
    EXPECT_EQ(Row(2), QStringLiteral("→|"));

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Row(2), QStringLiteral("→|佐藤"));
    EXPECT_FALSE(model().Modified()) << "back where it was loaded";
    RefreshMenus();
    EXPECT_FALSE(action("undoAction")->isEnabled());
    EXPECT_EQ(action("redoAction")->statusTip(), QStringLiteral("行の削除をやり直します"));

    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Row(2), QStringLiteral("→|"));
    EXPECT_TRUE(model().Modified());
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(Row(2), QStringLiteral("→|")) << "Ctrl+Shift+Z redoes too";
}

TEST_F(UndoTest, CtrlZUndoesTheEditorsTypingFirstThenTheTablesSteps) {
    Start();
    Fill({{"名前"}, {"山田"}, {"佐藤"}});
    Select(1, 1);
    action("insertRowAction")->trigger();
    Select(1, 2);
    Key(Qt::Key_End);
    Type(QStringLiteral("様"));
    EXPECT_EQ(Cell(1, 2), QStringLiteral("山田様"));

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Cell(1, 2), QStringLiteral("山田")) << "the editor's own undo";
    EXPECT_EQ(model().RowCount(), 5);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(model().RowCount(), 4) << "then the inserted row";
    EXPECT_EQ(Cell(1, 1), QStringLiteral("山田"));
    EXPECT_EQ(MarkerRows(), std::vector<int>{model().CurrentRow()});
    EXPECT_FALSE(model().Modified());
}

// A step the history's budget cannot hold: キャンセル leaves the column, OK
// deletes it without a step, and the menu says why nothing can be undone.
TEST_F(UndoTest, AStepTooBigToKeepIsAskedForFirst) {
    undoBudget = 1000;
    Start();
    Fill({{"名前", "メモ"}, {QString(1000, u'x'), "a"}});
    Select(1, 1);
    prompts_.Cancel().Ok();
    action("deleteColumnAction")->trigger();
    EXPECT_EQ(model().ColCount(), 3);
    action("deleteColumnAction")->trigger();
    EXPECT_EQ(Cell(1, 1), QStringLiteral("a"));
    EXPECT_EQ(prompts_.AskedTexts(), QStringList(2, QStringLiteral("この操作は元に戻せません")));
    EXPECT_TRUE(model().Modified());
    RefreshMenus();
    EXPECT_FALSE(action("undoAction")->isEnabled());
    EXPECT_EQ(action("undoAction")->statusTip(),
              QStringLiteral("それより前の変更はメモリの上限のため元に戻せません"));
}

}  // namespace
