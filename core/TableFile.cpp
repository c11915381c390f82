#include "TableFile.h"

#include "CsvFile.h"
#include "Error.h"
#include "Messages.h"
#include "NativeFile.h"
#include "PathNames.h"

namespace tabulon {

TableFormat FormatOfPath(std::string_view path) {
    const std::string ext = FileExtension(path);
    if (ext == "tbn") return TableFormat::Native;
    if (ext == "csv") return TableFormat::Csv;
    return TableFormat::Other;
}

void OpenTableFile(TableModel& model, const std::string& path) {
    const TableFormat format = FormatOfPath(path);
    if (format == TableFormat::Other) {
        throw Error(std::string(messages::kUnsupportedExtension));
    }
    model.SetModified(false);
    model.ResetToEmpty();
    model.SetCurrentFileName(path);
    if (format == TableFormat::Native) {
        LoadNative(model, path);
    } else {
        LoadCsv(model, path);
    }
}

void SaveTableFile(TableModel& model, const std::string& path) {
    switch (FormatOfPath(path)) {
        case TableFormat::Native:
            SaveNative(model, path);
            return;
        case TableFormat::Csv:
            SaveCsv(model, path);
            return;
        case TableFormat::Other:
            throw Error(std::string(messages::kUnsupportedExtension));
    }
}

}  // namespace tabulon
