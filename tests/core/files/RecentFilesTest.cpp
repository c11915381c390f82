#include <gtest/gtest.h>

#include "TestFiles.h"
#include "files/RecentFiles.h"

namespace tabulon {
namespace {

using Paths = std::vector<std::string>;

TEST(RecentFiles, NewestFirstEachOnceAtMostEightOfThePathsAFileCanKeep) {
    RecentFiles recent;
    for (const auto& path : Paths{"/a", "/b", "/a", "rel", "", "/c\nd", std::string(5000, '/')})
        recent.Add(path);
    EXPECT_EQ(recent.Paths(), (Paths{"/a", "/b"}));
    testing::TempDir dir;
    const std::string file = dir.File("recent.ini");
    testing::WriteBytes(file,
                        "/x\r\nrel\r\n\r\n/y\r\n/x\r\n/1\r\n/2\r\n/3\r\n/4\r\n/5\r\n/6\r\n/7\r\n");
    recent.Read(file);
    EXPECT_EQ(recent.Paths(), (Paths{"/x", "/y", "/1", "/2", "/3", "/4", "/5", "/6"}));
    recent.Add("/7");
    recent.Remove("/x");
    ASSERT_TRUE(recent.Write(file));
    EXPECT_EQ(testing::ReadBytes(file), "/7\r\n/y\r\n/1\r\n/2\r\n/3\r\n/4\r\n/5\r\n");
}

}  // namespace
}  // namespace tabulon
