#pragma once
// The program's own line format (extension tbn): column count, row count, the
// widths, then every cell text column by column, one value per line.

#include <string>

#include "files/TextFile.h"
#include "table/TableModel.h"
#include "text/Progress.h"

namespace tabulon {

// Replaces the file only after a complete write.
// `progress` follows the cells written, and ends once the file is in place.
void SaveNative(TableModel& model, const std::string& path, const Progress& progress = {});
// Expects a model fresh from ResetToEmpty; on a failure the table keeps what was read so far.
// Counts that the file cannot back, or a shape that needs more memory than the file's size
// justifies, are refused before anything is set.
void LoadNative(TableModel& model, const std::string& path);
// The same for a file's bytes already in memory; the model keeps them. `path`
// names the file in messages; `progress` follows the bytes loaded.
void LoadNativeBytes(TableModel& model, FileBytes bytes, const std::string& path,
                     const Progress& progress = {});

}  // namespace tabulon
