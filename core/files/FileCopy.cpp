#include "files/FileCopy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tabulon {

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

namespace {

struct flock WholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;  // l_start and l_len 0: the whole file, however long
    return lock;
}

}  // namespace

void LockForWriting(int fd) {
    struct flock lock = WholeFile(F_WRLCK);
    while (::fcntl(fd, F_OFD_SETLKW, &lock) != 0 && errno == EINTR) {
    }
}

bool LockedByAnother(int fd) {
    struct flock lock = WholeFile(F_WRLCK);
    return ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

}  // namespace tabulon
