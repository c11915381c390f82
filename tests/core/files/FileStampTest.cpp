#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <functional>
#include <thread>

#include "TestFiles.h"
#include "files/FileStamp.h"

namespace tabulon {
namespace {

TEST(FileStamp, NoticesEditsThatKeepSizeAndTime) {
    const std::function<void(const std::string&)> changes[] = {
        [](const std::string&) {},
        [](const std::string& path) {  // same size, modification time put back
            struct stat before {};
            ::stat(path.c_str(), &before);
            testing::WriteBytes(path, "xyz");
            const timespec times[] = {before.st_atim, before.st_mtim};
            ::utimensat(AT_FDCWD, path.c_str(), times, 0);
        },
        [](const std::string& path) {  // another file moved into place
            testing::WriteBytes(path + "~", "abc");
            std::rename((path + "~").c_str(), path.c_str());
        },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        testing::TempDir dir;
        const std::string path = dir.File("t.csv");
        testing::WriteBytes(path, "abc");
        const auto before = StampOf(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));  // file times tick coarsely
        changes[i](path);
        EXPECT_EQ(StampOf(path) != before, i > 0) << i;
    }
}

}  // namespace
}  // namespace tabulon
