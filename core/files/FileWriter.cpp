#include "files/FileWriter.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <mutex>

#include "text/Messages.h"

namespace tabulon {

namespace {

constexpr size_t kWriteBufferSize = 1 << 20;
constexpr int kMaxLinkHops = 40;

// ---------------------------------------------------------------------------
// What a signal arriving in the middle of a save must undo. A signal handler
// is handed no context, so the saves under way register here: plain data that
// the handler reads with async-signal-safe calls only. This is the one piece
// of process-wide state in the core, because signals are process-wide.

struct PendingUndo {
    volatile sig_atomic_t active;
    volatile sig_atomic_t restoreTarget;  // a file being rewritten in place, or -1
    volatile sig_atomic_t restoreFrom;    // the copy of its old bytes
    char removePath[PATH_MAX];            // a temporary or copy to remove, or ""
};

constexpr int kUndoSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr size_t kSignalCount = std::size(kUndoSignals);

PendingUndo pendingUndo[4];
struct sigaction previousActions[kSignalCount];
volatile sig_atomic_t handlerInstalled[kSignalCount];
int slotsInUse = 0;
std::mutex undoMutex;

// Copies all of `from` over `to` from their starts and cuts `to` to that
// length. System calls and a stack buffer only: the signal handler uses it.
bool CopyContent(int from, int to) noexcept {
    off_t in = 0;
    off_t out = 0;
    for (;;) {
        const ssize_t n = ::copy_file_range(from, &in, to, &out, size_t{1} << 30, 0);
        if (n > 0) continue;
        if (n == 0) return ::ftruncate(to, out) == 0;
        if (errno == EINTR) continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
            return false;
        }
        break;  // not between these two files: plain reads and writes from here
    }
    char buffer[16 << 10];
    for (;;) {
        const ssize_t got = ::pread(from, buffer, sizeof buffer, in);
        if (got == 0) return ::ftruncate(to, out) == 0;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::pwrite(to, buffer + done, static_cast<size_t>(got - done), out);
            if (put < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += put;
            out += put;
        }
        in += got;
    }
}

void RemoveHandlers() noexcept {
    for (size_t i = 0; i < kSignalCount; ++i) {
        if (handlerInstalled[i]) {
            ::sigaction(kUndoSignals[i], &previousActions[i], nullptr);
            handlerInstalled[i] = 0;
        }
    }
}

extern "C" void UndoSavesAndResignal(int signal) {
    const int savedErrno = errno;
    for (PendingUndo& undo : pendingUndo) {
        if (!undo.active) continue;
        undo.active = 0;
        // A copy whose bytes could not go back stays for the user.
        if (undo.restoreTarget >= 0 && !(CopyContent(undo.restoreFrom, undo.restoreTarget) &&
                                         ::fsync(undo.restoreTarget) == 0)) {
            continue;
        }
        if (undo.removePath[0]) ::unlink(undo.removePath);
    }
    // The process then ends (or not) as the signal would have without us.
    RemoveHandlers();
    errno = savedErrno;
    ::raise(signal);
}

void InstallHandlers() {
    for (size_t i = 0; i < kSignalCount; ++i) {
        struct sigaction previous {};
        if (handlerInstalled[i] || ::sigaction(kUndoSignals[i], nullptr, &previous) != 0) continue;
        // An ignored signal ends nothing, so there is nothing to undo.
        if (previous.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = UndoSavesAndResignal;
        action.sa_flags = SA_RESTART;
        ::sigemptyset(&action.sa_mask);
        for (int other : kUndoSignals)
            ::sigaddset(&action.sa_mask, other);
        previousActions[i] = previous;
        if (::sigaction(kUndoSignals[i], &action, nullptr) == 0) handlerInstalled[i] = 1;
    }
}

// A slot that removes `path` should a signal end the process, or -1 when all
// slots are taken (that save then goes unguarded).
int RegisterUndo(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    std::lock_guard lock(undoMutex);
    for (int i = 0; i < static_cast<int>(std::size(pendingUndo)); ++i) {
        PendingUndo& undo = pendingUndo[i];
        if (undo.active) continue;
        std::memcpy(undo.removePath, path.c_str(), path.size() + 1);
        undo.restoreTarget = -1;
        undo.restoreFrom = -1;
        std::atomic_signal_fence(std::memory_order_seq_cst);
        undo.active = 1;
        if (slotsInUse++ == 0) InstallHandlers();
        return i;
    }
    return -1;
}

void SetRestore(int slot, int target, int from) {
    if (slot < 0) return;
    pendingUndo[slot].restoreFrom = from;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    pendingUndo[slot].restoreTarget = target;
}

void ReleaseUndo(int& slot) noexcept {
    if (slot < 0) return;
    std::lock_guard lock(undoMutex);
    pendingUndo[slot].active = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    pendingUndo[slot].restoreTarget = -1;
    if (--slotsInUse == 0) RemoveHandlers();
    slot = -1;
}

// Holds back the undo signals in this thread between creating a name and
// registering it, so that no signal falls in between.
class SignalsHeld {
  public:
    SignalsHeld() {
        sigset_t set;
        ::sigemptyset(&set);
        for (int signal : kUndoSignals)
            ::sigaddset(&set, signal);
        ::pthread_sigmask(SIG_BLOCK, &set, &previous_);
    }
    ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

  private:
    sigset_t previous_;
};

// ---------------------------------------------------------------------------
// Names and places.

// Short whatever the target's name: a file name of 255 bytes still saves.
std::string TemporaryName(const std::string& folder) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char random[6];
    if (::getrandom(random, sizeof random, GRND_NONBLOCK) != sizeof random) {
        const auto mix = static_cast<unsigned long>(::getpid()) ^
                         static_cast<unsigned long>(std::clock()) ^
                         static_cast<unsigned long>(std::time(nullptr));
        for (size_t i = 0; i < sizeof random; ++i) {
            random[i] = static_cast<unsigned char>(mix >> (i * 5));
        }
    }
    std::string name = folder + "/.tabulon-";
    for (unsigned char byte : random)
        name += kLetters[byte % (sizeof kLetters - 1)];
    return name;
}

// A new file of that short name in `folder`, its name left in `name`.
FileDescriptor CreateNamed(const std::string& folder, mode_t mode, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName(folder);
        FileDescriptor fd(
            ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (fd || errno != EEXIST) return fd;
    }
    return FileDescriptor();
}

// The path that a save writes: symbolic links followed to the path they name,
// which need not exist yet. Empty for a loop of links.
std::filesystem::path FollowLinks(std::filesystem::path path) {
    namespace fs = std::filesystem;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        const fs::path link = fs::read_symlink(path, ec);
        if (ec) return {};
        path = path.parent_path() / link;
    }
    return {};
}

