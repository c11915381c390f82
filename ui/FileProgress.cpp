#include "FileProgress.h"

#include <QCoreApplication>

#include "StatusPanels.h"

using namespace Qt::StringLiterals;

namespace {

// The status bar's panel for messages.
constexpr int kMessagePanel = 0;

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
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceEvents_.start();
    }
}
