#pragma once
// The exchange format (extension csv): one line per record, no item names,
// no widths. A field holding "," or a double quote (or a line break) is
// written between double quotes with inner quotes doubled, and such a field
// reads back whole; every other field is written and read as it stands.

#include <string>

#include "TableModel.h"
#include "TextFile.h"

namespace tabulon {

// Records are rows 1 .. RowCount - 2 (the trailing row is left out). Replaces
// the file only after a complete write; clears Modified on success.
void SaveCsv(TableModel& model, const std::string& path);
// Expects a model fresh from ResetToEmpty. The first record decides the column
// count. Line breaks inside quoted fields are removed. A shape that needs more
// memory than the file's size justifies is refused before anything is set.
void LoadCsv(TableModel& model, const std::string& path);
// The same for a file's bytes already in memory; the model keeps them. `path`
// names the file in messages.
void LoadCsvBytes(TableModel& model, FileBytes bytes, const std::string& path);

}  // namespace tabulon
