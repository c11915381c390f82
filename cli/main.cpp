// tabulon-cli: the table files from the command line.

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "CliCommands.h"
#include "Usage.h"
#include "files/SaveTarget.h"
#include "files/TableFile.h"
#include "text/Error.h"
#include "text/ErrorText.h"
#include "text/Messages.h"

namespace tabulon::cli {

// Not normalised: "link/../x" is what the kernel makes of it, beside the
// link's target, not "./x".
std::string FullPath(const std::string& argument) {
    // The library's own failure for an empty name would reach the user in English.
    if (argument.empty()) throw tabulon::messages::CannotOpen(argument);
    return std::filesystem::absolute(argument).string();
}

std::string TableOutputPath(const std::string& argument) {
    std::string path = FullPath(argument);
    if (FormatOfPath(path) == TableFormat::Other) {
        throw tabulon::Error(std::string(messages::kUnsupportedExtension));
    }
    return path;
}

std::string InputPath(const std::string& argument) {
    std::string path = FullPath(argument);
    const std::string backup = UnfinishedSaveBackup(path);
    if (!backup.empty()) {
        std::fprintf(stderr, "%s\n", messages::UnfinishedSave(path, backup).c_str());
    }
    return path;
}

void OpenTable(TableModel& model, const std::string& argument) {
    const std::string notice = OpenTableFile(model, InputPath(argument));
    if (!notice.empty()) std::fprintf(stderr, "%s\n", notice.c_str());
}

}  // namespace tabulon::cli

int main(int argc, char** argv) {
    using namespace tabulon::cli;
    const std::map<std::string, int (*)(const Args&)> commands = {
        {"info", RunInfo},     {"convert", RunConvert}, {"sort", RunSort},
        {"find", RunFind},     {"replace", RunReplace}, {"encoding", RunEncoding},
        {"filter", RunFilter},
    };
    const std::string first = argc >= 2 ? argv[1] : "";
    if (first == "--help" || first == "-h") {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (first == "--version") {
        std::printf("tabulon-cli %s\n", TABULON_VERSION);
        return kExitOk;
    }
    const auto it = commands.find(first);
    if (it == commands.end()) {
        std::fputs(kUsage, stderr);
        return kExitError;
    }
    try {
        return it->second(Args(argv + 2, argv + argc));
    } catch (const tabulon::Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
    } catch (const UsageError& e) {
        std::fprintf(stderr, "usage: tabulon-cli %s\n", e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", tabulon::FailureMessage(e).c_str());
    }
    return kExitError;
}
