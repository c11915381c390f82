#pragma once
// Feedback while a large file is opened or saved: how far it has come, in the
// status bar's message panel, and a window that stays painted. Events run at
// the core's reports, at most once an interval, and once more at the end; the
// user's input among them (keys, clicks, wheel turns, shortcuts) is dropped,
// since it was aimed at a table that is not there yet or about to change, so
// nothing but painting and the window system's requests can happen; the main
// window refuses those that would act on the table meanwhile; Esc is noted,
// for the operations that can stop (a printout). A small file
// gets neither and runs as it always has.

#include <QElapsedTimer>
#include <QString>
#include <chrono>
#include <cstdint>

#include "table/TableModel.h"
#include "text/Progress.h"

class StatusPanels;

// From what size a file gets feedback, and how often the window repaints.
struct FileFeedback {
    uint64_t threshold = uint64_t{50} << 20;  // bytes
    std::chrono::milliseconds interval{100};
};

// The bytes of the table's texts, counted up to `enough`: near enough the
// size of the file a save writes to tell whether it is large.
uint64_t TextSizeUpTo(const tabulon::TableModel& model, uint64_t enough);

class FileProgress {
  public:
    // `doing` names the operation ("保存中"); `bytes` is the size of its file.
    FileProgress(StatusPanels& panels, const QString& doing, uint64_t bytes,
                 const FileFeedback& feedback);
    // The panel shows again what it showed before.
    ~FileProgress();
    FileProgress(const FileProgress&) = delete;
    FileProgress& operator=(const FileProgress&) = delete;

    // For the core's file functions: empty for a small file.
    tabulon::Progress Callback();
    // Whether Esc was pressed while events ran, for an operation that can stop.
    bool Cancelled() const { return escaped_; }

  private:
    void Show(int percent);
    void RunEventsWithoutInput();

    StatusPanels& panels_;
    const QString doing_;
    const QString before_;
    const bool large_;
    const std::chrono::milliseconds interval_;
    QElapsedTimer sinceEvents_;  // invalid until events first run
    int shown_ = -1;
    bool escaped_ = false;
};
