#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "TestFiles.h"
#include "Unprivileged.h"
#include "files/Settings.h"
#include "files/SettingsLocation.h"

namespace tabulon {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(Settings, StyleTextHasOneDigitPerStyleAfterALeadingOne) {
    const struct {
        unsigned style;
        const char* text;
    } cases[] = {
        {0, "10000"},
        {kBold, "10001"},
        {kItalic, "10010"},
        {kBold | kUnderline, "10101"},
        {kBold | kItalic | kUnderline | kStrikeOut, "11111"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FontStyleToText(c.style), c.text);
        EXPECT_EQ(FontStyleFromText(c.text), c.style) << c.text;
    }
    EXPECT_EQ(FontStyleFromText("10011"), kBold | kItalic);
    EXPECT_EQ(FontStyleFromText("1"), 0u);
    EXPECT_EQ(FontStyleFromText("0x1y1"),
              kBold | kUnderline);  // the first character is not looked at
    EXPECT_EQ(FontStyleFromText("12222"), 0u);
}

TEST(Settings, MissingFilesLeaveTheDefaults) {
    TempDir dir;
    const SettingsFiles files = SettingsFilesIn(dir.path());
    EXPECT_EQ(files.form, dir.path() + "/data/form.ini");
    WindowBounds bounds;
    FontDesc font;
    int height = kDefaultRowHeight;
    ReadFormSettings(files.form, bounds);
    ReadFontSettings(files.font, font);
    ReadHeightSettings(files.height, height);
    EXPECT_EQ(bounds, (WindowBounds{383, 283, 245, 100}));
    EXPECT_EQ(font, FontDesc());
    EXPECT_EQ(font.Size(), 9);
    EXPECT_EQ(height, 18);
    // Without the data folder nothing can be written, and nothing is created.
    EXPECT_FALSE(WriteFormSettings(files.form, bounds));
    EXPECT_FALSE(WriteFontSettings(files.font, font));
    EXPECT_FALSE(WriteHeightSettings(files.height, height));
    EXPECT_EQ(dir.Listing(), "");
}

TEST(Settings, ValuesApplyOneByOneUntilTheFirstBadLine) {
    TempDir dir;
    const struct {
        const char* name;
        std::string bytes;
        WindowBounds expected;
    } cases[] = {
        {"two lines", "500\r\n400\r\n", {500, 400, 245, 100}},
        {"all four", "1\r\n2\r\n3\r\n-4\r\n", {1, 2, 3, -4}},
        {"bad third line", "500\r\n400\r\nleft\r\n7\r\n", {500, 400, 245, 100}},
        {"hex and blanks", "  $20\r\n0x10\r\n", {32, 16, 245, 100}},
        {"empty file", "", {383, 283, 245, 100}},
    };
    for (const auto& c : cases) {
        WriteBytes(dir.File("form.ini"), c.bytes);
        WindowBounds bounds;
        ReadFormSettings(dir.File("form.ini"), bounds);
        EXPECT_EQ(bounds, c.expected) << c.name;
    }
}

TEST(Settings, FontFileStopsAtABadColourLine) {
    TempDir dir;
    WriteBytes(dir.File("font.ini"), "0\r\nGG0000\r\n-16\r\nArial\r\n12\r\n10001\r\n");
    FontDesc font;
    ReadFontSettings(dir.File("font.ini"), font);
    FontDesc expected;
    expected.charset = 0;
    EXPECT_EQ(font, expected);
}

TEST(Settings, FontSizeReadAfterHeightIsTheOneThatCounts) {
    TempDir dir;
    WriteBytes(dir.File("font.ini"), "128\r\n000000FF\r\n-12\r\nArial\r\n12\r\n11111\r\n");
    FontDesc font;
    ReadFontSettings(dir.File("font.ini"), font);
    EXPECT_EQ(font.Size(), 12);
    EXPECT_EQ(font.Height(), -16);
    EXPECT_EQ(font.color, 0xFF);
    EXPECT_EQ(font.faceName, "Arial");
    EXPECT_EQ(font.style, kBold | kItalic | kUnderline | kStrikeOut);
}

TEST(Settings, WrittenFilesReadBackTheSameValues) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("data"));
    const SettingsFiles files = SettingsFilesIn(dir.path());

    FontDesc font;
    font.SetSize(12);
    font.style = kBold;
    ASSERT_TRUE(WriteFontSettings(files.font, font));
    EXPECT_EQ(ReadBytes(files.font),
              "128\r\nFF000008\r\n-16\r\n\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62"
              "\x83\x4E\r\n12\r\n10001\r\n");
    FontDesc read;
    read.SetSize(20);
    ReadFontSettings(files.font, read);
    EXPECT_EQ(read, font);
    EXPECT_EQ(read.Size() + 6, 18);  // the marker column at the next start

    const WindowBounds bounds{640, 480, -10, 20};
    ASSERT_TRUE(WriteFormSettings(files.form, bounds));
    EXPECT_EQ(ReadBytes(files.form), "640\r\n480\r\n-10\r\n20\r\n");
    WindowBounds readBounds;
    ReadFormSettings(files.form, readBounds);
    EXPECT_EQ(readBounds, bounds);

    ASSERT_TRUE(WriteHeightSettings(files.height, 25));
    int height = 0;
    ReadHeightSettings(files.height, height);
    EXPECT_EQ(height, 25);
    EXPECT_EQ(dir.Listing(), "data");
}