std::string TemporaryFolder() {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    return ec ? "/tmp" : folder.string();
}

// An unnamed file can be named later only through /proc, for all but root.
bool CanNameUnnamedFiles() {
    return ::access("/proc/self/fd", X_OK) == 0;
}

bool LinkUnnamed(int fd, const std::string& name) {
    if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
    if (errno == EEXIST) return false;
    char proc[40];
    std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, proc, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

void SyncFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.get());
}

// Gives the new file the old one's owner, group and permissions; false where
// this process may not, or where a new file cannot stand for the old one.
bool KeepsOwnerAndMode(int fd, const struct stat& old) {
    struct stat now {};
    if (old.st_nlink > 1 || ::fstat(fd, &now) != 0) return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        return false;
    }
    // After the owner: a change of owner clears the set-user-ID bits.
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

}  // namespace

// ---------------------------------------------------------------------------

FileWriter::FileWriter(const std::string& path, Staging staging) : path_(path) {
    const std::filesystem::path target = FollowLinks(path);
    if (target.empty()) {
        throw messages::CannotCreate(path_);
    }
    target_ = target.string();
    folder_ = target.has_parent_path() ? target.parent_path().string() : ".";
    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    // A read-only file stays read-only: replacing it by rename would not ask.
    if (exists && (S_ISDIR(st.st_mode) || ::access(target_.c_str(), W_OK) != 0)) {
        throw messages::CannotCreate(path_);
    }
    if (exists && !S_ISREG(st.st_mode)) {
        fd_ = FileDescriptor(::open(target_.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC));
        if (!fd_) throw messages::CannotCreate(path_);
        mode_ = Mode::Direct;
        return;
    }
    buffer_.reserve(kWriteBufferSize);
    if (OpenStage(folder_, staging)) {
        if (exists && !KeepsOwnerAndMode(fd_.get(), st)) mode_ = Mode::InPlace;
        return;
    }
    // The folder takes no new file: only an existing file can be written, in place.
    if (!exists || !OpenScratch(TemporaryFolder())) {
        throw messages::CannotCreate(path_);
    }
    mode_ = Mode::InPlace;
}

