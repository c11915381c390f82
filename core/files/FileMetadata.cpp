#include "files/FileMetadata.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>
#include <vector>

namespace tabulon {

namespace {

// Names of the extended attributes, each ended by '\0'; empty where the file
// system keeps none.
std::optional<std::string> Names(const auto& list) {
    for (;;) {
        const ssize_t size = list(nullptr, 0);
        if (size < 0) return errno == ENOTSUP ? std::optional<std::string>("") : std::nullopt;
        std::string names(static_cast<size_t>(size), '\0');
        const ssize_t got = list(names.data(), names.size());
        if (got >= 0) return names.substr(0, static_cast<size_t>(got));
        if (errno != ERANGE) return std::nullopt;  // ERANGE: grown meanwhile
    }
}

std::vector<std::string_view> Split(const std::string& names) {
    std::vector<std::string_view> list;
    for (size_t at = 0; at < names.size();) {
        const std::string_view name(names.c_str() + at);
        list.push_back(name);
        at += name.size() + 1;
    }
    return list;
}

// The new file drops what it inherited and the old file lacks (a folder's
// default ACL), then takes the old file's: ACLs ride on "system.posix_acl_access".
bool CopyAttributes(int fd, const std::string& oldPath) {
    const auto oldNames =
        Names([&](char* b, size_t n) { return ::listxattr(oldPath.c_str(), b, n); });
    const auto newNames = Names([&](char* b, size_t n) { return ::flistxattr(fd, b, n); });
    if (!oldNames || !newNames) return false;
    const std::vector<std::string_view> keep = Split(*oldNames);
    for (const std::string_view name : Split(*newNames)) {
        if (std::find(keep.begin(), keep.end(), name) == keep.end() &&
            ::fremovexattr(fd, name.data()) != 0) {
            return false;
        }
    }
    std::string value;
    for (const std::string_view name : keep) {
        ssize_t size = ::getxattr(oldPath.c_str(), name.data(), nullptr, 0);
        if (size < 0) return false;
        value.resize(static_cast<size_t>(size));
        size = ::getxattr(oldPath.c_str(), name.data(), value.data(), value.size());
        if (size < 0 ||
            ::fsetxattr(fd, name.data(), value.data(), static_cast<size_t>(size), 0) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool TakeOverMetadata(int fd, const std::string& oldPath, const struct stat& old) {
    struct stat now {};
    if (old.st_nlink > 1 || ::fstat(fd, &now) != 0) return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        return false;
    }
    // The mode after the owner, whose change clears the set-user-ID bits; the
    // ACL after the mode, whose group bits are the ACL's mask: the mode alone
    // would give the owning group what the mask allows.
    if (::fchmod(fd, old.st_mode & 07777) != 0) return false;
    return CopyAttributes(fd, oldPath);
}

}  // namespace tabulon
