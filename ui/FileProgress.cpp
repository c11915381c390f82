#include "FileProgress.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "StatusPanels.h"

using namespace Qt::StringLiterals;

namespace {

// The status bar's panel for messages.
constexpr int kMessagePanel = 0;

// Drops the user's input, noting Esc pressed meanwhile.
class InputDrop : public QObject {
  public:
    explicit InputDrop(bool& escaped) : escaped_(escaped) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
                escaped_ = escaped_ || static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
                return true;
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
            case QEvent::InputMethod:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
                return true;
            default:
                return false;
        }
    }

  private:
    bool& escaped_;
};

}  // namespace

uint64_t TextSizeUpTo(const tabulon::TableModel& model, uint64_t enough) {
    uint64_t size = 0;
    for (int c = 1; c < model.ColCount() && size < enough; ++c) {
        for (int r = 0; r < model.RowCount() && size < enough; ++r) {
            size += model.GetCell(c, r).size();
        }
    }
    return size;
}

FileProgress::FileProgress(StatusPanels& panels, const QString& doing, uint64_t bytes,
                           const FileFeedback& feedback)
    : panels_(panels),
      doing_(doing),
      before_(panels.Text(kMessagePanel)),
      large_(bytes >= feedback.threshold),
      interval_(feedback.interval) {}

FileProgress::~FileProgress() {
    // Input that came after the last report goes the same way.
    if (sinceEvents_.isValid()) {
        RunEventsWithoutInput();
    }
    if (shown_ >= 0) {
        panels_.SetText(kMessagePanel, before_);
    }
}

tabulon::Progress FileProgress::Callback() {
    if (!large_) {
        return {};
    }
    return [this](int percent) { Show(percent); };
}

void FileProgress::Show(int percent) {
    if (percent == shown_) {
        return;
    }
    shown_ = percent;
    panels_.SetText(kMessagePanel, u"%1… %2%"_s.arg(doing_).arg(percent));
    if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= interval_.count()) {
        RunEventsWithoutInput();
        sinceEvents_.start();
    }
}

void FileProgress::RunEventsWithoutInput() {
    InputDrop drop(escaped_);
    QCoreApplication::instance()->installEventFilter(&drop);
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&drop);
}
