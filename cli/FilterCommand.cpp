#include <cstdio>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "SearchArguments.h"
#include "edit/TableOperations.h"
#include "files/TableFile.h"
#include "search/RecordFilter.h"
#include "text/Cp932.h"
#include "text/Error.h"
#include "text/Messages.h"

namespace tabulon::cli {

namespace {

constexpr const char* kUsage =
    "filter IN OUT [--item I TEXT]... [--match-case] [--whole-cell] [--match-width]";

}  // namespace

int RunFilter(const Args& args) {
    if (args.size() < 2) {
        throw UsageError(kUsage);
    }
    FindOptions options;
    std::vector<FilterCondition> conditions;
    for (size_t i = 2; i < args.size(); ++i) {
        if (TakeMatchOption(args[i], options)) {
            continue;
        }
        if (args[i] == "--item" && i + 2 < args.size()) {
            const auto item = ParseNumber(args[i + 1]);
            if (!item || *item < 0) {
                throw UsageError(kUsage);
            }
            conditions.push_back({ItemIndex{*item}, Utf8ToCp932OrThrow(args[i + 2])});
            i += 2;
        } else {
            throw UsageError(kUsage);
        }
    }
    const std::string out = TableOutputPath(args[1]);
    TableModel model;
    OpenTable(model, args[0]);
    // As the element search, a wrong item is an error rather than empty cells.
    for (const FilterCondition& condition : conditions) {
        if (condition.item.Column() >= model.ColCount()) {
            throw messages::GridIndexOutOfRange();
        }
    }
    const std::vector<int> records = MatchingRecords(model, conditions, options);
    KeepRecords(model, records);
    SaveTableFile(model, out);
    std::printf("%zu\n", records.size());
    return records.empty() ? NotFound(messages::kNoneFound) : kExitOk;
}

}  // namespace tabulon::cli
