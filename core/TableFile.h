#pragma once
// Choosing a table format by a path's extension, compared exactly: "tbn" is
// the native format, "csv" CSV; anything else is no table format.

#include <string>
#include <string_view>

#include "TableModel.h"

namespace tabulon {

enum class TableFormat { Native, Csv, Other };

TableFormat FormatOfPath(std::string_view path);

// What Open does for a table file: ResetToEmpty, the file name, a clear
// Modified, then the loader of the path's format. Throws for other formats.
void OpenTableFile(TableModel& model, const std::string& path);
// Writes with the writer of the path's format. Throws for other formats.
void SaveTableFile(TableModel& model, const std::string& path);

}  // namespace tabulon
