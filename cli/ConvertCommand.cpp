#include <optional>

#include "CliCommands.h"
#include "files/HtmlExport.h"
#include "files/PathNames.h"
#include "files/TableFile.h"
#include "text/Cp932.h"
#include "text/Error.h"
#include "text/Messages.h"

namespace tabulon::cli {

namespace {

constexpr char kUsage[] =
    "convert IN OUT [--title TEXT] [--no-header] [--encoding cp932|utf-8|utf-8-bom]  (--title and "
    "--no-header for htm/html, --encoding for csv/tsv)";

bool IsHtmlPath(const std::string& path) {
    const std::string ext = FileExtension(path);
    return ext == "htm" || ext == "html";
}

}  // namespace

int RunConvert(const Args& args) {
    std::vector<std::string> files;
    std::optional<std::string> title;
    bool header = true;
    std::optional<TextEncoding> encoding;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--title" && i + 1 < args.size()) {
            title = args[++i];
        } else if (args[i] == "--encoding" && i + 1 < args.size()) {
            encoding = EncodingForOutput(args[++i]);
            if (!encoding) throw UsageError(kUsage);
        } else if (args[i] == "--no-header") {
            header = false;
        } else if (args[i].starts_with("--")) {
            throw UsageError(kUsage);
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) {
        throw UsageError(kUsage);
    }
    const std::string out = FullPath(files[1]);
    const bool html = IsHtmlPath(out);
    const TableFormat format = FormatOfPath(out);
    const bool delimited = format == TableFormat::Csv || format == TableFormat::Tsv;
    if ((!html && (title || !header)) || (encoding && !delimited)) {
        throw UsageError(kUsage);
    }
    // Refuse an unknown output type before reading anything.
    if (!html && format == TableFormat::Other) {
        throw Error(std::string(messages::kUnsupportedExtension));
    }
    TableModel model;
    OpenTableFile(model, InputPath(files[0]));
    if (html) {
        // Titles come in as the system spells them; the page holds cp932.
        const std::string text = title ? *title : DefaultHtmlTitle(model.CurrentFileName());
        SaveHtml(model, out, Utf8ToCp932OrThrow(text), header);
    } else {
        // Whatever IN was, a converted CSV or TSV file is cp932 unless told otherwise.
        SaveTableFile(model, out, encoding.value_or(TextEncoding::ShiftJis));
    }
    return kExitOk;
}

}  // namespace tabulon::cli
