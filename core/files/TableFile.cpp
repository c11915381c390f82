#include "files/TableFile.h"

#include <unicode/uchar.h>

#include <array>
#include <cstdio>
#include <cstring>

#include "files/CsvFile.h"
#include "files/NativeFile.h"
#include "files/PathNames.h"
#include "files/Utf8FileRead.h"
#include "text/Cp932.h"
#include "text/Error.h"
#include "text/Messages.h"
#include "text/Transcoder.h"

namespace tabulon {

namespace {

constexpr std::array<SaveFormat, 6> kSaveFormats = {{
    {"Tabulon表", "tbn", TextEncoding::ShiftJis},
    {"CSV Shift-JIS", "csv", TextEncoding::ShiftJis},
    {"CSV UTF-8", "csv", TextEncoding::Utf8},
    {"CSV UTF-8 BOM", "csv", TextEncoding::Utf8Bom},
    {"TSV UTF-8", "tsv", TextEncoding::Utf8},
    {"TSV Shift-JIS", "tsv", TextEncoding::ShiftJis},
}};

// Shares in percent, each pass going over the file's bytes once: of reading a
// table file, the bytes read (converting takes the rest); of opening one, the
// reading (loading takes the rest).
constexpr int kBytesReadShare = 40;
constexpr int kReadingShare = 50;

char SeparatorOf(TableFormat format) {
    return format == TableFormat::Tsv ? kTsvSeparator : kCsvSeparator;
}

std::string_view ExtensionOf(TableFormat format) {
    switch (format) {
        case TableFormat::Native:
            return "tbn";
        case TableFormat::Csv:
            return "csv";
        case TableFormat::Tsv:
            return "tsv";
        case TableFormat::Other:
            break;
    }
    return {};
}

Error UnsupportedExtension() {
    return Error(std::string(messages::kUnsupportedExtension));
}

// Whether a character shows as itself between quotation brackets; spaces,
// controls, format characters, combining marks and private or unassigned
// code points do not, and are named by their code point instead.
bool ShowsAsItself(char32_t c) {
    switch (u_charType(static_cast<UChar32>(c))) {
        case U_SPACE_SEPARATOR:
        case U_LINE_SEPARATOR:
        case U_PARAGRAPH_SEPARATOR:
        case U_CONTROL_CHAR:
        case U_FORMAT_CHAR:
        case U_NON_SPACING_MARK:
        case U_ENCLOSING_MARK:
        case U_COMBINING_SPACING_MARK:
        case U_PRIVATE_USE_CHAR:
        case U_UNASSIGNED:
        case U_SURROGATE:
            return false;
        default:
            return true;
    }
}

TextEncoding EncodingToRead(std::string_view bytes, std::optional<TextEncoding> told) {
    if (!told) return DetectEncoding(bytes);
    if (*told == TextEncoding::Utf8 || *told == TextEncoding::Utf8Bom) {
        return bytes.starts_with(ByteOrderMark(TextEncoding::Utf8Bom)) ? TextEncoding::Utf8Bom
                                                                       : TextEncoding::Utf8;
    }
    return *told;
}

std::string_view NameInMessages(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8Bom ? EncodingDisplayName(TextEncoding::Utf8)
                                             : EncodingDisplayName(encoding);
}

// The cell of the first unreadable mark in decoded text.
[[noreturn]] void RefuseUnreadable(FileBytes& text, char separator, const std::string& path,
                                   TextEncoding encoding) {
    int64_t row = 0;
    int64_t col = 0;
    ForEachField(text.data(), text.data() + text.size(), separator,
                 [&](std::string_view field, int64_t record, int64_t index) {
                     if (row == 0 && field.find(Transcoder::kUnreadableMark) != field.npos) {
                         row = record + 1;
                         col = index + 1;
                     }
                 });
    throw messages::Unreadable(path, NameInMessages(encoding), row, col);
}

// Pairs the unheld marks of decoded text with their characters and cells.
UnheldCharacters LocateUnheld(FileBytes& text, char separator,
                              const std::vector<char32_t>& characters) {
    UnheldCharacters unheld;
    size_t next = 0;
    ForEachField(text.data(), text.data() + text.size(), separator,
                 [&](std::string_view field, int64_t record, int64_t index) {
                     const std::string_view mark = Transcoder::kUnheldMark;
                     for (size_t at = 0; (at = field.find(mark, at)) != field.npos;
                          at += mark.size()) {
                         const char32_t c = characters.at(next++);
                         ++unheld.count;
                         if (unheld.first.size() < kUnheldListed) {
                             unheld.first.push_back({c, record + 1, index + 1});
                         }
                     }
                 });
    return unheld;
}

void ReplaceUnheldMarks(FileBytes& text) {
    const std::string_view mark = Transcoder::kUnheldMark;
    char* p = text.data();
    char* end = p + text.size();
    while ((p = static_cast<char*>(std::memchr(p, mark[0], static_cast<size_t>(end - p))))) {
        std::memcpy(p, Transcoder::kReplacement.data(), mark.size());
        p += mark.size();
    }
}

std::string ListUnheld(const UnheldCharacters& unheld, std::string_view separator) {
    std::string list;
    for (const UnheldCharacter& one : unheld.first) {
        if (!list.empty()) list += separator;
        list += DescribeUnheld(one);
    }
    return list;
}

}  // namespace

TableFormat FormatOfPath(std::string_view path) {
    const std::string ext = FileExtension(path);
    if (ext == "tbn") return TableFormat::Native;
    if (ext == "csv") return TableFormat::Csv;
    if (ext == "tsv") return TableFormat::Tsv;
    return TableFormat::Other;
}

std::string DescribeUnheld(const UnheldCharacter& unheld) {
    std::string shown;
    if (ShowsAsItself(unheld.character)) {
        AppendUtf8(unheld.character, shown);
    } else {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(unheld.character));
        shown = code;
    }
    return messages::UnheldAt(shown, unheld.row, unheld.col);
}

