#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "ChildProcess.h"
#include "TestFiles.h"
#include "Unprivileged.h"
#include "files/CsvFile.h"
#include "files/HtmlExport.h"
#include "files/NativeFile.h"
#include "files/Settings.h"
#include "text/Error.h"

namespace tabulon {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// A folder "nobody" can enter: "ro" may not be written, "rw" may; files in
// both hold "old"; "rw/locked.tbn" is read-only and "rw/secret.tbn" unreadable.
struct Landscape {
    TempDir dir;
    Landscape() {
        ::chmod(dir.path().c_str(), 0755);
        for (const char* folder : {"ro", "rw"}) {
            std::filesystem::create_directory(dir.File(folder));
        }
        for (const char* file :
             {"ro/t.tbn", "ro/t.csv", "ro/t.htm", "rw/locked.tbn", "rw/secret.tbn"}) {
            WriteBytes(dir.File(file), "old");
        }
        WriteBytes(dir.File("rw/secret.tbn"), "2\r\n3\r\n15\r\n64\r\n\r\n\r\n\r\n");
        ::chmod(dir.File("rw/locked.tbn").c_str(), 0444);
        ::chmod(dir.File("rw/secret.tbn").c_str(), 0000);
        ::chmod(dir.File("rw").c_str(), 0777);
        ::chmod(dir.File("ro").c_str(), 0555);
    }
};

std::string Outcome(const std::function<void(TableModel&)>& action) {
    TableModel model;
    std::string message = "no error";
    try {
        action(model);
    } catch (const Error& e) {
        message = e.what();
    }
    return message;
}

TEST(FileFailures, SavesThatCannotReplaceTheFileKeepItAndTheChanges) {
    Landscape land;
    const auto created = [&](const std::string& name) {
        return "ファイル " + land.dir.File(name) + " を作成できません";
    };
    const struct {
        const char* file;
        std::function<void(TableModel&, const std::string&)> save;
    } cases[] = {
        {"ro/t.tbn", [](TableModel& m, const std::string& p) { SaveNative(m, p); }},
        {"ro/new.tbn", [](TableModel& m, const std::string& p) { SaveNative(m, p); }},
        {"ro/t.csv", [](TableModel& m, const std::string& p) { SaveCsv(m, p); }},
        {"ro/t.htm", [](TableModel& m, const std::string& p) { SaveHtml(m, p, "", true); }},
        {"rw/locked.tbn", [](TableModel& m, const std::string& p) { SaveNative(m, p); }},
    };
    for (const auto& c : cases) {
        const std::string path = land.dir.File(c.file);
        EXPECT_EQ(testing::RunUnprivileged(
                      [&] { return Outcome([&](TableModel& m) { c.save(m, path); }); }),
                  created(c.file));
    }
    for (const char* file : {"ro/t.tbn", "ro/t.csv", "ro/t.htm", "rw/locked.tbn"}) {
        EXPECT_EQ(ReadBytes(land.dir.File(file)), "old") << file;
    }
    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(land.dir.File("ro"))) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 3u);  // no temporary file left behind
}

TEST(FileFailures, SavesThatRunOutOfRoomSayWhyAndKeepTheOldFile) {
    // Megabytes of records, written a batch at a time while the next is made:
    // the file may grow no further than a fraction of them.
    TempDir dir;
    TableModel model;
    model.SetColCount(4);
    model.SetRowCount(60'000);
    for (int r = 0; r < 60'000; ++r)
        model.SetRowCells(r, 1, std::vector<std::string_view>(3, "0123456789"));
    const std::pair<const char*, std::function<void(const std::string&)>> saves[] = {
        {"t.tbn", [&](const std::string& p) { SaveNative(model, p); }},
        {"t.csv", [&](const std::string& p) { SaveCsv(model, p); }},
    };
    for (const auto& [name, saveTo] : saves) {
        const std::string path = dir.File(name);
        const auto& save = saveTo;  // a lambda may not capture a binding
        WriteBytes(path, "old");
        const auto outcome = testing::RunInChild([&] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{256 << 10, 256 << 10};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            save(path);
            return std::string("saved");
        });
        EXPECT_EQ(outcome.text,
                  "exception: ファイル " + path + " に書き込めません: ファイルが大きすぎます");
        EXPECT_TRUE(ReadBytes(path) == "old") << name;
    }
    EXPECT_EQ(dir.Listing(), "t.csv t.tbn");
}

TEST(FileFailures, UnreadableFilesFailToLoadWithTheOpenMessage) {
    Landscape land;
    const std::string path = land.dir.File("rw/secret.tbn");
    const std::string expected = "ファイル " + path + " は開けません";
    EXPECT_EQ(testing::RunUnprivileged(
                  [&] { return Outcome([&](TableModel& m) { LoadNative(m, path); }); }),
              expected);
    EXPECT_EQ(
        testing::RunUnprivileged([&] { return Outcome([&](TableModel& m) { LoadCsv(m, path); }); }),
        expected);
}

TEST(FileFailures, SettingsInAReadOnlyFolderAreNeitherReadNorWrittenAndNothingIsSaid) {
    Landscape land;
    // The settings folder: read-only, with an unreadable height file.
    std::filesystem::rename(land.dir.File("ro"), land.dir.File("data"));
    ::chmod(land.dir.File("data").c_str(), 0755);
    WriteBytes(land.dir.File("data/height.ini"), "40\r\n");
    ::chmod(land.dir.File("data/height.ini").c_str(), 0000);
    ::chmod(land.dir.File("data").c_str(), 0555);
    const SettingsFiles files = SettingsFilesIn(land.dir.path());
    const std::string result = testing::RunUnprivileged([&] {
        int height = 18;
        ReadHeightSettings(files.height, height);
        return std::to_string(height) + " " + std::to_string(WriteFormSettings(files.form, {})) +
               std::to_string(WriteFontSettings(files.font, FontDesc())) +
               std::to_string(WriteHeightSettings(files.height, 30));
    });
    EXPECT_EQ(result, "18 000");
    EXPECT_FALSE(std::filesystem::exists(files.form));
}

}  // namespace
}  // namespace tabulon
