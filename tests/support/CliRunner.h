#pragma once
// Runs the built tabulon-cli and captures what it printed.

#include <string>
#include <vector>

namespace tabulon::testing {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs tabulon-cli with `args` in the folder `workDir`.
CliResult RunCli(const std::vector<std::string>& args, const std::string& workDir);

}  // namespace tabulon::testing
