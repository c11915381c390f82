// Unsaved edits kept on disk while the window runs, and offered at the next
// start when the program ended without saving or dropping them.

#include <QDir>
#include <csignal>
#include <ctime>
#include <functional>

#include "ChildProcess.h"
#include "MainWindowFixture.h"
#include "StatusPanels.h"
#include "files/FileStamp.h"
#include "files/RecoveryData.h"
#include "files/SnapshotWriter.h"
#include "text/Messages.h"

namespace {

const QString kQuestion =
    QStringLiteral("前回、保存されずに終了した編集内容があります。復元しますか？");

class RecoveryTest : public MainWindowFixture {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        recoveryDir = PathOf(QStringLiteral("recovery"));
        WriteFile(PathOf(QStringLiteral("a.csv")), "a\r\n");
    }

    // What a copy that crashed leaves: a.csv's table holding `text`, changed at `when`.
    void LeaveCrashed(const char* text, std::time_t when) {
        tabulon::TableModel table;
        table.SetCell(1, 1, text);
        table.SetCurrentFileName(PathOf(QStringLiteral("a.csv")).toStdString());
        tabulon::RecoveryData data = tabulon::RecoveryData::Create(recoveryDir.toStdString());
        tabulon::SnapshotWriter writer(table, data.NextSnapshotPath());
        while (!writer.Continue(std::chrono::seconds(1))) {
        }
        data.Keep(tabulon::RecordOf(table, tabulon::StampOf(table.CurrentFileName()), when));
    }  // its lock goes as with a crash

    qsizetype Kept() const { return QDir(recoveryDir).entryList(QDir::Files).size(); }
    // Whether the window has written its data: a lock, a record and a snapshot.
    bool Written() const {
        return QTest::qWaitFor([this] { return Kept() == 3; }, 5000);
    }
};

TEST_F(RecoveryTest, TheQuestionAtStartRestoresDropsOrKeepsEachDocument) {
    const struct {
        int copies;
        std::function<void(ScriptedPrompts&)> answers;
        const char* cell;  // what the table holds afterwards
        const char* title;
        qsizetype kept;  // files of the folder: three a document
    } cases[] = {
        {1, [](ScriptedPrompts& p) { p.Yes(); }, "old", "a - Tabulon", 3},
        {1, [](ScriptedPrompts& p) { p.No().Yes(); }, "", "NoName - Tabulon", 0},
        {1, [](ScriptedPrompts& p) { p.No().No(); }, "", "NoName - Tabulon", 3},
        {2, [](ScriptedPrompts& p) { p.Dismiss().Yes(); }, "old", "a - Tabulon", 6},
    };
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(round);
        recoveryDir = PathOf(QStringLiteral("recovery%1").arg(++round));
        LeaveCrashed("old", std::time(nullptr) - 60);
        if (c.copies == 2) LeaveCrashed("new", std::time(nullptr));
        const size_t asked = prompts_.asked().size();
        c.answers(prompts_);
        Start();
        ASSERT_TRUE(prompts_.AllAnswered());
        const QString question = prompts_.asked()[asked].text;
        EXPECT_TRUE(question.startsWith(kQuestion)) << question.toStdString();
        EXPECT_TRUE(question.contains(PathOf(QStringLiteral("a.csv"))));
        EXPECT_EQ(Cell(1, 1), QString::fromLatin1(c.cell));
        EXPECT_EQ(model().Modified(), c.cell[0] != 0);
        EXPECT_EQ(mainWindow()->windowTitle(), QString::fromLatin1(c.title));
        EXPECT_EQ(Kept(), c.kept);
    }
    EXPECT_EQ(prompts_.asked()[2].text.toStdString(), tabulon::messages::kRecoveryDropQuestion);
}

TEST_F(RecoveryTest, EditsAreKeptAfterAQuietSpellUntilSavedOrDropped) {
    Start();
    Type(QStringLiteral("x"));
    ASSERT_TRUE(Written());
    prompts_.SaveFile(PathOf(QStringLiteral("b.tbn")));
    action("saveAction")->trigger();
    EXPECT_EQ(Kept(), 1);  // the lock, while the window runs
    Type(QStringLiteral("y"));
    ASSERT_TRUE(Written());
    prompts_.No();
    EXPECT_TRUE(Close());
    EXPECT_EQ(Kept(), 0);
}

TEST_F(RecoveryTest, AKilledWindowLeavesItsEditsForTheNextStart) {
    const auto outcome = tabulon::testing::RunInChild([&] {
        Start();
        Type(QStringLiteral("kept"));
        if (Written()) std::raise(SIGKILL);
        return std::string("not written");
    });
    EXPECT_EQ(outcome.signal, SIGKILL) << outcome.text;
    prompts_.Yes();
    Start();
    EXPECT_EQ(Cell(1, 1), QStringLiteral("kept"));
}

TEST_F(RecoveryTest, AFolderThatTakesNoDataIsToldOnceInTheStatusBar) {
    recoveryDir = PathOf(QStringLiteral("a.csv/recovery"));
    Start();
    Type(QStringLiteral("x"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return Panel(0).contains(QStringLiteral("a.csv")); }));
    mainWindow()->findChild<StatusPanels*>(QStringLiteral("statusPanels"))->SetText(0, {});
    Type(QStringLiteral("y"));
    QTest::qWait(100);
    EXPECT_EQ(Panel(0), QString());
}

}  // namespace
