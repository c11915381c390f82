#include "files/HtmlExport.h"

#include "files/PathNames.h"
#include "files/TextFile.h"
#include "text/Cp932.h"

namespace tabulon {

namespace {

constexpr std::string_view kDocType =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
    "\"http://www.w3.org/TR/html4/loose.dtd\">";
static_assert(kDocType.size() == 102);

// All four characters are ASCII below 0x40 and so never the second byte of a
// cp932 double-byte character: a byte-wise scan cannot split one.
void WriteEscaped(FileWriter& file, std::string_view text) {
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const std::string_view reference = HtmlReference(text[i]);
        if (reference.empty()) {
            continue;
        }
        file.Write(text.substr(start, i - start));
        file.Write(reference);
        start = i + 1;
    }
    file.Write(text.substr(start));
}

void WriteRow(FileWriter& file, const TableModel& model, int row, bool header) {
    const std::string_view open = header ? "<th>" : "<td>";
    const std::string_view close = header ? "</th>\r\n" : "</td>\r\n";
    const std::string_view empty = header ? "<th><br></th>\r\n" : "<td><br></td>\r\n";
    file.WriteLine("<tr>");
    for (int c = 1; c < model.ColCount(); ++c) {
        const std::string_view text = model.GetCell(c, row);
        if (text.empty()) {
            file.Write(empty);
            continue;
        }
        file.Write(open);
        WriteEscaped(file, text);
        file.Write(close);
    }
    file.WriteLine("</tr>");
}

}  // namespace

std::string DefaultHtmlTitle(std::string_view path) {
    const std::string stem = FileStem(path);
    if (Utf8ToCp932(stem).ok()) {
        return stem;
    }
    std::string title;
    const auto* p = reinterpret_cast<const unsigned char*>(stem.data());
    const auto* end = p + stem.size();
    while (p < end) {
        const UnicodeRead read = ReadUtf8(p, end);
        const std::string_view one(reinterpret_cast<const char*>(p), read.length);
        title += read.c != kNoCharacter && Utf8ToCp932(one).ok() ? one : std::string_view("?");
        p += read.length;
    }
    return title;
}

void SaveHtml(const TableModel& model, const std::string& fileName, std::string_view title,
              bool header, const RecordFilter* shown) {
    FileWriter file(fileName);
    file.WriteLine(kDocType);
    file.WriteLine("<html lang=\"ja\">");
    file.WriteLine("<head>");
    if (!title.empty()) {
        file.Write("<title>");
        WriteEscaped(file, title);
        file.WriteLine("</title>");
    }
    file.WriteLine("<style type=\"text/css\">");
    file.WriteLine("<!--");
    file.WriteLine("body{");
    // Only face, style and size go into the page: underline, strike-out and
    // the colour (often a system colour, meaningless to a browser) do not.
    const FontDesc& font = model.Font();
    file.WriteLine("font-family:\"" + font.faceName + "\";");
    file.WriteLine((font.style & kItalic) ? "font-style:italic;" : "font-style:Normal;");
    file.WriteLine("font-size:" + std::to_string(font.Size()) + "pt;");
    file.WriteLine((font.style & kBold) ? "font-weight:bold;" : "font-weight:normal;");
    file.WriteLine("}");
    file.WriteLine("//-->");
    file.WriteLine("</style>");
    file.WriteLine("</head>");
    file.WriteLine("<body>");
    file.WriteLine(
        "<table border=\"1\" cellspacing=\"0\" bordercolordark=\"white\" "
        "bordercolorlight=\"#999999\">");
    if (header) {
        WriteRow(file, model, 0, true);
    }
    for (int r = NextRow(shown, 0); r <= model.RowCount() - 2; r = NextRow(shown, r)) {
        WriteRow(file, model, r, false);
    }
    file.WriteLine("</table>");
    file.WriteLine("</body>");
    file.WriteLine("</html>");
    file.Commit();
}

}  // namespace tabulon
