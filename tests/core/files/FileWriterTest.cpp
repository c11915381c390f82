#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "TestFiles.h"
#include "Unprivileged.h"
#include "files/FileCopy.h"
#include "files/FileStamp.h"
#include "files/SaveTarget.h"
#include "files/TextFile.h"
#include "text/Error.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using Staging = FileWriter::Staging;

constexpr Staging kStagings[] = {Staging::Unnamed, Staging::Named};
constexpr uid_t kNobody = 65534;

mode_t Mode(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(FileWriter, ReplacesTheFileOnlyWhenCommitted) {
    for (const Staging staging : kStagings) {
        TempDir dir;
        const std::string path = dir.File("t.tbn");
        WriteBytes(path, "old");
        ::chmod(path.c_str(), 0640);
        {
            FileWriter file(path, staging);
            file.WriteLine("new");
            EXPECT_EQ(ReadBytes(path), "old");  // nothing visible before the commit
            file.Commit();
        }
        EXPECT_EQ(ReadBytes(path), "new\r\n");
        EXPECT_EQ(Mode(path), 0640u);
        {
            FileWriter abandoned(path, staging);
            abandoned.Write(std::string(3 << 20, 'x'));  // more than one buffer
        }
        EXPECT_EQ(ReadBytes(path), "new\r\n");
        EXPECT_EQ(dir.Listing(), "t.tbn");
    }
}

// Every entry under `folder`, one per line, sorted: a folder as "name/ owner
// mode", a link as "name -> target", a file as "name owner mode links content".
std::string Describe(const std::string& folder) {
    std::vector<std::string> lines;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().lexically_relative(folder).string();
        struct stat st {};
        ::lstat(entry.path().c_str(), &st);
        char owner[64];
        std::snprintf(owner, sizeof owner, "%u:%u %o", st.st_uid, st.st_gid, st.st_mode & 07777);
        if (S_ISLNK(st.st_mode)) {
            lines.push_back(name + " -> " + fs::read_symlink(entry.path()).string());
        } else if (S_ISDIR(st.st_mode)) {
            lines.push_back(name + "/ " + owner);
        } else {
            lines.push_back(name + " " + owner + " " + std::to_string(st.st_nlink) + " " +
                            ReadBytes(entry.path()));
        }
    }
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

void Chown(const std::string& path, uid_t uid, gid_t gid, mode_t mode) {
    ASSERT_EQ(::lchown(path.c_str(), uid, gid), 0) << path;
    ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
}

TEST(FileWriter, SavesKeepOwnerGroupPermissionsLinksAndNames) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "files of another owner need root to set up";
    }
    const std::string longName = std::string(246, 'n') + ".tbn";
    // Each setup fills folder "f", which the save (by "nobody") reaches as "f/...".
    const struct {
        const char* name;
        std::function<void(const std::string& f)> setup;
        std::string save;
        std::string after;
    } cases[] = {
        {"another owner's file that the group may write",
         [](const std::string& f) {
             WriteBytes(f + "/a.tbn", "old");
             Chown(f + "/a.tbn", 0, kNobody, 0664);
         },
         "a.tbn", "a.tbn 0:65534 664 1 new\n"},
        {"a file with another hard link",
         [](const std::string& f) {
             WriteBytes(f + "/a.tbn", "old");
             Chown(f + "/a.tbn", kNobody, kNobody, 0644);
             fs::create_hard_link(f + "/a.tbn", f + "/b.tbn");
         },
         "a.tbn", "a.tbn 65534:65534 644 2 new\nb.tbn 65534:65534 644 2 new\n"},
        {"a writable file in a read-only folder",
         [](const std::string& f) {
             WriteBytes(f + "/a.tbn", "old");
             Chown(f + "/a.tbn", kNobody, kNobody, 0600);
             Chown(f, 0, 0, 0555);
         },
         "a.tbn", "a.tbn 65534:65534 600 1 new\n"},
        {"an own file with its own permissions",
         [](const std::string& f) {
             WriteBytes(f + "/a.tbn", "old");
             Chown(f + "/a.tbn", kNobody, kNobody, 0604);
         },
         "a.tbn", "a.tbn 65534:65534 604 1 new\n"},
        {"a new file of a 250-byte name", [](const std::string&) {}, longName,
         longName + " 65534:65534 640 1 new\n"},
        {"a dangling symbolic link",
         [](const std::string& f) {
             fs::create_directory(f + "/real");
             Chown(f + "/real", kNobody, kNobody, 0755);
             fs::create_symlink("real/new.csv", f + "/link.csv");
         },
         "link.csv",
         "link.csv -> real/new.csv\nreal/ 65534:65534 755\nreal/new.csv 65534:65534 640 1 new\n"},
        {
            "a chain of symbolic links",
            [](const std::string& f) {
                fs::create_directory(f + "/real");
                WriteBytes(f + "/real/a.tbn", "old");
                Chown(f + "/real/a.tbn", kNobody, kNobody, 0644);
                fs::create_symlink("real/a.tbn", f + "/two.tbn");
                fs::create_symlink(f + "/two.tbn", f + "/one.tbn");
            },
            "one.tbn", "",  // filled in below: the absolute link names the folder
        },
    };
    for (const auto& c : cases) {
        for (const Staging staging : kStagings) {
            SCOPED_TRACE(std::string(c.name) + (staging == Staging::Named ? ", named" : ""));
            TempDir dir;
            const std::string f = dir.File("f");
            const std::string scratch = dir.File("tmp");
            fs::create_directory(f);
            fs::create_directory(scratch);
            Chown(dir.path(), 0, 0, 0755);
            Chown(f, 0, 0, 0777);
            Chown(scratch, kNobody, kNobody, 0700);
            c.setup(f);
            const std::string result = testing::RunUnprivileged([&] {
                ::umask(027);
                ::setenv("TMPDIR", scratch.c_str(), 1);
                FileWriter file(f + "/" + c.save, staging);
                file.Write("new");
                file.Commit();
                return std::string("saved");
            });
            EXPECT_EQ(result, "saved");
            ::chmod(f.c_str(), 0777);
            const std::string after =
                c.after.empty() ? "one.tbn -> " + f +
                                      "/two.tbn\nreal/ 0:0 755\nreal/a.tbn 65534:65534 644 1 "
                                      "new\ntwo.tbn -> real/a.tbn\n"
                                : c.after;
            EXPECT_EQ(Describe(f), after);
            EXPECT_EQ(Describe(scratch), "");  // no copy left in the temporary folder
        }
    }
}

