#pragma once
// The subcommands of tabulon-cli. Each takes its own arguments (after the
// subcommand's name), prints its result on standard output and returns the
// exit code; failures throw tabulon::Error or UsageError.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "table/TableModel.h"
#include "text/TextEncoding.h"

namespace tabulon::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitNotFound = 1;
inline constexpr int kExitError = 2;

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using Args = std::vector<std::string>;

// The full path of a file argument: the file commands work on full paths.
std::string FullPath(const std::string& argument);
// The full path of a table file to write: refused before anything is read when
// its extension names no table format.
std::string TableOutputPath(const std::string& argument);
// The same for a file to be opened, telling on standard error of a save of it
// that did not finish.
std::string InputPath(const std::string& argument);
// Opens the table file an argument names (an InputPath); what the user must
// be told about it (NUL bytes left out) goes to standard error.
void OpenTable(TableModel& model, const std::string& argument);

int RunInfo(const Args& args);
int RunConvert(const Args& args);
int RunSort(const Args& args);
int RunFind(const Args& args);
int RunReplace(const Args& args);
int RunFilter(const Args& args);
int RunEncoding(const Args& args);

// Encodings as the command line names them: cp932, utf-8, utf-8-bom, utf-16le,
// utf-16be. --encoding takes the first three.
std::string_view EncodingOptionName(TextEncoding encoding);
std::optional<TextEncoding> EncodingForOutput(std::string_view name);

// Prints why nothing was found on standard error; returns kExitNotFound.
int NotFound(std::string_view message);

}  // namespace tabulon::cli
