#include "files/NativeFile.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

#include "files/NativeWriter.h"
#include "files/TextFile.h"
#include "table/LargeBlocks.h"
#include "table/LoadBudget.h"
#include "text/InParallel.h"
#include "text/IntegerText.h"
#include "text/Messages.h"

namespace tabulon {

void SaveNative(TableModel& model, const std::string& path, const Progress& progress) {
    FileWriter file(path);
    NativeWriter writer(model, file);
    ProgressCounter written(ProgressPart(progress, 0, kWritingShare), writer.Total());
    // A hundredth at a time, for the progress to move between pieces.
    const uint64_t piece = std::max<uint64_t>(writer.Total() / 100, 64);
    while (!writer.WriteCells(piece)) {
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
// each column is read from where its lines begin, the rows cut into one
// stretch for each core, read at once. A file that ends early gives the cells
// before the missing line, as reading it line by line would, and then the
// error that line's absence is.
void ReadRecords(TableModel::BulkLoad& load, const LineMarks& marks, int64_t firstLine,
                 int32_t fileCols, int32_t fileRows, const Progress& progress) {
    const auto rows = static_cast<size_t>(fileRows);
    const auto first = static_cast<size_t>(firstLine);
    const size_t after = marks.Lines() - std::min(marks.Lines(), first);
    // The lines of each column the file holds, up to the first one it cuts short.
    std::vector<size_t> linesIn;
    for (size_t c = 0; c + 1 < static_cast<size_t>(fileCols); ++c) {
        linesIn.push_back(std::min(rows, after - std::min(after, c * rows)));
        if (linesIn.back() < rows) break;
    }
    if (linesIn.empty()) return;
    const auto lineOf = [&](size_t c, size_t row) { return first + c * rows + row; };
    const auto cellBytes = static_cast<size_t>(marks.From(lineOf(linesIn.size(), 0)).Position() -
                                               marks.From(lineOf(0, 0)).Position());
    const size_t parts = std::min(rows, PartsFor(cellBytes));
    const auto stretch = [&](size_t i) { return PartBegin(rows, i, parts); };
    // Where each stretch begins and ends in each column.
    std::vector<std::vector<char*>> begins(parts), ends(parts);
    for (size_t i = 0; i < parts; ++i) {
        // Each reader is found from the one before it: a file of many
        // columns and few rows holds them close together.
        LineReader previous = marks.From(first);
        size_t previousLine = first;
        for (size_t c = 0; c < linesIn.size(); ++c) {
            const size_t beginLine = lineOf(c, std::min(stretch(i), linesIn[c]));
            const size_t endLine = lineOf(c, std::min(stretch(i + 1), linesIn[c]));
            const LineReader begin = marks.From(beginLine, previous, previousLine);
            previous = marks.From(endLine, begin, beginLine);
            previousLine = endLine;
            begins[i].push_back(begin.Position());
            ends[i].push_back(previous.Position());
        }
    }
    std::deque<TableModel::BulkLoad::Part> packers;
    for (size_t i = 0; i < parts; ++i)
        packers.emplace_back(load, nullptr);
    ProgressCounter loaded(progress, rows);
    RunParts(parts, [&](size_t i) {
        std::vector<char*>& at = begins[i];
        const size_t columns = at.size();
        // A run of rows at a time: each column's lines of the run are split
        // first, in one long pass over that column, then taken row by row. A
        // run holds at most so many cells, however wide the table.
        constexpr size_t kMostRows = 1024;
        constexpr size_t kMostCells = size_t{1} << 18;
        const size_t rowsAtOnce = std::clamp<size_t>(
            kMostCells / columns, 1, std::min(kMostRows, stretch(i + 1) - stretch(i)));
        std::vector<std::string_view> lines(columns * rowsAtOnce);
        std::vector<std::string_view> record(static_cast<size_t>(fileCols - 1));
        // Records are packed into the file's own buffer, over the lines of
        // the runs before, in each column of the stretch: a record is no
        // longer than the lines it was read from, so they fit but for the
        // first run, and the load takes no memory beyond the file's.
        std::vector<TableModel::BulkLoad::Part::Room> rooms;
        for (char* begin : at)
            rooms.push_back({begin, begin});
        size_t room = 0;
        for (size_t from = stretch(i); from < stretch(i + 1); from += rowsAtOnce) {
            const size_t count = std::min(rowsAtOnce, stretch(i + 1) - from);
            for (size_t c = 0; c < columns; ++c) {
                rooms[c].end = at[c];
                const std::span<std::string_view> run(lines.data() + c * rowsAtOnce, count);
                const size_t held = std::min(count, linesIn[c] - std::min(linesIn[c], from));
                const size_t read = ReadLines(at[c], ends[i][c], run.first(held));
                std::fill(run.begin() + static_cast<std::ptrdiff_t>(read), run.end(),
                          std::string_view());
            }
            for (size_t k = 0; k < count; ++k) {
                for (size_t c = 0; c < columns; ++c)
                    record[c] = lines[c * rowsAtOnce + k];
                packers[i].PlaceRecord(static_cast<int>(from + k), record, rooms, room);
                // Only the calling thread reports, its stretch standing for all.
                if (i == 0) loaded.Reached((from + k - stretch(i)) * parts);
            }
        }
        // What no record took of the lines read is given back, in huge pages:
        // about a byte a cell, where a record's ends are shorter than the
        // line ends were.
        for (size_t c = 0; c < columns; ++c)
            DropHugePages(rooms[c].begin, at[c]);
    });
    if (linesIn.back() < rows) {
        const auto before = static_cast<int64_t>((linesIn.size() - 1) * rows + linesIn.back());
        throw messages::IndexOutOfRange(firstLine + before);
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
    const LineMarks marks(bytes.data(), bytes.data() + bytes.size());
    LineReader lines(bytes.data(), bytes.size(), LineReader::Untouched{});
    const int64_t available = static_cast<int64_t>(marks.Lines());
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
        // The records are packed into the file's buffer, which the model
        // then holds.
        load.AdoptBuffer(bytes.release(), size);
        ReadRecords(load, marks, lineIndex, fileCols, fileRows, progress);
    } catch (...) {
        model.SetRowCount(tableRows);  // a damaged file shows the shape it states
        throw;
    }
    if (lastRowFromFile && !lastRowHoldsText()) model.SetRowCount(tableRows);
}

}  // namespace tabulon
