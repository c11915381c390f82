// Opening and saving a large file: how far it has come shows in the message
// panel while the window repaints, the panel shows what it did before once it
// is over, and a close request meanwhile is refused. The window takes the
// test's files for large ones and lets events run at every report.

#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>

#include "MainWindowFixture.h"
#include "StatusPanels.h"
#include "TableFile.h"
#include "WindowInput.h"

namespace {

using namespace std::chrono_literals;
using LargeFileFeedbackTest = MainWindowFixture;

// Calls `painted` with the message panel's text each time the panel paints.
class PanelPaints : public QObject {
  public:
    PanelPaints(QLabel* panel, std::function<void(const QString&)> painted)
        : panel_(panel), painted_(std::move(painted)) {
        panel_->installEventFilter(this);
    }
    ~PanelPaints() override { panel_->removeEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted_(panel_->text());
        }
        return false;
    }

  private:
    QLabel* panel_;
    std::function<void(const QString&)> painted_;
};

TEST_F(LargeFileFeedbackTest, ProgressShowsWhileTheWindowPaintsAndClosingWaits) {
    const struct {
        const char* name;
        const char* action;
        QString doing;
    } cases[] = {
        {"big.tbn", "openAction", QStringLiteral("読み込み中")},
        {"big.csv", "openAction", QStringLiteral("読み込み中")},
        {"big.tbn", "saveAsAction", QStringLiteral("保存中")},
        {"big.csv", "saveAsAction", QStringLiteral("保存中")},
    };
    std::vector<QStringList> rows = {{QStringLiteral("名前"), QStringLiteral("番号")}};
    for (int i = 0; i < 3000; ++i) {
        rows.push_back({QStringLiteral("山田"), QString::number(i)});
    }
    Start();
    mainWindow()->setFileFeedback({.threshold = 1, .interval = 0ms});
    auto* panels = mainWindow()->findChild<StatusPanels*>(QStringLiteral("statusPanels"));
    QSignalSpy closed(mainWindow(), &MainWindow::closed);
    const QRegularExpression progress(QStringLiteral("^(.+)… (\\d+)%$"));

    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " " + c.name);
        const QString path = PathOf(QString::fromLatin1(c.name));
        Fill(rows);
        if (c.doing == QStringLiteral("読み込み中")) {
            tabulon::SaveTableFile(model(), path.toStdString());
            model().ResetToEmpty();
            prompts_.OpenFile(path);
        } else {
            prompts_.SaveFile(path);
        }
        panels->SetText(0, QStringLiteral("前の表示"));

        std::vector<int> percents;
        bool closeRequested = false;
        {
            const PanelPaints paints(panels->findChild<QLabel*>(), [&](const QString& text) {
                const auto match = progress.match(text);
                ASSERT_TRUE(match.hasMatch()) << text.toStdString();
                EXPECT_EQ(match.captured(1), c.doing);
                percents.push_back(match.captured(2).toInt());
                // Well into the work: for an open, the table is half loaded.
                if (!closeRequested && percents.back() >= 60) {
                    closeRequested = true;
                    PressCloseBox(mainWindow());
                }
            });
            action(c.action)->trigger();
        }

        EXPECT_GT(std::set<int>(percents.begin(), percents.end()).size(), 2u);
        EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
        EXPECT_EQ(panels->Text(0), QStringLiteral("前の表示"));
        EXPECT_TRUE(closeRequested);
        EXPECT_TRUE(mainWindow()->isVisible());
        EXPECT_EQ(closed.count(), 0);
        EXPECT_EQ(model().RowCount(), static_cast<int>(rows.size()) + 1);
        EXPECT_EQ(Cell(2, 3000), QStringLiteral("2999"));
    }
}

}  // namespace
