#pragma once
// What makes a new file stand for an old one besides its bytes: owner, group,
// permissions, access control lists and the other extended attributes.

#include <sys/stat.h>

#include <string>

namespace tabulon {

// Gives the new file `fd` all of that from the file `oldPath` (described by
// `old`); false where this process may not, or where a new file cannot stand
// for the old one (another hard link).
bool TakeOverMetadata(int fd, const std::string& oldPath, const struct stat& old);

}  // namespace tabulon