std::string UnheldQuestion(const UnheldCharacters& unheld) {
    return messages::UnheldQuestion(unheld.count, ListUnheld(unheld, "\n"),
                                    unheld.count - static_cast<int64_t>(unheld.first.size()));
}

namespace {

// What decoding `bytes` found, for `reading`, whose path, format and encoding
// are set: refuses text with unreadable bytes, and locates unheld characters.
void TakeDecoded(TableReading& reading, FileBytes& bytes, const Transcoder::Decoded& decoded,
                 LineEnd lineEnd) {
    reading.encoding.microsoftForms = decoded.microsoftForms;
    reading.encoding.lineEnd = lineEnd;
    const char separator = SeparatorOf(reading.format);
    if (decoded.unreadable) {
        RefuseUnreadable(bytes, separator, reading.path, reading.encoding.encoding);
    }
    if (!decoded.unheld.empty()) reading.unheld = LocateUnheld(bytes, separator, decoded.unheld);
}

}  // namespace

TableReading ReadTableBytes(FileBytes bytes, TableFormat format, const std::string& path,
                            std::optional<TextEncoding> encoding, const Progress& progress) {
    if (format == TableFormat::Other) throw UnsupportedExtension();
    TableReading reading;
    reading.path = path;
    reading.format = format;
    if (format != TableFormat::Native) {
        const TextEncoding read = EncodingToRead({bytes.data(), bytes.size()}, encoding);
        reading.encoding.encoding = read;
        if (IsUnicode(read)) {
            const Transcoder::Decoded decoded =
                Transcoder().Decode(bytes.data(), bytes.size(), read, progress);
            bytes = FileBytes(bytes.release(), decoded.size);
            TakeDecoded(reading, bytes, decoded, DetectLineEnd({bytes.data(), bytes.size()}));
        }
    }
    // Decoded text ends at its first NUL character and holds no other.
    if (!IsUnicode(reading.encoding.encoding)) {
        reading.nulBytesDropped = static_cast<int64_t>(DropNulBytes(bytes));
    }
    reading.text = std::move(bytes);
    if (progress) progress(100);
    return reading;
}

TableReading ReadTableFile(const std::string& path, std::optional<TextEncoding> encoding,
                           const Progress& progress) {
    const TableFormat format = FormatOfPath(path);
    if (format == TableFormat::Other) throw UnsupportedExtension();
    const bool toldUtf8 = encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8Bom;
    if (format != TableFormat::Native && (!encoding || toldUtf8)) {
        if (std::optional<Utf8FileText> read = ReadUtf8File(path, toldUtf8, progress)) {
            TableReading reading;
            reading.path = path;
            reading.format = format;
            reading.encoding.encoding = read->encoding;
            if (IsUnicode(read->encoding))
                TakeDecoded(reading, read->text, read->decoded, read->lineEnd);
            reading.text = std::move(read->text);
            return reading;
        }
    }
    return ReadTableBytes(ReadFileBytes(path, SIZE_MAX, ProgressPart(progress, 0, kBytesReadShare)),
                          format, path, encoding, ProgressPart(progress, kBytesReadShare, 100));
}

