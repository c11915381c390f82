#pragma once
// The wait cursor for as long as a command that may take a while runs.

#include <QApplication>

class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// What `work` returns, worked out under the wait cursor; the boxes that
// follow get the normal one back.
template <typename Work>
auto Busy(const Work& work) {
    const BusyCursor busy;
    return work();
}
