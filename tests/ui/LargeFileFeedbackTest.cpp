// Opening and saving a large file: how far it has come shows in the message
// panel while the window repaints, the panel shows what it did before once it
// is over, a close request meanwhile is refused, and keys pressed meanwhile are
// dropped, not replayed on the table afterwards. The window takes the
// test's files for large ones and lets events run at every report.

#include <QLabel>
#include <QSignalSpy>
#include <algorithm>
#include <set>

#include "MainWindowFixture.h"
#include "StatusPanels.h"
#include "WindowInput.h"
#include "files/TableFile.h"

namespace {

using namespace std::chrono_literals;
using LargeFileFeedbackTest = MainWindowFixture;

// Calls `painted` each time the widget paints.
class OnPaint : public QObject {
  public:
    OnPaint(QWidget* widget, std::function<void()> painted)
        : widget_(widget), painted_(std::move(painted)) {
        widget_->installEventFilter(this);
    }
    ~OnPaint() override { widget_->removeEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted_();
        return false;
    }

  private:
    QWidget* widget_;
    std::function<void()> painted_;
};

TEST_F(LargeFileFeedbackTest, ProgressShowsWhileTheWindowPaintsAndClosingWaits) {
    const QString opening = QStringLiteral("読み込み中… ");
    const std::pair<const char*, QString> cases[] = {
        {"big.tbn", opening},
        {"big.csv", opening},
        {"big.tbn", QStringLiteral("保存中… ")},
        {"big.csv", QStringLiteral("保存中… ")},
    };
    std::vector<QStringList> rows = {{QStringLiteral("名前"), QStringLiteral("番号")}};
    for (int i = 0; i < 3000; ++i) {
        rows.push_back({QStringLiteral("山田"), QString::number(i)});
    }
    Start();
    mainWindow()->setFileFeedback({.threshold = 1, .interval = 0ms});
    auto* panels = mainWindow()->findChild<StatusPanels*>(QStringLiteral("statusPanels"));
    auto* messages = panels->findChild<QLabel*>();
    QSignalSpy closed(mainWindow(), &MainWindow::closed);

    for (const auto& [name, doing] : cases) {
        SCOPED_TRACE(doing.toStdString() + name);
        const QString path = PathOf(QString::fromLatin1(name));
        Fill(rows);
        if (doing == opening) {
            tabulon::SaveTableFile(model(), path.toStdString());
            model().ResetToEmpty();
            prompts_.OpenFile(path);
        } else {
            prompts_.SaveFile(path).Yes();  // the file the open left
        }
        panels->SetText(0, QStringLiteral("前の表示"));
        std::vector<int> percents;
        bool closeRequested = false;
        {
            const OnPaint paints(messages, [&, &doing = doing] {
                const QString text = messages->text();
                ASSERT_TRUE(text.startsWith(doing) && text.endsWith(u'%')) << text.toStdString();
                percents.push_back(text.sliced(doing.size()).chopped(1).toInt());
                // A table half loaded, perhaps on several threads, is not read.
                EXPECT_TRUE(doing != opening || percents.back() < 60 ||
                            !grid()->model()->index(0, 0).data().isValid());
                // Well into the work: for an open, the table is half loaded.
                if (percents.back() >= 60 && !closeRequested) {
                    closeRequested = true;
                    PressCloseBox(mainWindow());
                    // Keys through the window system, as the user's come: Ctrl+Delete, x.
                    QWindow* queue = mainWindow()->windowHandle();
                    qt_handleKeyEvent(queue, QEvent::KeyPress, Qt::Key_Delete, Qt::ControlModifier);
                    qt_handleKeyEvent(queue, QEvent::KeyPress, Qt::Key_X, {}, QStringLiteral("x"));
                }
            });
            action(doing == opening ? "openAction" : "saveAsAction")->trigger();
        }
        QCoreApplication::processEvents();
        EXPECT_GT(std::set<int>(percents.begin(), percents.end()).size(), 2u);
        EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
        EXPECT_TRUE(closeRequested);
        EXPECT_EQ(panels->Text(0), QStringLiteral("前の表示"));
        EXPECT_TRUE(mainWindow()->isVisible());
        EXPECT_EQ(closed.count(), 0);
        EXPECT_EQ(Cell(2, 3000), QStringLiteral("2999"));
        EXPECT_EQ(editor()->text(), QStringLiteral("山田"));
    }
}

}  // namespace
