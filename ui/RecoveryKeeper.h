#pragma once
// Keeps the document's unsaved edits on disk (files/RecoveryData.h), so that
// a crash, a killed process or a lost session loses none of them. A short
// quiet spell after a change (or half a minute after the first change not
// written, for steady typing), the table is written as a snapshot in slices
// of a few milliseconds with the window's events between them, begun again
// should the table change meanwhile: typing never waits for it, and no copy
// of a large table is made. A table without unsaved edits keeps no data.

#include <QObject>
#include <QTimer>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/FileStamp.h"
#include "files/RecoveryData.h"
#include "files/SnapshotWriter.h"
#include "table/TableModel.h"

class RecoveryKeeper : public QObject, private tabulon::TableObserver {
    Q_OBJECT

  public:
    // The document's file as last read or written, for the record.
    using StampSource = std::function<std::optional<tabulon::FileStamp>()>;

    // With no folder nothing is kept. `quietMs`: how long the table must stay
    // unchanged before it is written.
    RecoveryKeeper(tabulon::TableModel& model, std::string folder, int quietMs, StampSource stamp);
    ~RecoveryKeeper() override;

    // What copies of the program that are no longer running left, newest first.
    std::vector<tabulon::RecoveryData> leftOver() const;
    // A restored document's data becomes this document's own.
    void adopt(tabulon::RecoveryData data);
    // After each command: data is written only while there are unsaved edits
    // and removed when there are none.
    void follow();
    // The user chose to drop the edits.
    void discard();
    // The program ends normally: the data goes, its lock too.
    void finish();

  signals:
    // Writing failed: shown once a run, in the status bar.
    void failed(const QString& notice);

  private:
    void TableChanged(const tabulon::TableChange&) override;
    void TableChanging(const tabulon::TableChange&) override;
    void CellsChanged(int col0, int row0, int col1, int row1) override;
    void RowMoved(int, int) override { changed(); }
    void RowsPermuted(int, const std::vector<int>&) override { changed(); }
    void ColumnWidthsChanged() override { changed(); }

    void changed();
    // Stops a write under way.
    void stop();
    // Stops it and forgets the waiting for one.
    void settle();
    void writeSlice();

    tabulon::TableModel& model_;
    const std::string folder_;
    const StampSource stamp_;
    std::optional<tabulon::RecoveryData> data_;
    std::unique_ptr<tabulon::SnapshotWriter> writer_;
    QTimer quiet_;
    QTimer deadline_;  // since the first change the data does not hold
    QTimer slices_;
    std::time_t lastChange_ = 0;
    bool unwritten_ = false;  // the table holds changes the data does not
    int changing_ = 0;        // inside a structural change
    bool failureShown_ = false;
};