TEST(FileWriter, AKilledSaveLeavesTheOldFileAndNoTemporary) {
    const struct {
        Staging staging;
        int signal;
    } cases[] = {
        {Staging::Unnamed, SIGKILL}, {Staging::Unnamed, SIGTERM}, {Staging::Named, SIGTERM},
        {Staging::Named, SIGINT},    {Staging::Named, SIGHUP},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.staging == Staging::Named ? "named, " : "unnamed, ") +
                     ::strsignal(c.signal));
        TempDir dir;
        const std::string path = dir.File("t.tbn");
        WriteBytes(path, "old");
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // As in a program started from a terminal, whatever started the tests.
            for (int signal : {SIGINT, SIGTERM, SIGHUP})
                ::signal(signal, SIG_DFL);
            FileWriter file(path, c.staging);
            file.Write(std::string(3 << 20, 'x'));  // more than one buffer: on disk
            if (::write(ready[1], "r", 1) != 1) ::_exit(3);
            for (;;)
                ::pause();
        }
        char byte;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        // A named temporary is there to be removed; an unnamed one is never seen.
        EXPECT_EQ(dir.Listing().find(' ') != std::string::npos, c.staging == Staging::Named);
        ::kill(child, c.signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
        EXPECT_EQ(dir.Listing(), "t.tbn");
        EXPECT_EQ(ReadBytes(path), "old");
    }
}

TEST(FileWriter, AFailedWriteInPlacePutsTheOldBytesBack) {
    TempDir dir;
    const std::string path = dir.File("a.tbn");
    WriteBytes(path, "old");
    fs::create_hard_link(path, dir.File("b.tbn"));  // so the file is rewritten in place
    const auto outcome = testing::RunInChild([&] {
        FileWriter file(path);
        file.Write(std::string(2 << 20, 'n'));
        // The file may grow no further than 1000 bytes from here on.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        file.Commit();
        return std::string("saved");
    });
    EXPECT_EQ(outcome.text,
              "exception: ファイル " + path + " に書き込めません: ファイルが大きすぎます");
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(ReadBytes(dir.File("b.tbn")), "old");
    EXPECT_EQ(dir.Listing(), "a.tbn b.tbn");
}

// Gives the owning group less than the mask allows: the mode alone, whose
// group bits show the mask, would widen it.
std::string NarrowGroupAcl() {
    const struct {
        uint16_t tag, perm;
        uint32_t id;
    } entries[] = {{1, 6, ~0u}, {2, 6, kNobody}, {4, 4, ~0u}, {0x10, 6, ~0u}, {0x20, 0, ~0u}};
    return std::string("\2\0\0\0", 4) +
           std::string(reinterpret_cast<const char*>(entries), sizeof entries);
}

TEST(FileWriter, SavesKeepAclsAndExtendedAttributesAndGainNone) {
    const std::pair<const char*, std::string> attributes[] = {
        {"user.tabulon", "kept"}, {"system.posix_acl_access", NarrowGroupAcl()}};
    for (const auto& [name, value] : attributes) {
        for (const Staging staging : kStagings) {
            TempDir dir;
            const std::string path = dir.File("t.csv");
            WriteBytes(path, "old");
            if (::setxattr(path.c_str(), name, value.data(), value.size(), 0) != 0) continue;
            // What a new file in the folder inherits is not the old file's.
            ::setxattr(dir.path().c_str(), "system.posix_acl_default", NarrowGroupAcl().data(),
                       NarrowGroupAcl().size(), 0);
            const mode_t mode = Mode(path);
            FileWriter file(path, staging);
            file.Write("new");
            file.Commit();
            std::string kept(value.size() + 1, '\0');
            kept.resize(
                std::max<ssize_t>(::getxattr(path.c_str(), name, kept.data(), kept.size()), 0));
            EXPECT_EQ(kept, value) << name;
            EXPECT_EQ(Mode(path), mode) << name;
            EXPECT_EQ(ReadBytes(path), "new");
            if (name == std::string("user.tabulon")) {
                EXPECT_LT(::getxattr(path.c_str(), "system.posix_acl_access", nullptr, 0), 0);
            }
        }
    }
}