FileWriter::~FileWriter() {
    Discard();
}

bool FileWriter::OpenStage(const std::string& folder, Staging staging) {
    if (staging == Staging::Unnamed && CanNameUnnamedFiles()) {
        fd_ = FileDescriptor(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666));
        if (fd_) return true;
    }
    SignalsHeld held;
    fd_ = CreateNamed(folder, 0666, tempName_);
    if (!fd_) {
        tempName_.clear();
        return false;
    }
    undoSlot_ = RegisterUndo(tempName_);
    return true;
}

// Room for the new content that is never seen: read back when it is complete.
bool FileWriter::OpenScratch(const std::string& folder) {
    fd_ = FileDescriptor(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (fd_) return true;
    std::string name;
    fd_ = CreateNamed(folder, 0600, name);
    if (fd_) ::unlink(name.c_str());
    return static_cast<bool>(fd_);
}

void FileWriter::Discard() noexcept {
    fd_.Reset();
    if (!tempName_.empty()) {
        ::unlink(tempName_.c_str());
        tempName_.clear();
    }
    ReleaseUndo(undoSlot_);
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
        const ssize_t n = ::write(fd_.get(), p, left);
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
    switch (mode_) {
        case Mode::Direct:
            if (!fd_.Close()) throw messages::WriteError();
            return;
        case Mode::Replace:
            CommitByRename();
            return;
        case Mode::InPlace:
            CommitInPlace();
            Discard();
            return;
    }
}

void FileWriter::CommitByRename() {
    if (::fsync(fd_.get()) != 0) {
        throw messages::WriteError();
    }
    while (tempName_.empty()) {
        // Named only now that it is complete, and only for the moment of the rename.
        SignalsHeld held;
        const std::string name = TemporaryName(folder_);
        if (LinkUnnamed(fd_.get(), name)) {
            tempName_ = name;
            undoSlot_ = RegisterUndo(tempName_);
        } else if (errno != EEXIST) {
            throw messages::CannotCreate(path_);
        }
    }
    if (!fd_.Close()) {
        throw messages::WriteError();
    }
    if (::rename(tempName_.c_str(), target_.c_str()) != 0) {
        throw messages::CannotCreate(path_);
    }
    tempName_.clear();
    ReleaseUndo(undoSlot_);
    SyncFolder(folder_);
}

void FileWriter::CommitInPlace() {
    // Nothing changes before the old bytes are safe in a copy.
    FileDescriptor old(::open(target_.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC));
    FileDescriptor out(::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (!old || !out) {
        throw messages::CannotCreate(path_);
    }
    std::string copyName;
    FileDescriptor copy;
    int copySlot = -1;
    for (const std::string& folder : {folder_, TemporaryFolder()}) {
        SignalsHeld held;
        copy = CreateNamed(folder, 0600, copyName);
        if (copy) {
            copySlot = RegisterUndo(copyName);
            break;
        }
    }
    if (!copy) {
        throw messages::CannotCreate(path_);
    }
    const auto removeCopy = [&] {
        ::unlink(copyName.c_str());
        ReleaseUndo(copySlot);
    };
    if (!CopyContent(old.get(), copy.get()) || ::fsync(copy.get()) != 0) {
        removeCopy();
        throw messages::WriteError();
    }
    SetRestore(copySlot, out.get(), copy.get());
    if (CopyContent(fd_.get(), out.get()) && ::fsync(out.get()) == 0) {
        removeCopy();
        return;
    }
    // The old bytes go back; should even that fail, the copy stays for the user.
    if (CopyContent(copy.get(), out.get()) && ::fsync(out.get()) == 0) {
        removeCopy();
    } else {
        ReleaseUndo(copySlot);
    }
    throw messages::WriteError();
}

}  // namespace tabulon
