#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "CliCommands.h"
#include "SearchArguments.h"
#include "files/TableFile.h"
#include "search/TableSearch.h"
#include "text/Cp932.h"
#include "text/Messages.h"

namespace tabulon::cli {

namespace {

constexpr const char* kUsage =
    "find FILE TEXT [--match-case] [--whole-cell] [--match-width] [--at C,R] [--place P] "
    "[--way W] [--all | --element I]";

struct FindRequest {
    SearchArguments search;
    bool all = false;
    std::optional<int> element;
};

FindRequest ParseOptions(const Args& args) {
    FindRequest request;
    for (size_t i = 2; i < args.size(); ++i) {
        if (TakeSearchArgument(args, i, request.search, kUsage)) {
            continue;
        }
        if (args[i] == "--all") {
            request.all = true;
        } else if (args[i] == "--element" && i + 1 < args.size()) {
            request.element = ParseNumber(args[++i]);
            if (!request.element || *request.element < 0) {
                throw UsageError(kUsage);
            }
        } else {
            throw UsageError(kUsage);
        }
    }
    if (request.all && request.element) {
        throw UsageError(kUsage);
    }
    return request;
}

}  // namespace

int NotFound(std::string_view message) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
    return kExitNotFound;
}

int RunFind(const Args& args) {
    if (args.size() < 2) {
        throw UsageError(kUsage);
    }
    const FindRequest request = ParseOptions(args);
    const SearchArguments& search = request.search;
    const std::string text = Utf8ToCp932OrThrow(args[1]);
    TableModel model;
    OpenTableFile(model, InputPath(args[0]));
    const CellPosition current = StartAt(model, search);

    if (request.element) {
        // The window offers only the table's items; here a wrong one is an error.
        if (*request.element >= model.ColCount() - 1) {
            throw messages::GridIndexOutOfRange();
        }
        const auto rows =
            FindRecordsByItem(model, ItemIndex{*request.element}, text, search.options);
        if (rows.empty()) {
            return NotFound(messages::kNoneFound);
        }
        for (const int row : rows) {
            std::printf("%d\n", row);
        }
    } else if (request.all) {
        const auto hits =
            FindAllCells(model, current, text, search.place, search.way, search.options);
        if (hits.empty()) {
            return NotFound(messages::kNoneFound);
        }
        for (const CellPosition& hit : hits) {
            std::printf("%d\t%d\t%s\n", hit.col, hit.row,
                        Cp932ToUtf8(model.GetCell(hit.col, hit.row)).c_str());
        }
    } else {
        const auto found =
            FindNextCell(model, current, text, search.place, search.way, search.options);
        if (!found) {
            return NotFound(messages::kNotFound);
        }
        std::printf("%d,%d\n", found->col, found->row);
    }
    return kExitOk;
}

}  // namespace tabulon::cli
