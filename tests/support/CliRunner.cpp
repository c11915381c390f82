#include "CliRunner.h"

#include <sys/wait.h>

#include <cstdlib>

#include "TestFiles.h"

namespace tabulon::testing {

namespace {

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& workDir) {
    TempDir capture;
    std::string command = "cd " + Quote(workDir) + " && " + Quote(TABULON_CLI);
    for (const auto& arg : args)
        command += " " + Quote(arg);
    command += " >" + Quote(capture.File("out")) + " 2>" + Quote(capture.File("err"));
    const int status = std::system(command.c_str());
    CliResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadBytes(capture.File("out"));
    result.err = ReadBytes(capture.File("err"));
    return result;
}

}  // namespace tabulon::testing
