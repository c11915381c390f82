#include "edit/CellBlocks.h"

#include <algorithm>
#include <unordered_set>

#include "edit/HtmlTable.h"
#include "text/HtmlText.h"
#include "text/Messages.h"
#include "text/Transcoder.h"

namespace tabulon {

namespace {

constexpr std::string_view kNeedsQuotes = "\t\"\r\n";
constexpr std::string_view kCellEnds = "\t\r\n";

// Qt and the browsers on Linux put HTML on the clipboard as UTF-8; this line
// tells the pasting program so, since a fragment has no head of its own.
constexpr std::string_view kHtmlEncoding =
    "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">\n";

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// The cell's text as page text. Spreadsheets collapse runs of spaces and
// drop them at a cell's ends, but keep &nbsp; as a space: so every space but
// a lone one between other characters is written so.
void AppendEscaped(std::string& out, std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const std::string_view reference = HtmlReference(c);
        if (c == ' ' &&
            (i == 0 || i + 1 == text.size() || text[i - 1] == ' ' || text[i + 1] == ' ')) {
            out += "&nbsp;";
        } else if (reference.empty()) {
            out += c;
        } else {
            out += reference;
        }
    }
}

// One record of either form; `row` is a range of texts, owned or viewed.
template <typename Row>
void AppendTabSeparatedRow(std::string& out, const Row& row) {
    bool first = true;
    for (const std::string_view text : row) {
        if (!first) out += '\t';
        first = false;
        if (text.find_first_of(kNeedsQuotes) == std::string_view::npos) {
            out += text;
        } else {
            AppendQuoted(out, text);
        }
    }
    out += '\n';
}

// Text for Calc (sdnum: language 1041, format 0, "@" for text) and for
// Excel, so that 0123 keeps its zero and 1,234 stays as written.
constexpr std::string_view kTextCell = "<td sdnum=\"1041;0;@\" style=\"mso-number-format:'\\@'\">";

// Linux programs write the JIS forms of the seven two-form characters, and
// Calc keeps a 〜 typed there as U+301C: no Microsoft form, as for a new file.
constexpr FileEncoding kClipboardEncoding{TextEncoding::Utf8};

template <typename Row>
void AppendHtmlRow(std::string& out, const Row& row) {
    out += "<tr>";
    for (const std::string_view text : row) {
        out += kTextCell;
        AppendEscaped(out, text);
        out += "</td>";
    }
    out += "</tr>\n";
}

constexpr std::string_view kTableStart = "<table>\n";
constexpr std::string_view kTableEnd = "</table>\n";

// The last item and record of a block from `first` to `last` that the table
// has; the grid index error when `first` is no item cell.
CellPosition ClippedLast(const TableModel& model, CellPosition first, CellPosition last) {
    if (first.col < 1 || first.row < 1 || first.col >= model.ColCount() ||
        first.row >= model.RowCount()) {
        throw messages::GridIndexOutOfRange();
    }
    return {std::min(last.col, model.ColCount() - 1), std::min(last.row, model.RowCount() - 1)};
}

// As ClippedLast, without the table's empty last row unless it is all there is.
CellPosition CopiedLast(const TableModel& model, CellPosition first, CellPosition last) {
    CellPosition clipped = ClippedLast(model, first, last);
    if (clipped.row > first.row && clipped.row == model.RowCount() - 1) {
        bool empty = true;
        for (int c = 1; c < model.ColCount() && empty; ++c) {
            empty = model.GetCell(c, clipped.row).empty();
        }
        if (empty) --clipped.row;
    }
    return clipped;
}

// A quoted cell starting at `i` (on its opening quote), read strictly: where
// its closing quote ends it, or npos when no quote closes it or one is
// followed by anything but a quote, a tab or a line break.
size_t QuotedEnd(std::string_view text, size_t i) {
    size_t at = i + 1;
    while (true) {
        const size_t quote = text.find('"', at);
        if (quote == std::string_view::npos) {
            return quote;
        }
        if (quote + 1 < text.size() && text[quote + 1] == '"') {
            at = quote + 2;
            continue;
        }
        if (quote + 1 < text.size() && kCellEnds.find(text[quote + 1]) == std::string_view::npos) {
            return std::string_view::npos;
        }
        return quote + 1;
    }
}

// The text of a quoted cell from its opening quote to past its closing one.
void AppendUnquoted(CellBlock& block, std::string_view quoted) {
    const std::string_view inner = quoted.substr(1, quoted.size() - 2);
    for (size_t at = 0; at < inner.size();) {
        const size_t quote = std::min(inner.find('"', at), inner.size());
        block.Append(inner.substr(at, quote - at));
        if (quote < inner.size()) block.Append('"');
        at = quote + 2;
    }
}

// Cells and bytes a parse of `text` needs at most, so that a big block is
// made in one allocation each.
size_t CellEndsIn(std::string_view text) {
    size_t ends = 1;
    for (const char c : text) {
        ends += c == '\t' || c == '\n' || c == '\r';
    }
    return ends;
}

}  // namespace

