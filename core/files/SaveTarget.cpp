#include "files/SaveTarget.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "files/FileCopy.h"
#include "files/FileDescriptor.h"
#include "files/PathNames.h"
#include "text/Messages.h"

namespace tabulon {

namespace {

constexpr int kMaxLinkHops = 40;

FileDescriptor OpenExisting(const std::string& path, int flags) {
    // Non-blocking: a pipe put there meanwhile must not hold the program.
    return FileDescriptor(::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
}

}  // namespace

std::string SavedPath(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path at = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(at, ec))) return at.string();
        const fs::path link = fs::read_symlink(at, ec);
        if (ec) return {};
        at = at.parent_path() / link;
    }
    return {};
}

std::string_view NotAFileReason(mode_t mode) {
    if (S_ISREG(mode)) return {};
    if (S_ISDIR(mode)) return messages::kIsFolder;
    if (S_ISFIFO(mode)) return messages::kIsPipe;
    if (S_ISSOCK(mode)) return messages::kIsSocket;
    return messages::kIsDevice;
}

std::string TemporaryFolder() {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    return ec ? "/tmp" : folder.string();
}

std::string BackupBeside(const std::string& target) {
    return target + "~";
}

std::string BackupInTemporaryFolder(const struct stat& st) {
    return TemporaryFolder() + "/tabulon-" + std::to_string(st.st_dev) + "-" +
           std::to_string(st.st_ino) + "~";
}

void SyncFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.get());
}

std::string UnfinishedSaveBackup(const std::string& path) {
    const std::string target = SavedPath(path);
    const FileDescriptor fd = OpenExisting(target, O_RDONLY);
    struct stat st {};
    if (target.empty() || !fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        LockedByAnother(fd.get())) {
        return {};
    }
    // One in the shared temporary folder counts only when it is this user's own.
    for (const std::string& backup : {BackupBeside(target), BackupInTemporaryFolder(st)}) {
        struct stat found {};
        if (::lstat(backup.c_str(), &found) == 0 && S_ISREG(found.st_mode) &&
            (found.st_uid == ::geteuid() || backup == BackupBeside(target))) {
            return backup;
        }
    }
    return {};
}

void RestoreBackup(const std::string& path, const std::string& backup) {
    const std::string target = SavedPath(path);
    const FileDescriptor out = OpenExisting(target, O_RDWR);
    struct stat st {};
    if (!out || ::fstat(out.get(), &st) != 0) throw messages::CannotWrite(path, errno);
    if (!S_ISREG(st.st_mode)) throw messages::CannotCreate(path, NotAFileReason(st.st_mode));
    LockForWriting(out.get());
    const FileDescriptor from = OpenExisting(backup, O_RDONLY | O_NOFOLLOW);
    if (!from) throw messages::CannotOpen(backup);
    if (!CopyContent(from.get(), out.get()) || ::fsync(out.get()) != 0) {
        throw messages::CannotWrite(path, errno);
    }
    ::unlink(backup.c_str());
    SyncFolder(FolderOf(backup));
}

}  // namespace tabulon
