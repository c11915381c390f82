#include "files/NativeFile.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "files/NativeWriter.h"
#include "files/TextFile.h"
#include "table/LargeBlocks.h"
#include "table/LoadBudget.h"
#include "text/IntegerText.h"
#include "text/Messages.h"

namespace tabulon {

void SaveNative(TableModel& model, const std::string& path, const Progress& progress) {
    FileWriter file(path);
    NativeWriter writer(model, file);
    ProgressCounter written(ProgressPart(progress, 0, kWritingShare), writer.Total());
    // Pieces small enough for the progress to move between them.
    constexpr uint64_t kPiece = 64;
    while (!writer.WriteCells(kPiece)) {
        written.Reached(writer.Written());
    }
    file.Commit();
    if (progress) progress(100);
}

namespace {

// Lines a file must hold for the table its counts make. Counts below 1 act as
// 1, as the model takes them, and the table keeps at least one item column,
// so even a file without item columns must back every row it asks for.
int64_t LinesCalledFor(int32_t cols, int32_t rows) {
    const int64_t c = std::max<int32_t>(cols, 1);
    const int64_t r = std::max<int32_t>(rows, 1);
    return 2 + c + (std::max<int64_t>(c, 2) - 1) * r;
}

// The file holds its texts column by column, a record takes them row by row:
// each column is read from where its lines begin. A file that ends early
// gives the cells before the missing line, as reading it line by line would,
// and then the error that line's absence is.
void ReadRecords(TableModel::BulkLoad& load, LineReader lines, int32_t fileCols, int32_t fileRows,
                 int64_t lineIndex, const Progress& progress) {
    const auto rows = static_cast<size_t>(fileRows);
    std::vector<LineReader> columns;
    std::vector<size_t> linesIn;  // of each column
    for (int c = 1; c < fileCols; ++c) {
        columns.push_back(lines);
        const size_t n = lines.Skip(rows);
        linesIn.push_back(n);
        if (n < rows) break;
    }
    if (columns.empty()) return;
    load.ReserveRecords(static_cast<size_t>(lines.Position() - columns.front().Position()));
    ProgressCounter loaded(progress, rows);
    std::vector<std::string_view> record(static_cast<size_t>(fileCols - 1));
    // The lines copied into records are given back as the load goes, so that
    // the file and its records are not held whole at once.
    std::vector<const char*> kept(columns.size());
    for (size_t c = 0; c < columns.size(); ++c) {
        kept[c] = columns[c].Position();
    }
    constexpr size_t kRowsBetweenDrops = size_t{1} << 14;
    for (size_t r = 0; r < rows; ++r) {
        for (size_t c = 0; c < columns.size(); ++c) {
            record[c] = {};
            if (r < linesIn[c]) columns[c].Next(record[c]);
        }
        load.SetRecord(static_cast<int>(r), record);
        loaded.Reached(r);
        if (r % kRowsBetweenDrops == kRowsBetweenDrops - 1) {
            for (size_t c = 0; c < columns.size(); ++c) {
                kept[c] = DropPages(kept[c], columns[c].Position());
            }
        }
    }
    if (linesIn.back() < rows) {
        const auto before = static_cast<int64_t>((linesIn.size() - 1) * rows + linesIn.back());
        throw messages::IndexOutOfRange(lineIndex + before);
    }
    loaded.Reached(rows);
}

}  // namespace

void LoadNative(TableModel& model, const std::string& path) {
    LoadNativeBytes(model, ReadFileBytes(path), path);
}

void LoadNativeBytes(TableModel& model, FileBytes bytes, const std::string& path,
                     const Progress& progress) {
    DropNulBytes(bytes);
    LineReader lines(bytes);
    const int64_t available = static_cast<int64_t>(lines.CountRemaining());
    int64_t lineIndex = 0;
    const auto nextLine = [&]() {
        std::string_view line;
        if (!lines.Next(line)) {
            throw messages::IndexOutOfRange(lineIndex);
        }
        ++lineIndex;
        return line;
    };
    // A file whose counts call for far more lines than it has is refused before
    // anything is allocated: a damaged count must not exhaust memory.
    const auto refuseIfImplausible = [&](int64_t needed) {
        if (needed > 2 * available) {
            throw messages::IndexOutOfRange(available);
        }
    };

    const size_t size = bytes.size();
    TableModel::BulkLoad load(model);

    const int32_t cols = ReadInteger(nextLine());
    // Counts below 2 leave no room for the fixed row and column: the table
    // keeps at least 2 of each, and the file is read with its own counts.
    const int32_t fileCols = std::max<int32_t>(cols, 1);
    const int32_t tableCols = std::max<int32_t>(fileCols, 2);
    // Without a row count the widths are the least the file must hold.
    const int64_t widthLines = 2 + int64_t{fileCols};
    std::string_view rowLine;
    if (!lines.Next(rowLine)) {
        refuseIfImplausible(widthLines);
        RefuseOversizedTable(tableCols, model.RowCount(), size, path);
        model.SetColCount(tableCols);
        throw messages::IndexOutOfRange(1);
    }
    ++lineIndex;
    const auto rowsParsed = ParseInteger(rowLine);
    if (!rowsParsed) {
        // The column count is taken first, but never one the file cannot back
        // or memory cannot afford.
        if (widthLines <= 2 * available && TableFitsBudget(tableCols, model.RowCount(), size)) {
            model.SetColCount(tableCols);
        }
        throw messages::NotAnInteger(rowLine);
    }
    const int32_t rows = *rowsParsed;
    const int32_t fileRows = std::max<int32_t>(rows, 1);
    const int32_t tableRows = std::max<int32_t>(fileRows, 2);
    refuseIfImplausible(LinesCalledFor(cols, rows));
    // A last record holding text gets the empty row that typing would have
    // appended, or writers and sort would pass it by. The row is made first and
    // taken away again when not needed: growing the columns afterwards would
    // copy them and double their room.
    const bool lastRowFromFile = fileRows == tableRows && fileCols > 1;
    const int64_t roomRows = int64_t{tableRows} + (lastRowFromFile ? 1 : 0);
    RefuseOversizedTable(tableCols, roomRows, size, path);
    model.SetColCount(tableCols);
    model.SetRowCount(static_cast<int>(roomRows));
    const auto lastRowHoldsText = [&] {
        for (int c = 1; c < tableCols; ++c) {
            if (!model.GetCell(c, tableRows - 1).empty()) return true;
        }
        return false;
    };
    try {
        for (int c = 0; c < fileCols; ++c) {
            model.SetColWidth(c, ReadInteger(nextLine()));
        }
        ReadRecords(load, lines, fileCols, fileRows, lineIndex, progress);
    } catch (...) {
        model.SetRowCount(tableRows);  // a damaged file shows the shape it states
        throw;
    }
    if (lastRowFromFile && !lastRowHoldsText()) model.SetRowCount(tableRows);
}

}  // namespace tabulon
