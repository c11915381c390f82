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
#include <thread>

#include "files/FileCopy.h"
#include "files/FileMetadata.h"
#include "files/PathNames.h"
#include "files/SaveTarget.h"
#include "text/Messages.h"

namespace tabulon {

namespace {

// ---------------------------------------------------------------------------
// What a signal arriving in the middle of a save must undo. A signal handler
// is handed no context, so the saves under way register here: plain data that
// the handler reads with async-signal-safe calls only. This is the one piece
// of process-wide state in the core, because signals are process-wide.

struct PendingUndo {
    volatile sig_atomic_t active;
    volatile pid_t thread;                // the saving thread, the one to clean up
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
    // Only the saving thread cleans up, between two of its own writes: on any
    // other thread the signal goes on to it.
    const pid_t self = ::gettid();
    for (const PendingUndo& undo : pendingUndo) {
        if (undo.active && undo.thread != self) {
            ::tgkill(::getpid(), undo.thread, signal);
            errno = savedErrno;
            return;
        }
    }
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
        undo.thread = ::gettid();
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

// An unnamed file can be named later only through /proc, for all but root.
bool CanNameUnnamedFiles() {
    return ::access("/proc/self/fd", X_OK) == 0;
}

// A new file in `folder` that no one sees until NameStaged: unnamed where the
// system allows, else of a temporary name (in `temp`) that a signal removes.
FileDescriptor CreateStaged(const std::string& folder, mode_t mode, bool unnamed, std::string& temp,
                            int& slot) {
    if (unnamed && CanNameUnnamedFiles()) {
        FileDescriptor fd(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode));
        if (fd) return fd;
    }
    SignalsHeld held;
    FileDescriptor fd = CreateNamed(folder, mode, temp);
    if (fd) {
        slot = RegisterUndo(temp);
    } else {
        temp.clear();
    }
    return fd;
}

bool LinkUnnamed(int fd, const std::string& name) {
    if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
    if (errno == EEXIST) return false;
    char proc[40];
    std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, proc, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Gives a complete staged file a temporary name, to be renamed into place:
// an unnamed file is named only now, and only for the moment of the rename.
void NameStaged(int fd, const std::string& folder, std::string& temp, int& slot,
                const std::string& shown) {
    while (temp.empty()) {
        SignalsHeld held;
        const std::string name = TemporaryName(folder);
        if (LinkUnnamed(fd, name)) {
            temp = name;
            slot = RegisterUndo(temp);
        } else if (errno != EEXIST) {
            throw messages::CannotCreate(shown);
        }
    }
}

}  // namespace

// ---------------------------------------------------------------------------

FileWriter::FileWriter(const std::string& path, Staging staging, mode_t newFileMode)
    : path_(path), unnamed_(staging == Staging::Unnamed) {
    const std::filesystem::path target = SavedPath(path);
    if (target.empty()) {
        throw messages::CannotCreate(path_);
    }
    target_ = target.string();
    folder_ = target.has_parent_path() ? target.parent_path().string() : ".";
    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    // Only a plain file takes a table: a pipe would hold the save until someone
    // reads it, a device would swallow it.
    if (exists && !S_ISREG(st.st_mode)) {
        throw messages::CannotCreate(path_, NotAFileReason(st.st_mode));
    }
    // A read-only file stays read-only: replacing it by rename would not ask.
    if (exists && ::access(target_.c_str(), W_OK) != 0) {
        throw messages::CannotCreate(path_);
    }
    buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
    fd_ = CreateStaged(folder_, newFileMode, unnamed_, tempName_, undoSlot_);
    if (fd_) {
        if (exists && !TakeOverMetadata(fd_.get(), target_, st)) mode_ = Mode::InPlace;
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

void FileWriter::WriteThrough(std::string_view bytes) {
    Flush();
    if (bytes.size() < kLongPiece) {
        Write(bytes);
        return;
    }
    WriteAll(end_, bytes);
    end_ += bytes.size();
}

void FileWriter::WriteAt(uint64_t offset, std::string_view bytes) {
    Flush();
    WriteAll(offset, bytes);
}

void FileWriter::Flush() {
    WriteAll(end_, {buffer_.get(), used_});
    end_ += used_;
    used_ = 0;
}

void FileWriter::WriteAll(uint64_t offset, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    auto at = static_cast<off_t>(offset);
    while (left > 0) {
        const ssize_t n = ::pwrite(fd_.get(), p, left, at);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw messages::CannotWrite(path_, errno);
        }
        p += n;
        at += n;
        left -= static_cast<size_t>(n);
    }
    handed_ += bytes.size();
    // A large file is put on disk while the rest is still being made. Only
    // advice: the flush before the file is named reports any failure.
    constexpr uint64_t kFlushStep = uint64_t{8} << 20;
    if (handed_ - flushing_ >= kFlushStep) {
        ::sync_file_range(fd_.get(), 0, 0, SYNC_FILE_RANGE_WRITE);
        flushing_ = handed_;
    }
}

void FileWriter::StartSync() {
    Flush();
    // A descriptor of its own keeps the file alive for the thread.
    const int fd = ::fcntl(fd_.get(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0) throw messages::CannotWrite(path_, errno);
    synced_ = std::make_shared<std::atomic<bool>>(false);
    std::thread([fd, synced = synced_] {
        ::fsync(fd);
        ::close(fd);
        *synced = true;
    }).detach();
}

void FileWriter::Commit() {
    Flush();
    if (mode_ == Mode::Replace) {
        CommitByRename();
    } else {
        CommitInPlace();
        Discard();
    }
}

void FileWriter::CommitByRename() {
    // The rename that replaces a large file would first drop its cached
    // pages, tens of milliseconds for a million records: they go while the
    // disk takes the new content. Only the cache is touched, never the bytes.
    std::jthread dropOldCache;
    if (FileDescriptor old(
            ::open(target_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC));
        old) {
        dropOldCache = std::jthread(
            [old = std::move(old)] { ::posix_fadvise(old.get(), 0, 0, POSIX_FADV_DONTNEED); });
    }
    const int syncError = ::fsync(fd_.get()) == 0 ? 0 : errno;
    if (dropOldCache.joinable()) dropOldCache.join();
    if (syncError != 0) {
        throw messages::CannotWrite(path_, syncError);
    }
    NameStaged(fd_.get(), folder_, tempName_, undoSlot_, path_);
    if (!fd_.Close()) {
        throw messages::CannotWrite(path_, errno);
    }
    if (::rename(tempName_.c_str(), target_.c_str()) != 0) {
        throw messages::CannotCreate(path_);
    }
    tempName_.clear();
    ReleaseUndo(undoSlot_);
    SyncFolder(folder_);
}

FileDescriptor FileWriter::KeepOldBytes(int out, const struct stat& st, std::string& backup,
                                        int& slot) {
    const std::pair<std::string, std::string> places[] = {
        {folder_, BackupBeside(target_)}, {TemporaryFolder(), BackupInTemporaryFolder(st)}};
    for (const auto& [folder, name] : places) {
        std::string temp;
        int tempSlot = -1;
        FileDescriptor copy = CreateStaged(folder, 0600, unnamed_, temp, tempSlot);
        if (!copy) continue;
        const auto drop = [&] {
            if (!temp.empty()) ::unlink(temp.c_str());
            ReleaseUndo(tempSlot);
        };
        if (!CopyContent(out, copy.get()) || ::fsync(copy.get()) != 0) {
            const int error = errno;
            drop();
            throw messages::CannotWrite(path_, error);
        }
        NameStaged(copy.get(), folder, temp, tempSlot, path_);
        {
            // From the rename on, a signal puts the old bytes back.
            SignalsHeld held;
            if (::rename(temp.c_str(), name.c_str()) != 0) {
                drop();
                continue;
            }
            slot = RegisterUndo(name);
            SetRestore(slot, out, copy.get());
            ReleaseUndo(tempSlot);
        }
        SyncFolder(folder);
        backup = name;
        return copy;
    }
    throw messages::CannotCreate(path_);
}

void FileWriter::CommitInPlace() {
    const FileDescriptor out(::open(target_.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (!out || ::fstat(out.get(), &st) != 0) {
        throw messages::CannotWrite(path_, errno);
    }
    if (!S_ISREG(st.st_mode)) {
        throw messages::CannotCreate(path_, NotAFileReason(st.st_mode));
    }
    // Another Tabulon rewriting this file waits here, and we for it.
    LockForWriting(out.get());
    std::string backup;
    int slot = -1;
    const FileDescriptor copy = KeepOldBytes(out.get(), st, backup, slot);
    const auto removeBackup = [&] {
        SignalsHeld held;
        ReleaseUndo(slot);
        ::unlink(backup.c_str());
    };
    if (CopyContent(fd_.get(), out.get()) && ::fsync(out.get()) == 0) {
        removeBackup();
        SyncFolder(FolderOf(backup));
        return;
    }
    const int error = errno;
    // The old bytes go back; should even that fail, the backup stays for the user.
    if (CopyContent(copy.get(), out.get()) && ::fsync(out.get()) == 0) {
        removeBackup();
    } else {
        ReleaseUndo(slot);
    }
    throw messages::CannotWrite(path_, error);
}

}  // namespace tabulon
