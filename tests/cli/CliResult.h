#pragma once
// Runs the built tabulon-cli with arguments and collects what it reports.

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TempFolder.h"

struct CliResult {
    int exitCode = -1;
    std::string errors;  // standard error

    static CliResult Run(const std::vector<std::string>& args, const TempFolder& folder) {
        const auto quote = [](const std::string& s) {
            std::string q = "'";
            for (char c : s) {
                q += c == '\'' ? std::string("'\\''") : std::string(1, c);
            }
            return q + "'";
        };
        std::string command = quote(TABULON_CLI);
        for (const std::string& a : args) {
            command += " " + quote(a);
        }
        const std::string errFile = folder.File("stderr.txt");
        command += " 2>" + quote(errFile);
        const int status = std::system(command.c_str());
        CliResult result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.errors = TempFolder::Read(errFile);
        return result;
    }
};
