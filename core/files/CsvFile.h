#pragma once
// The exchange formats: CSV (extension csv, fields separated by ",") and TSV
// (extension tsv, separated by a tab). One line per record, no item names, no
// widths. A field holding the separator, a double quote or a line break is
// written between double quotes with inner quotes doubled, and such a field
// reads back whole; every other field is written and read as it stands.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "files/TextFile.h"
#include "table/TableModel.h"
#include "text/Progress.h"
#include "text/TextEncoding.h"

namespace tabulon {

inline constexpr char kCsvSeparator = ',';
inline constexpr char kTsvSeparator = '\t';

// Records are rows 1 .. RowCount - 2 (the trailing row is left out), written
// in `encoding` after its byte-order mark; cp932 goes out as the model holds
// it. Replaces the file only after a complete write.
// `progress` follows the records written, and ends once the file is in place.
void SaveDelimited(TableModel& model, const std::string& path, char separator,
                   const FileEncoding& encoding, const Progress& progress = {});
// CSV in the encoding of the document's file.
void SaveCsv(TableModel& model, const std::string& path, const Progress& progress = {});
// Expects a model fresh from ResetToEmpty and reads the file as cp932 CSV. The
// widest record decides the column count; shorter ones read empty after their
// last field. An empty file is the empty table. Line breaks inside quoted
// fields are removed. A shape that needs more memory than the file's size justifies is
// refused before anything is set.
void LoadCsv(TableModel& model, const std::string& path);
// The same for cp932 text already in memory, with either separator; the model
// keeps the bytes. `path` names the file in messages; `progress` follows the
// bytes split (twice for a text with quotes: counting records takes a pass).
void LoadCsvBytes(TableModel& model, FileBytes bytes, const std::string& path,
                  char separator = kCsvSeparator, const Progress& progress = {});

// Each field of the text as the loader splits it: its bytes (quotes and the
// separator or line end after it included), its record and its place in the
// record, both from 0. The text is only read.
using FieldVisitor = std::function<void(std::string_view field, int64_t record, int64_t index)>;
void ForEachField(char* begin, char* end, char separator, const FieldVisitor& visit);

}  // namespace tabulon
