#include <cstdio>
#include <string>

#include "CliCommands.h"
#include "SearchArguments.h"
#include "edit/TableReplace.h"
#include "files/TableFile.h"
#include "text/Cp932.h"
#include "text/Error.h"
#include "text/Messages.h"

namespace tabulon::cli {

namespace {

constexpr const char* kUsage =
    "replace IN OUT TEXT NEW [--match-case] [--whole-cell] [--match-width] [--at C,R] "
    "[--place P] [--way W]";

}  // namespace

int RunReplace(const Args& args) {
    if (args.size() < 4) {
        throw UsageError(kUsage);
    }
    SearchArguments search;
    for (size_t i = 4; i < args.size(); ++i) {
        if (!TakeSearchArgument(args, i, search, kUsage)) {
            throw UsageError(kUsage);
        }
    }
    // Refuse an unknown output type and texts cp932 cannot hold before reading anything.
    const std::string out = TableOutputPath(args[1]);
    const std::string text = Utf8ToCp932OrThrow(args[2]);
    const std::string replacement = Utf8ToCp932OrThrow(args[3]);
    TableModel model;
    OpenTable(model, args[0]);
    const CellPosition current = StartAt(model, search);
    const Replacements done =
        ReplaceAll(model, current, text, replacement, search.place, search.way, search.options);
    // OUT is written either way, so that it always holds IN with every match replaced.
    SaveTableFile(model, out);
    std::printf("%d\n", done.Count());
    return done.Count() == 0 ? NotFound(messages::kNotFound) : kExitOk;
}

}  // namespace tabulon::cli
