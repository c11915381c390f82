#pragma once
// Choosing a table format by a path's extension, compared exactly: "tbn" is
// the native format, "csv" CSV, "tsv" TSV; anything else is no table format.
// Opening reads the file once, recognises the encoding of a CSV or TSV file
// (a tbn file is cp932 always) and turns its text into cp932 before anything
// in the model changes, so that the question about characters cp932 cannot
// hold comes first.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/TextFile.h"
#include "table/TableModel.h"
#include "text/Progress.h"
#include "text/TextEncoding.h"

namespace tabulon {

enum class TableFormat { Native, Csv, Tsv, Other };

TableFormat FormatOfPath(std::string_view path);

// A character of a file that cp932 cannot hold, and the cell it would stand
// in: row is the record counted from 1, col the item counted from 1.
struct UnheldCharacter {
    char32_t character = 0;
    int64_t row = 0;
    int64_t col = 0;
    bool operator==(const UnheldCharacter&) const = default;
};
// "「😀」 4行 2列"
std::string DescribeUnheld(const UnheldCharacter& unheld);

inline constexpr size_t kUnheldListed = 5;
struct UnheldCharacters {
    int64_t count = 0;                   // in the cells the table will have
    std::vector<UnheldCharacter> first;  // the first kUnheldListed of them, in file order
};
// The question to ask before opening such a file (Cancel the default answer).
std::string UnheldQuestion(const UnheldCharacters& unheld);

// A table file read whole and turned into cp932; no model touched yet.
struct TableReading {
    std::string path;
    TableFormat format = TableFormat::Other;
    FileEncoding encoding;
    UnheldCharacters unheld;
    FileBytes text;  // cp932 without NUL bytes; marks where unheld characters stood
    int64_t nulBytesDropped = 0;
};

// Reads and converts. `encoding` replaces the detection for CSV and TSV:
// Shift-JIS takes the bytes as they are, a Unicode encoding skips its mark
// where the file has one. Throws the open failure, "未対応の拡張子を検出しました"
// for other formats, and for a file read as Unicode (by its mark, or as told)
// whose bytes are no character, names the cell of the first such bytes.
// `progress` follows the reading, then the converting.
TableReading ReadTableFile(const std::string& path, std::optional<TextEncoding> encoding = {},
                           const Progress& progress = {});
// The same for a file's bytes already in memory; `progress` follows the converting.
TableReading ReadTableBytes(FileBytes bytes, TableFormat format, const std::string& path,
                            std::optional<TextEncoding> encoding = {},
                            const Progress& progress = {});
// The encoding ReadTableFile would take the file for, without converting it.
TextEncoding DetectFileEncoding(const std::string& path);

// Loads a reading: ResetToEmpty, the file's name and
// encoding, then the format's loader (its failures as ever). Each character
// cp932 cannot hold becomes 〓, and then the document gets no file name, so
// that Save cannot overwrite the original by accident.
void LoadTableReading(TableModel& model, TableReading reading, const Progress& progress = {});

// What Open does with a table file. When the file holds characters cp932
// cannot hold, `replaceUnheld` is asked first: false leaves the model as it
// was and returns nullopt; true loads with 〓 in their place. A failure leaves
// the reset table named after the file, as any failed load. An opened file
// gives what the user must be told about it: the notice that NUL bytes were
// left out (cells cannot hold them), or nothing.
// `progress` follows reading, converting and loading as one.
std::optional<std::string> OpenTableFile(
    TableModel& model, const std::string& path,
    const std::function<bool(const UnheldCharacters&)>& replaceUnheld,
    const Progress& progress = {});
// The same where no one can be asked: such characters fail with their list.
std::string OpenTableFile(TableModel& model, const std::string& path);

// Writes in the path's format; CSV and TSV in `encoding`. After a successful
// write the document remembers the encoding its file now has (a tbn file is
// Shift-JIS). Throws "未対応の拡張子を検出しました" for other formats.
void SaveTableFile(TableModel& model, const std::string& path, TextEncoding encoding,
                   const Progress& progress = {});
// The same in the encoding of the document's file, so Save keeps it.
void SaveTableFile(TableModel& model, const std::string& path, const Progress& progress = {});

// The choices Save As offers, in order, for the window's file filters.
struct SaveFormat {
    std::string_view label;      // "CSV UTF-8"
    std::string_view extension;  // "csv"
    TextEncoding encoding;
};
std::span<const SaveFormat> SaveFormats();
// "CSV UTF-8 (*.csv)"
std::string SaveFormatFilter(const SaveFormat& format);
// The choice that writes the document as its file is now: the format of its
// name (CSV for a Unicode document without a table name, else tbn) in its
// encoding, or that format's first choice.
size_t SaveFormatIndex(const TableModel& model);

}  // namespace tabulon
