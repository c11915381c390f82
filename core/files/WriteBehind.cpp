#include "files/WriteBehind.h"

#include <utility>

namespace tabulon {

WriteBehind::WriteBehind(FileWriter& file)
    : file_(file), thread_([this](const std::stop_token& stop) { Run(stop); }) {}

void WriteBehind::Hand(std::function<void(FileWriter&)> write) {
    Wait();
    {
        const std::lock_guard lock(mutex_);
        batch_ = std::move(write);
    }
    changed_.notify_all();
}

void WriteBehind::Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !batch_; });
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void WriteBehind::Run(const std::stop_token& stop) {
    std::unique_lock lock(mutex_);
    while (changed_.wait(lock, stop, [&] { return static_cast<bool>(batch_); })) {
        lock.unlock();
        std::exception_ptr failure;
        try {
            batch_(file_);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        batch_ = nullptr;
        failure_ = failure;
        changed_.notify_all();
    }
}

}  // namespace tabulon
