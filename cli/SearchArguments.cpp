#include "SearchArguments.h"

#include <charconv>

namespace tabulon::cli {

namespace {

int ParseZeroOrOne(std::string_view text, const char* usage) {
    const auto value = ParseNumber(text);
    if (!value || (*value != 0 && *value != 1)) {
        throw UsageError(usage);
    }
    return *value;
}

CellPosition ParseCell(std::string_view text, const char* usage) {
    const size_t comma = text.find(',');
    const auto col = ParseNumber(text.substr(0, comma));
    const auto row =
        comma == std::string_view::npos ? std::nullopt : ParseNumber(text.substr(comma + 1));
    if (!col || !row) {
        throw UsageError(usage);
    }
    return {*col, *row};
}

}  // namespace

std::optional<int> ParseNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

bool TakeMatchOption(std::string_view arg, FindOptions& options) {
    if (arg == "--match-case") {
        options.MatchCase = true;
    } else if (arg == "--whole-cell") {
        options.WholeCell = true;
    } else if (arg == "--match-width") {
        options.MatchWidth = true;
    } else {
        return false;
    }
    return true;
}

bool TakeSearchArgument(const Args& args, size_t& i, SearchArguments& search, const char* usage) {
    const std::string& arg = args[i];
    const auto value = [&]() -> const std::string& {
        if (i + 1 >= args.size()) {
            throw UsageError(usage);
        }
        return args[++i];
    };
    if (TakeMatchOption(arg, search.options)) {
        return true;
    }
    if (arg == "--at") {
        search.at = ParseCell(value(), usage);
    } else if (arg == "--place") {
        search.place = static_cast<FindScope>(ParseZeroOrOne(value(), usage));
    } else if (arg == "--way") {
        search.way = static_cast<FindDirection>(ParseZeroOrOne(value(), usage));
    } else {
        return false;
    }
    return true;
}

CellPosition StartAt(TableModel& model, const SearchArguments& search) {
    model.SetCurrentCell(search.at.col, search.at.row);
    return {model.CurrentCol(), model.CurrentRow()};
}

}  // namespace tabulon::cli