CellBlock GetBlockTexts(const TableModel& model, CellPosition first, CellPosition last,
                        const RecordFilter* shown) {
    const auto [lastCol, lastRow] = CopiedLast(model, first, last);
    CellBlock block;
    if (lastCol < first.col) {
        return block;  // rows without cells would read back as rows of one empty cell
    }
    for (int r = NextRow(shown, first.row - 1); r <= lastRow; r = NextRow(shown, r)) {
        for (int c = first.col; c <= lastCol; ++c) {
            block.AddCell(model.GetCell(c, r));
        }
        block.EndRow();
    }
    return block;
}

std::string WriteTabSeparated(const CellBlock& block) {
    std::string out;
    out.reserve(block.TextBytes() + block.CellCount());
    for (const CellBlock::Row row : block) {
        AppendTabSeparatedRow(out, row);
    }
    return out;
}

std::string WriteHtmlTable(const CellBlock& block) {
    std::string out;
    out.reserve(block.TextBytes() * 11 / 10 + block.size() * 16 +
                block.CellCount() * (kTextCell.size() + 5) + 32);
    out += kTableStart;
    for (const CellBlock::Row row : block) {
        AppendHtmlRow(out, row);
    }
    out += kTableEnd;
    return out;
}

CellBlock ParseTabSeparated(std::string_view text, Quoting quoting) {
    CellBlock block;
    block.Reserve(text.size(), CellEndsIn(text));
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '"') {
            const size_t end = QuotedEnd(text, i);
            const std::string_view quoted =
                text.substr(i, end == std::string_view::npos ? 0 : end - i);
            // Calc's own form writes a cell bare unless it holds a break or
            // a tab: one without is taken as it stands.
            if (!quoted.empty() && (quoting == Quoting::Strict ||
                                    quoted.find_first_of(kCellEnds) != std::string_view::npos)) {
                AppendUnquoted(block, quoted);
                i = end;
            }
        }
        // Unquoted text, or what follows a closing quote, as it stands.
        const size_t end = std::min(text.find_first_of(kCellEnds, i), text.size());
        block.AddCell(text.substr(i, end - i));
        i = end;
        if (i < text.size() && text[i] == '\t') {
            ++i;
            if (i < text.size()) continue;
            block.AddCell({});  // a tab ending the text ends an empty cell
        } else if (i < text.size()) {
            i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
        }
        block.EndRow();
    }
    return block;
}

namespace {

// Makes room for `more` bytes in a text that grows by about as much for
// each of `total` records, `done` of them written. Grown to the size they
// project, with an eighth to spare, rather than doubled, the text is copied
// once or twice instead of at every doubling; room never written costs no
// memory.
void MakeRoom(std::string& text, size_t more, size_t done, size_t total) {
    if (text.capacity() - text.size() >= more) return;
    const double projected = static_cast<double>(text.size()) /
                             static_cast<double>(std::max<size_t>(done, 1)) *
                             static_cast<double>(total) * 1.125;
    text.reserve(std::max(text.size() + more, static_cast<size_t>(projected)));
}

}  // namespace

