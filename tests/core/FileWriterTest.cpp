#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "Error.h"
#include "TestFiles.h"
#include "TextFile.h"

namespace tabulon {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

mode_t Mode(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(FileWriter, ReplacesTheFileOnlyWhenCommitted) {
    TempDir dir;
    const std::string path = dir.File("t.tbn");
    WriteBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    {
        FileWriter file(path);
        file.WriteLine("new");
        EXPECT_EQ(ReadBytes(path), "old");  // nothing visible before the commit
        file.Commit();
    }
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(Mode(path), 0640u);
    {
        FileWriter abandoned(path);
        abandoned.Write(std::string(3 << 20, 'x'));  // more than one buffer
    }
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(dir.Listing(), "t.tbn");
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

}  // namespace
}  // namespace tabulon