// Another program or a damaged disk may have put anything there.
TEST(Settings, ValuesBeyondReasonAreBroughtWithinBoundsReadAndWritten) {
    TempDir dir;
    WriteBytes(dir.File("form.ini"), "32767\r\n0\r\n-99999\r\n99999\r\n");
    WindowBounds bounds;
    ReadFormSettings(dir.File("form.ini"), bounds);
    EXPECT_EQ(bounds, (WindowBounds{16384, 1, -16384, 16384}));
    // A megabyte of face name (read as far as 64 KiB), of two-byte characters
    // after one byte, so that 255 bytes would end inside a character.
    WriteBytes(dir.File("font.ini"),
               "128\r\n0\r\n-5000\r\nx" + std::string(1 << 20, '\x82') + "\r\n9\r\n");
    FontDesc font;
    ReadFontSettings(dir.File("font.ini"), font);
    EXPECT_EQ(font.faceName, "x" + std::string(254, '\x82'));
    EXPECT_EQ(font.Height(), -1000);
    int height = 0;
    for (const auto& [text, expected] : {std::pair{"99999", 1000}, {"0", 1}, {"-7", 1}}) {
        WriteBytes(dir.File("height.ini"), text);
        ReadHeightSettings(dir.File("height.ini"), height);
        EXPECT_EQ(height, expected) << text;
    }
    ASSERT_TRUE(WriteFormSettings(dir.File("form.ini"), {40000, 300, -40000, 5}));
    EXPECT_EQ(ReadBytes(dir.File("form.ini")), "16384\r\n300\r\n-16384\r\n5\r\n");
}

TEST(Settings, UnreadableOrUnwritableFilesAreSkippedSilently) {
    // Failures that bind root too: a folder where a file should be, and a
    // file where the data folder should be.
    TempDir dir;
    std::filesystem::create_directories(dir.File("data/height.ini"));
    const SettingsFiles files = SettingsFilesIn(dir.path());
    int height = 18;
    ReadHeightSettings(files.height, height);
    EXPECT_EQ(height, 18);
    EXPECT_FALSE(WriteHeightSettings(files.height, 30));
    EXPECT_TRUE(WriteFormSettings(files.form, WindowBounds{}));  // the next file is still written

    TempDir other;
    WriteBytes(other.File("data"), "not a folder");
    EXPECT_FALSE(WriteFormSettings(SettingsFilesIn(other.path()).form, WindowBounds{}));
    EXPECT_EQ(other.Listing(), "data");
}

TEST(SettingsLocation, BesideTheExecutableUnlessThatFolderIsClosed) {
    TempDir dir;
    for (const char* folder : {"portable/data", "build", "installed", "config"}) {
        std::filesystem::create_directories(dir.File(folder));
    }
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(dir.File("installed").c_str(), 0555);
    ::chmod(dir.File("config").c_str(), 0777);
    ::chmod(dir.File("build").c_str(), 0777);
    const auto where = [&](const char* exe) {
        return testing::RunUnprivileged(
            [&] { return SettingsRunDir(dir.File(exe), dir.File("config/tabulon")); });
    };
    EXPECT_EQ(where("portable"), dir.File("portable"));
    EXPECT_EQ(where("build"), dir.File("build"));  // writable: the folder may come later
    EXPECT_FALSE(std::filesystem::exists(dir.File("build/data")));
    EXPECT_EQ(where("installed"), dir.File("config/tabulon"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("config/tabulon/data")));
    // The recovery data follows the settings; installed, it goes to the state folder.
    ::setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);
    for (const auto& place : {std::pair{"portable", "portable/data/recovery"},
                              std::pair{"installed", "state/tabulon/recovery"}}) {
        EXPECT_EQ(testing::RunUnprivileged([&] { return RecoveryDir(dir.File(place.first)); }),
                  dir.File(place.second));
    }
    ::unsetenv("XDG_STATE_HOME");
}

}  // namespace
}  // namespace tabulon
