#include "TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "Messages.h"

namespace tabulon {

namespace {

constexpr size_t kWriteBufferSize = 1 << 20;

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

FileBytes ReadFileBytes(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) {
        throw messages::CannotOpen(path);
    }
    // Regular files are read in one allocation; pipes and devices grow as they come.
    size_t capacity = S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) : 64 * 1024;
    auto data = AllocateBytes(capacity + 1);
    size_t size = 0;
    for (;;) {
        if (size == capacity) {
            if (S_ISREG(st.st_mode)) {
                // The file may have grown since fstat; read the rest as it comes.
                char probe;
                const ssize_t n = ::read(fd.get(), &probe, 1);
                if (n == 0) break;
                if (n < 0) {
                    if (errno == EINTR) continue;
                    throw messages::CannotOpen(path);
                }
                st.st_mode = S_IFIFO;
                auto bigger = AllocateBytes(capacity * 2 + 2);
                std::memcpy(bigger.get(), data.get(), size);
                bigger[size++] = probe;
                data = std::move(bigger);
                capacity = capacity * 2 + 1;
                continue;
            }
            auto bigger = AllocateBytes(capacity * 2 + 1);
            std::memcpy(bigger.get(), data.get(), size);
            data = std::move(bigger);
            capacity *= 2;
        }
        const ssize_t n = ::read(fd.get(), data.get() + size, capacity - size);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw messages::CannotOpen(path);
        }
        size += static_cast<size_t>(n);
    }
    data[size] = '\0';
    return FileBytes(std::move(data), size);
}

LineReader::LineReader(char* data, size_t size) : pos_(data), end_(data + size) {
    if (size == 0) {
        return;
    }
    if (void* nul = std::memchr(data, '\0', size)) {
        end_ = static_cast<char*>(nul);
    }
}

bool LineReader::Next(std::string_view& line) {
    if (pos_ >= end_) {
        return false;
    }
    char* p = pos_;
    while (p < end_ && *p != '\r' && *p != '\n') {
        ++p;
    }
    line = std::string_view(pos_, static_cast<size_t>(p - pos_));
    const size_t endLength = p < end_ ? LineEndLength(p, end_) : 0;
    *p = '\0';
    pos_ = p + endLength;
    return true;
}

size_t LineReader::CountRemaining() const {
    const char* p = pos_;
    if (p >= end_) {
        return 0;
    }
    // Every LF ends a line, and so does every CR that is not the first half of CR LF.
    size_t lines = static_cast<size_t>(std::count(p, static_cast<const char*>(end_), '\n'));
    for (const char* q = p;
         (q = static_cast<const char*>(std::memchr(q, '\r', static_cast<size_t>(end_ - q)))); ++q) {
        if (!(q + 1 < end_ && q[1] == '\n')) ++lines;
    }
    if (end_[-1] != '\n' && end_[-1] != '\r') ++lines;
    return lines;
}

FileWriter::FileWriter(const std::string& path) : path_(path), target_(path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path p(path);
    if (fs::is_symlink(fs::symlink_status(p, ec))) {
        const fs::path resolved = fs::weakly_canonical(p, ec);
        if (!ec) target_ = resolved.string();
    }
    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    // A read-only file stays read-only: replacing it by rename would not ask.
    if (exists && (S_ISDIR(st.st_mode) || ::access(target_.c_str(), W_OK) != 0)) {
        throw messages::CannotCreate(path_);
    }
    if (exists && !S_ISREG(st.st_mode)) {
        fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd_ < 0) throw messages::CannotCreate(path_);
        return;
    }
    const fs::path target(target_);
    std::string name = ".";
    name += target.filename().string();
    name += ".tabulon-XXXXXX";
    std::string pattern = (target.parent_path() / name).string();
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0) {
        throw messages::CannotCreate(path_);
    }
    temp_ = pattern;
    mode_t mode;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd_, mode) != 0) {
        Discard();
        throw messages::CannotCreate(path_);
    }
    buffer_.reserve(kWriteBufferSize);
}

FileWriter::~FileWriter() {
    Discard();
}

void FileWriter::Discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

void FileWriter::Write(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kWriteBufferSize) {
        Flush();
        if (bytes.size() > kWriteBufferSize) {
            buffer_.assign(bytes);
            Flush();
            return;
        }
    }
    buffer_.append(bytes);
}

void FileWriter::Flush() {
    const char* p = buffer_.data();
    size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw messages::WriteError();
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    buffer_.clear();
}

void FileWriter::Commit() {
    Flush();
    if (temp_.empty()) {
        // In place: a device or pipe; nothing to rename.
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) throw messages::WriteError();
        return;
    }
    if (::fsync(fd_) != 0) {
        throw messages::WriteError();
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        throw messages::WriteError();
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        throw messages::CannotCreate(path_);
    }
    temp_.clear();
}

}  // namespace tabulon
