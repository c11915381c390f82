#include "RecoveryKeeper.h"

#include <exception>

#include "text/Messages.h"

namespace {

// The longest the window waits for one slice of the snapshot.
using namespace std::chrono_literals;
constexpr auto kSlice = 20ms;
constexpr auto kSyncPoll = 10ms;
// The longest unsaved edits wait for their snapshot while changes keep coming.
constexpr auto kLongestWait = 30s;

}  // namespace

RecoveryKeeper::RecoveryKeeper(tabulon::TableModel& model, std::string folder, int quietMs,
                               StampSource stamp)
    : model_(model), folder_(std::move(folder)), stamp_(std::move(stamp)) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(quietMs);
    deadline_.setSingleShot(true);
    deadline_.setInterval(kLongestWait);
    const auto begin = [this] {
        if (changing_ > 0) {
            quiet_.start();  // a file is being read into the table
        } else if (model_.Modified()) {
            if (!slices_.isActive()) slices_.start();
        } else {
            follow();
        }
    };
    connect(&quiet_, &QTimer::timeout, this, begin);
    // Steady data entry may never pause for long: it is written anyway.
    connect(&deadline_, &QTimer::timeout, this, begin);
    connect(&slices_, &QTimer::timeout, this, &RecoveryKeeper::writeSlice);
    if (!folder_.empty()) model_.AddObserver(this);
}

RecoveryKeeper::~RecoveryKeeper() {
    if (!folder_.empty()) model_.RemoveObserver(this);
}

std::vector<tabulon::RecoveryData> RecoveryKeeper::leftOver() const {
    if (folder_.empty()) return {};
    return tabulon::RecoveryData::ClaimLeftOver(folder_, std::time(nullptr));
}

void RecoveryKeeper::adopt(tabulon::RecoveryData data) {
    settle();
    lastChange_ = data.Record()->lastChange;
    data_ = std::move(data);
    unwritten_ = false;
}

void RecoveryKeeper::TableChanging(const tabulon::TableChange&) {
    ++changing_;
    changed();
}

void RecoveryKeeper::TableChanged(const tabulon::TableChange&) {
    --changing_;
    changed();
}

void RecoveryKeeper::CellsChanged(int col0, int, int col1, int) {
    // The marker follows the current cell: moving about is no edit.
    if (col0 != 0 || col1 != 0) changed();
}

void RecoveryKeeper::changed() {
    stop();
    lastChange_ = std::time(nullptr);
    unwritten_ = true;
    quiet_.start();
    if (!deadline_.isActive()) deadline_.start();
}

void RecoveryKeeper::settle() {
    stop();
    deadline_.stop();
}

void RecoveryKeeper::stop() {
    quiet_.stop();
    slices_.stop();
    slices_.setInterval(0);
    writer_.reset();
}

void RecoveryKeeper::follow() {
    if (folder_.empty()) return;
    if (!model_.Modified()) {
        settle();
        unwritten_ = false;
        if (data_ && data_->Record()) data_->Remove();
    } else if (unwritten_ && !quiet_.isActive() && !slices_.isActive()) {
        quiet_.start();
    }
}

void RecoveryKeeper::discard() {
    settle();
    unwritten_ = false;
    if (data_ && data_->Record()) data_->Remove();
}

void RecoveryKeeper::finish() {
    settle();
    if (data_) data_->Finish();
    data_.reset();
}

void RecoveryKeeper::writeSlice() {
    try {
        if (!writer_) {
            if (!data_) data_ = tabulon::RecoveryData::Create(folder_);
            writer_ = std::make_unique<tabulon::SnapshotWriter>(model_, data_->NextSnapshotPath());
            unwritten_ = false;
        }
        if (!writer_->Continue(kSlice)) {
            // Waiting for the disk needs no hurry.
            slices_.setInterval(writer_->Syncing() ? kSyncPoll : 0ms);
            return;
        }
        writer_.reset();
        data_->Keep(tabulon::RecordOf(model_, stamp_(), lastChange_));
        deadline_.stop();
    } catch (const std::exception& failure) {
        // Typing goes on: the next change tries again, and only the first
        // failure of the run is told.
        writer_.reset();
        if (!failureShown_) {
            failureShown_ = true;
            emit failed(QString::fromStdString(tabulon::messages::RecoveryNotKept(failure.what())));
        }
    }
    slices_.stop();
}