// A rewrite in place (of a file with two names) killed at any moment leaves
// the old bytes in the file or in the backup beside it, which opening offers
// to put back; SIGTERM, sent to the process while the save runs on another
// thread, puts them back itself.
TEST(FileWriter, AKilledRewriteInPlaceLeavesTheOldBytesOrTheirBackup) {
    const std::string oldBytes(4 << 20, 'o');
    const std::string newBytes(3 << 20, 'n');
    for (const int signal : {SIGTERM, SIGKILL}) {
        SCOPED_TRACE(::strsignal(signal));
        TempDir dir;
        const std::string path = dir.File("a.csv");
        WriteBytes(path, oldBytes);
        fs::create_hard_link(path, dir.File("b.csv"));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int each : {SIGINT, SIGTERM, SIGHUP})
                ::signal(each, SIG_DFL);
            std::thread([&] {
                FileWriter file(path);
                file.Write(newBytes);
                file.Commit();
                ::_exit(0);
            }).detach();
            for (;;)
                ::pause();
        }
        int status = 0;
        while (!fs::exists(path + "~") && ::waitpid(child, &status, WNOHANG) == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        ::kill(child, signal);
        ::waitpid(child, &status, 0);
        const std::string backup = UnfinishedSaveBackup(path);
        EXPECT_TRUE(signal != SIGTERM || backup.empty()) << backup;
        if (!backup.empty()) RestoreBackup(path, backup);
        EXPECT_TRUE(ReadBytes(path) == oldBytes ||
                    (WIFEXITED(status) && ReadBytes(path) == newBytes));
        EXPECT_EQ(dir.Listing(), "a.csv b.csv");
    }
}

TEST(FileWriter, RewritesInPlaceOfOneFileTakeTurns) {
    TempDir dir;
    const std::string path = dir.File("a.csv");
    WriteBytes(path, "old");
    fs::create_hard_link(path, dir.File("b.csv"));
    // While another writer holds the lock, both saves wait; then they go one by one.
    FileDescriptor other(::open(path.c_str(), O_RDWR));
    LockForWriting(other.get());
    const std::string bytes[] = {std::string(2 << 20, 'a'), std::string(3 << 19, 'b')};
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
        children[i] = ::fork();
        if (children[i] == 0) {
            other.Reset();  // the lock goes with the parent's last descriptor
            FileWriter file(path);
            file.Write(bytes[i]);
            file.Commit();
            ::_exit(0);
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(ReadBytes(path), "old");
    other.Reset();
    for (const pid_t child : children)
        ::waitpid(child, nullptr, 0);
    const std::string after = ReadBytes(path);
    EXPECT_TRUE(after == bytes[0] || after == bytes[1]);
    EXPECT_EQ(dir.Listing(), "a.csv b.csv");
}

TEST(FileWriter, WritesThroughASymbolicLinkToItsTarget) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("real"));
    WriteBytes(dir.File("real/t.csv"), "old");
    std::filesystem::create_symlink(dir.File("real/t.csv"), dir.File("link.csv"));
    FileWriter file(dir.File("link.csv"));
    file.Write("new");
    file.Commit();
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.csv")));
    EXPECT_EQ(ReadBytes(dir.File("real/t.csv")), "new");
    EXPECT_EQ(dir.Listing(), "link.csv real");
}

TEST(FileWriter, ReadingAFolderOrNothingFails) {
    TempDir dir;
    for (const std::string& path : {dir.path(), dir.File("none")}) {
        try {
            ReadFileBytes(path);
            ADD_FAILURE() << path;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "ファイル " + path + " は開けません");
        }
    }
}

// What tells another writer's change: also a same-size edit with the
// modification time put back (cp -p, touch -r), or a file moved into place.
TEST(FileStamp, NoticesEditsThatKeepSizeAndTime) {
    TempDir dir;
    const std::string path = dir.File("t.csv");
    WriteBytes(path, "abc");
    struct stat first {};
    ::stat(path.c_str(), &first);
    const timespec times[] = {first.st_atim, first.st_mtim};
    auto stamp = StampOf(path);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // file times tick coarsely
    WriteBytes(path, "xyz");
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    EXPECT_NE(StampOf(path), stamp);
    stamp = StampOf(path);
    WriteBytes(path + "~", "abc");
    ::utimensat(AT_FDCWD, (path + "~").c_str(), times, 0);
    fs::rename(path + "~", path);
    EXPECT_NE(StampOf(path), stamp);
}

}  // namespace
}  // namespace tabulon
