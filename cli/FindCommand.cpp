#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "CliCommands.h"
#include "Cp932.h"
#include "Messages.h"
#include "TableFile.h"
#include "TableSearch.h"

namespace tabulon::cli {

namespace {

constexpr const char* kUsage =
    "find FILE TEXT [--match-case] [--whole-cell] [--match-width] [--at C,R] [--place P] "
    "[--way W] [--all | --element I]";

// A whole decimal number, or nothing.
std::optional<int> ParseNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

int ParseZeroOrOne(std::string_view text) {
    const auto value = ParseNumber(text);
    if (!value || (*value != 0 && *value != 1)) {
        throw UsageError(kUsage);
    }
    return *value;
}

CellPosition ParseCell(std::string_view text) {
    const size_t comma = text.find(',');
    const auto col = ParseNumber(text.substr(0, comma));
    const auto row =
        comma == std::string_view::npos ? std::nullopt : ParseNumber(text.substr(comma + 1));
    if (!col || !row) {
        throw UsageError(kUsage);
    }
    return {*col, *row};
}

struct FindRequest {
    FindOptions options;
    CellPosition at{1, 1};
    FindScope place = FindScope::Whole;
    FindDirection way = FindDirection::Row;
    bool all = false;
    std::optional<int> element;
};

FindRequest ParseOptions(const Args& args) {
    FindRequest request;
    for (size_t i = 2; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) {
                throw UsageError(kUsage);
            }
            return args[++i];
        };
        if (arg == "--match-case") {
            request.options.MatchCase = true;
        } else if (arg == "--whole-cell") {
            request.options.WholeCell = true;
        } else if (arg == "--match-width") {
            request.options.MatchWidth = true;
        } else if (arg == "--at") {
            request.at = ParseCell(value());
        } else if (arg == "--place") {
            request.place = static_cast<FindScope>(ParseZeroOrOne(value()));
        } else if (arg == "--way") {
            request.way = static_cast<FindDirection>(ParseZeroOrOne(value()));
        } else if (arg == "--all") {
            request.all = true;
        } else if (arg == "--element") {
            request.element = ParseNumber(value());
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

int NotFound(std::string_view message) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
    return kExitNotFound;
}

}  // namespace

int RunFind(const Args& args) {
    if (args.size() < 2) {
        throw UsageError(kUsage);
    }
    const FindRequest request = ParseOptions(args);
    const std::string search = Utf8ToCp932OrThrow(args[1]);
    TableModel model;
    OpenTableFile(model, FullPath(args[0]));
    // The current cell the search starts from; outside the table it is refused.
    model.SetCurrentCell(request.at.col, request.at.row);
    const CellPosition current{model.CurrentCol(), model.CurrentRow()};

    if (request.element) {
        // The window offers only the table's items; here a wrong one is an error.
        if (*request.element >= model.ColCount() - 1) {
            throw messages::GridIndexOutOfRange();
        }
        const auto rows = FindRecordsByItem(model, *request.element, search, request.options);
        if (rows.empty()) {
            return NotFound(messages::kNoneFound);
        }
        for (const int row : rows) {
            std::printf("%d\n", row);
        }
    } else if (request.all) {
        const auto hits =
            FindAllCells(model, current, search, request.place, request.way, request.options);
        if (hits.empty()) {
            return NotFound(messages::kNoneFound);
        }
        for (const CellPosition& hit : hits) {
            std::printf("%d\t%d\t%s\n", hit.col, hit.row,
                        Cp932ToUtf8(model.GetCell(hit.col, hit.row)).c_str());
        }
    } else {
        const auto found =
            FindNextCell(model, current, search, request.place, request.way, request.options);
        if (!found) {
            return NotFound(messages::kNotFound);
        }
        std::printf("%d,%d\n", found->col, found->row);
    }
    return kExitOk;
}

}  // namespace tabulon::cli