ClipboardTexts CopyBlock(const TableModel& model, CellPosition first, CellPosition last,
                         const RecordFilter* shown) {
    // Both forms are written in cp932 straight from the table's texts, a
    // record at a time, and each record is converted by the codec's tables
    // while it is in cache: the characters HTML escapes are never part of a
    // double-byte one. Whole texts converted at the end took three times
    // their size of fresh memory, zeroed, and most of a copy's time.
    const auto [lastCol, lastRow] = CopiedLast(model, first, last);
    const Transcoder transcoder;
    ClipboardTexts texts{{}, std::string(kHtmlEncoding)};
    transcoder.Encode(kTableStart, kClipboardEncoding, texts.html);
    if (lastCol >= first.col) {
        std::vector<std::string_view> row(static_cast<size_t>(lastCol - first.col + 1));
        const auto records = static_cast<size_t>(
            shown != nullptr ? shown->PositionFrom(lastRow + 1) - shown->PositionFrom(first.row)
                             : lastRow - first.row + 1);
        std::string plain;
        std::string html;
        size_t done = 0;
        for (int r = NextRow(shown, first.row - 1); r <= lastRow; r = NextRow(shown, r), ++done) {
            for (int c = first.col; c <= lastCol; ++c) {
                row[static_cast<size_t>(c - first.col)] = model.GetCell(c, r);
            }
            plain.clear();
            html.clear();
            AppendTabSeparatedRow(plain, row);
            AppendHtmlRow(html, row);
            // Each cp932 byte takes three UTF-8 bytes at most.
            MakeRoom(texts.plain, 3 * plain.size(), done, records);
            MakeRoom(texts.html, 3 * html.size(), done, records);
            transcoder.Encode(plain, kClipboardEncoding, texts.plain);
            transcoder.Encode(html, kClipboardEncoding, texts.html);
        }
    }
    transcoder.Encode(kTableEnd, kClipboardEncoding, texts.html);
    return texts;
}

bool IsBlockText(std::string_view text) {
    return text.find_first_of(kCellEnds) != std::string_view::npos;
}

namespace {

// The characters pasted text holds that cp932 cannot, each named once.
class Unmappable {
  public:
    void Note(const Transcoder::Decoded& decoded) {
        for (const char32_t c : decoded.unheld) {
            if (seen_.insert(c).second) named_.push_back(c);
        }
        // Bytes that are no UTF-8 at all show as the replacement character.
        if (decoded.unreadable && seen_.insert(U'\uFFFD').second) named_.push_back(U'\uFFFD');
    }
    std::vector<char32_t> Take() { return std::move(named_); }

  private:
    std::vector<char32_t> named_;
    std::unordered_set<char32_t> seen_;
};

PastedBlock ReadTabSeparatedForm(std::string_view utf8, Quoting quoting) {
    // A cell ends at a NUL, so NULs are dropped rather than cutting texts
    // short; the rest is converted in place by the codec's tables.
    std::string text(utf8);
    std::erase(text, '\0');
    const Transcoder::Decoded decoded =
        Transcoder().Decode(text.data(), text.size(), TextEncoding::Utf8);
    if (!decoded.unheld.empty() || decoded.unreadable) {
        Unmappable unmappable;
        unmappable.Note(decoded);
        return {{}, unmappable.Take()};
    }
    return {ParseTabSeparated(std::string_view(text.data(), decoded.size), quoting), {}};
}

// The HTML reader's UTF-8 cells in cp932, each converted on its own: the
// page around them may hold anything.
PastedBlock InCp932(std::vector<std::vector<std::string>> rows) {
    const Transcoder transcoder;
    Unmappable unmappable;
    CellBlock cells;
    for (auto& row : rows) {
        for (std::string& cell : row) {
            std::erase(cell, '\0');
            const Transcoder::Decoded decoded =
                transcoder.Decode(cell.data(), cell.size(), TextEncoding::Utf8);
            unmappable.Note(decoded);
            cells.AddCell(std::string_view(cell.data(), decoded.size));
        }
        cells.EndRow();
    }
    std::vector<char32_t> named = unmappable.Take();
    if (!named.empty()) return {{}, std::move(named)};
    return {std::move(cells), {}};
}

}  // namespace

PastedBlock ReadPastedBlock(std::string_view utf8) {
    return ReadTabSeparatedForm(utf8, Quoting::Strict);
}

PastedBlock ReadPastedBlock(const ClipboardForms& forms) {
    if (!forms.tsvc.empty()) {
        return ReadTabSeparatedForm(forms.tsvc, Quoting::BreaksOnly);
    }
    if (IsSpreadsheetHtml(forms.html)) {
        if (auto rows = ReadHtmlTable(forms.html); !rows.empty()) {
            return InCp932(std::move(rows));
        }
    }
    return ReadTabSeparatedForm(forms.plain, Quoting::Strict);
}

}  // namespace tabulon
