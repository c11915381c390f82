#pragma once
// Hands a save's output to its FileWriter on a thread of its own, a batch at a
// time, so that the next batch is made on every core while the system copies
// the last one: the two no longer take turns.

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "files/FileWriter.h"

namespace tabulon {

class WriteBehind {
  public:
    explicit WriteBehind(FileWriter& file);
    // Waits for the batch under way; its error, if any, is dropped.
    ~WriteBehind() = default;
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    // Waits for the batch handed before, then has `write` put the next one to
    // the file, on the writer's thread. Until the next Hand or Wait, the
    // caller must leave the file, and what `write` reads, alone.
    void Hand(std::function<void(FileWriter&)> write);
    // Waits for the batch handed last; throws what writing it threw.
    void Wait();

  private:
    void Run(const std::stop_token& stop);

    FileWriter& file_;
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::function<void(FileWriter&)> batch_;  // handed and not yet written
    std::exception_ptr failure_;
    std::jthread thread_;  // last: it starts once the rest is ready
};

}  // namespace tabulon
