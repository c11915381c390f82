#include <gtest/gtest.h>

#include "TestFiles.h"
#include "files/RecentFiles.h"

namespace tabulon {
namespace {

using Paths = std::vector<std::string>;

TEST(RecentFiles, NewestFirstEachOnceAtMostEight) {
    RecentFiles recent;
    for (const char* path : {"/a", "/b", "/a", "relative", "", "/c\nd", "/c"}) {
        recent.Add(path);
    }
    EXPECT_EQ(recent.Paths(), (Paths{"/c", "/a", "/b"}));
    recent.Add(std::string(5000, '/'));
    recent.Remove("/a");
    EXPECT_EQ(recent.Paths(), (Paths{"/c", "/b"}));
    for (int i = 0; i < 10; ++i) {
        recent.Add("/" + std::to_string(i));
    }
    EXPECT_EQ(recent.Paths(), (Paths{"/9", "/8", "/7", "/6", "/5", "/4", "/3", "/2"}));
}

TEST(RecentFiles, TheFileKeepsTheListAndWhatMakesNoSenseInItIsSkipped) {
    testing::TempDir dir;
    const std::string file = dir.File("recent.ini");
    testing::WriteBytes(file,
                        "/x\r\nrel\r\n\r\n/y\r\n/x\r\n/1\r\n/2\r\n/3\r\n/4\r\n/5\r\n/6\r\n/7\r\n");
    RecentFiles recent;
    recent.Add("/old");
    recent.Read(file);
    EXPECT_EQ(recent.Paths(), (Paths{"/x", "/y", "/1", "/2", "/3", "/4", "/5", "/6"}));
    recent.Clear();
    recent.Add("/名簿.tbn");
    ASSERT_TRUE(recent.Write(file));
    EXPECT_EQ(testing::ReadBytes(file), "/名簿.tbn\r\n");
    recent.Read(dir.File("missing.ini"));
    EXPECT_TRUE(recent.Paths().empty());
    EXPECT_FALSE(recent.Write(dir.File("no/such/folder.ini")));
}

}  // namespace
}  // namespace tabulon