TextEncoding DetectFileEncoding(const std::string& path) {
    const TableFormat format = FormatOfPath(path);
    if (format == TableFormat::Other) throw UnsupportedExtension();
    // A table file is always cp932: only whether it can be read matters.
    const FileBytes bytes = ReadFileBytes(path, format == TableFormat::Native ? 0 : SIZE_MAX);
    return format == TableFormat::Native ? TextEncoding::ShiftJis
                                         : DetectEncoding({bytes.data(), bytes.size()});
}

void LoadTableReading(TableModel& model, TableReading reading, const Progress& progress) {
    const bool replaced = reading.unheld.count > 0;
    if (replaced) ReplaceUnheldMarks(reading.text);
    model.ResetToEmpty();
    model.SetCurrentFileName(replaced ? std::string() : reading.path);
    model.SetEncoding(reading.encoding);
    if (reading.format == TableFormat::Native) {
        LoadNativeBytes(model, std::move(reading.text), reading.path, progress);
    } else {
        LoadCsvBytes(model, std::move(reading.text), reading.path, SeparatorOf(reading.format),
                     progress);
    }
}

std::optional<std::string> OpenTableFile(
    TableModel& model, const std::string& path,
    const std::function<bool(const UnheldCharacters&)>& replaceUnheld, const Progress& progress) {
    if (FormatOfPath(path) == TableFormat::Other) throw UnsupportedExtension();
    TableReading reading;
    try {
        reading = ReadTableFile(path, {}, ProgressPart(progress, 0, kReadingShare));
        if (reading.unheld.count > 0 && !replaceUnheld(reading.unheld)) return std::nullopt;
    } catch (...) {
        model.ResetToEmpty();
        model.SetCurrentFileName(path);
        throw;
    }
    const int64_t dropped = reading.nulBytesDropped;
    LoadTableReading(model, std::move(reading), ProgressPart(progress, kReadingShare, 100));
    return dropped > 0 ? messages::NulBytesDropped(path, dropped) : std::string();
}

std::string OpenTableFile(TableModel& model, const std::string& path) {
    return *OpenTableFile(model, path, [&](const UnheldCharacters& unheld) -> bool {
        throw messages::Unheld(path, unheld.count, ListUnheld(unheld, "、"));
    });
}

void SaveTableFile(TableModel& model, const std::string& path, TextEncoding encoding,
                   const Progress& progress) {
    const TableFormat format = FormatOfPath(path);
    if (format == TableFormat::Other) throw UnsupportedExtension();
    if (format == TableFormat::Native) {
        SaveNative(model, path, progress);
        model.SetEncoding({});
        return;
    }
    // A Unicode file keeps the forms and line ends of the one the document came
    // from; a cp932 file has neither choice.
    const FileEncoding written =
        IsUnicode(encoding)
            ? FileEncoding{encoding, model.Encoding().microsoftForms, model.Encoding().lineEnd}
            : FileEncoding{};
    SaveDelimited(model, path, SeparatorOf(format), written, progress);
    model.SetEncoding(written);
}

void SaveTableFile(TableModel& model, const std::string& path, const Progress& progress) {
    SaveTableFile(model, path, model.Encoding().encoding, progress);
}

std::span<const SaveFormat> SaveFormats() {
    return kSaveFormats;
}

std::string SaveFormatFilter(const SaveFormat& format) {
    return std::string(format.label) + " (*." + std::string(format.extension) + ")";
}

size_t SaveFormatIndex(const TableModel& model) {
    const TextEncoding encoding = model.Encoding().encoding;
    TableFormat format = FormatOfPath(model.CurrentFileName());
    if (format == TableFormat::Other) {
        format = IsUnicode(encoding) ? TableFormat::Csv : TableFormat::Native;
    }
    const std::string_view extension = ExtensionOf(format);
    std::optional<size_t> firstOfFormat;
    for (size_t i = 0; i < kSaveFormats.size(); ++i) {
        if (kSaveFormats[i].extension != extension) continue;
        if (kSaveFormats[i].encoding == encoding) return i;
        if (!firstOfFormat) firstOfFormat = i;
    }
    return firstOfFormat.value_or(0);
}

}  // namespace tabulon
