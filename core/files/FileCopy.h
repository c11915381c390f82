#pragma once
// Byte copies between open files and the advisory lock that serialises
// Tabulon's own writers of one file; what both the save and putting a backup
// back need.

namespace tabulon {

// Copies all of `from` over `to` from their starts and cuts `to` to that
// length; false (errno set) on failure. System calls and a stack buffer only,
// so that a signal handler may use it.
bool CopyContent(int from, int to) noexcept;

// Waits for the write lock on the whole of `fd` (open for writing), which
// other writers of the same file through this function wait for in turn; it
// goes with the last descriptor of that open. Where the file system keeps no
// locks, nothing is waited for.
void LockForWriting(int fd);

// Whether another open of `fd`'s file holds that lock now.
bool LockedByAnother(int fd);

}  // namespace tabulon
