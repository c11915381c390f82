#pragma once
// The arguments that find and replace share: the three match options and the
// scope of the scan, with the cell it starts from.

#include <optional>
#include <string_view>

#include "CliCommands.h"
#include "search/TableSearch.h"
#include "table/CellPosition.h"
#include "table/TableModel.h"
#include "text/FindOptions.h"

namespace tabulon::cli {

struct SearchArguments {
    FindOptions options;
    CellPosition at{1, 1};
    FindScope place = FindScope::Whole;
    FindDirection way = FindDirection::Row;
};

// A whole decimal number, or nothing.
std::optional<int> ParseNumber(std::string_view text);

// Sets the option `arg` names (--match-case, --whole-cell, --match-width) and
// returns true; false for any other argument.
bool TakeMatchOption(std::string_view arg, FindOptions& options);

// Takes args[i] when it is --match-case, --whole-cell, --match-width, --at,
// --place or --way, with its value (i then stands on the value), and returns
// true; false for any other argument. A missing or bad value throws
// UsageError(usage).
bool TakeSearchArgument(const Args& args, size_t& i, SearchArguments& search, const char* usage);

// Makes `at` the table's current cell, refused outside the table as the
// table refuses it, and returns it.
CellPosition StartAt(TableModel& model, const SearchArguments& search);

}  // namespace tabulon::cli
