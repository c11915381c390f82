#pragma once
// An open file descriptor that closes itself.

#include <unistd.h>

#include <utility>

namespace tabulon {

class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            Reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes now and tells whether the close succeeded (a late write error can
    // show up only here).
    bool Close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }
    void Reset() { Close(); }

  private:
    int fd_ = -1;
};

}  // namespace tabulon
