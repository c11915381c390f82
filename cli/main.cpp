// tabulon-cli: the table files from the command line.

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "CliCommands.h"
#include "Error.h"

namespace tabulon::cli {

std::string FullPath(const std::string& argument) {
    return std::filesystem::absolute(argument).lexically_normal().string();
}

}  // namespace tabulon::cli

int main(int argc, char** argv) {
    using namespace tabulon::cli;
    const std::map<std::string, int (*)(const Args&)> commands = {
        {"info", RunInfo},
        {"convert", RunConvert},
        {"sort", RunSort},
        {"find", RunFind},
    };
    const auto it = argc >= 2 ? commands.find(argv[1]) : commands.end();
    if (it == commands.end()) {
        std::fputs(
            "usage: tabulon-cli info FILE\n"
            "       tabulon-cli convert IN OUT [--title TEXT] [--no-header]\n"
            "       tabulon-cli find FILE TEXT [--match-case] [--whole-cell] [--match-width]\n"
            "                   [--at C,R] [--place P] [--way W] [--all | --element I]\n"
            "       tabulon-cli sort IN OUT --key I --order K\n",
            stderr);
        return kExitError;
    }
    try {
        return it->second(Args(argv + 2, argv + argc));
    } catch (const tabulon::Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
    } catch (const UsageError& e) {
        std::fprintf(stderr, "usage: tabulon-cli %s\n", e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    return kExitError;
}
