#include <optional>
#include <string>

#include "CliCommands.h"
#include "SearchArguments.h"
#include "edit/RecordSort.h"
#include "files/TableFile.h"
#include "text/Error.h"
#include "text/Messages.h"

namespace tabulon::cli {

namespace {

constexpr char kUsage[] = "sort IN OUT --key I --order K  (I from 0, K 0-5)";

int ParseIndex(const std::string& text) {
    const std::optional<int> value = ParseNumber(text);
    if (!value || *value < 0) {
        throw UsageError(kUsage);
    }
    return *value;
}

}  // namespace

int RunSort(const Args& args) {
    std::vector<std::string> files;
    std::optional<int> key;
    std::optional<int> order;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool isKey = args[i] == "--key";
        if (isKey || args[i] == "--order") {
            if (i + 1 == args.size()) {
                throw UsageError(kUsage);
            }
            (isKey ? key : order) = ParseIndex(args[++i]);
        } else if (args[i].starts_with("--")) {
            throw UsageError(kUsage);
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2 || !key || !order || *order > 5) {
        throw UsageError(kUsage);
    }
    const std::string out = TableOutputPath(files[1]);
    TableModel model;
    OpenTable(model, files[0]);
    SortRecords(model, ItemIndex{*key}, SortOrder{*order});
    SaveTableFile(model, out);
    return kExitOk;
}

}  // namespace tabulon::cli
