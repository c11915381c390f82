#pragma once
// Blocks of cells to and from the clipboard, in the forms spreadsheets
// exchange: tab-separated text and an HTML table. The table holds cp932 and
// the clipboard Unicode, so the clipboard functions take and give UTF-8 and
// the others work on cp932 bytes. Tab, quote, CR and LF are never part of a
// double-byte character, so the bytes can be split at them.
//
// The tab-separated form is what spreadsheets on Linux put on the clipboard:
// cells joined by tabs, every record ended by LF (the last one too), and a
// cell holding a tab, a quote or a line break written between quotes with its
// quotes doubled.

#include <string>
#include <string_view>
#include <vector>

#include "edit/CellBlock.h"
#include "search/RecordFilter.h"
#include "table/CellPosition.h"
#include "table/TableModel.h"

namespace tabulon {

// Read from a table a block is a rectangle; read from text, records may hold
// different numbers of cells.
//
// The item cells from `first` (an item cell, or the grid index error) to
// `last`, both included, `last` clipped to the table; row by row. Empty when
// `last` lies left of or above `first`. The table's empty last row is left
// out unless it is all the block holds: pasted in a spreadsheet it would
// blank a row of cells under the block. Given a filter, only the records it shows.
CellBlock GetBlockTexts(const TableModel& model, CellPosition first, CellPosition last,
                        const RecordFilter* shown = nullptr);

std::string WriteTabSeparated(const CellBlock& block);
// A table element, one row per line, with &, <, > and " as character
// references so that every cell shows its text and adds no markup. Every
// cell is marked as text for Calc (sdnum) and Excel (mso-number-format), so
// that 0123 keeps its zero and 1,234 stays as written, with its spaces as
// &nbsp; where a spreadsheet would collapse or drop them.
std::string WriteHtmlTable(const CellBlock& block);
// Which cells of tab-separated text are read as quoted. Spreadsheets quote
// only some cells, and leave others that begin with a quote bare, so a cell
// counts as quoted only when it reads as one strictly: every inner quote
// doubled, the closing quote followed by a tab, a line break or the end.
enum class Quoting {
    Strict,
    // LibreOffice's own form (application/x-libreoffice-tsvc) quotes only
    // cells holding a line break or a tab, and writes `"quoted"` as it is; so
    // a strictly quoted cell is taken as quoted only when it holds one.
    BreaksOnly,
};

// Reads spreadsheet quoting back. Records end at CR LF, LF or a lone CR; a
// line break that ends the text ends the last record and starts none. A cell
// that is not quoted, a leading quote included, is taken as it stands. Empty
// text is an empty block.
CellBlock ParseTabSeparated(std::string_view text, Quoting quoting = Quoting::Strict);

// What a copy puts on the clipboard, UTF-8: the tab-separated text, and the
// HTML table with a declaration of its encoding, for rich pasting. The seven
// characters with two Unicode forms are written in the JIS forms Linux
// programs type, as a new UTF-8 file writes them.
struct ClipboardTexts {
    std::string plain;
    std::string html;
};
ClipboardTexts CopyBlock(const TableModel& model, CellPosition first, CellPosition last,
                         const RecordFilter* shown = nullptr);

// Whether pasted text is a block rather than text for the cell editor: it
// holds a tab or a line break.
bool IsBlockText(std::string_view text);

// Pasted text as a block, or why it cannot be one: the characters cp932
// cannot hold, each named once, in the order they first appear. A block with
// any of them is refused whole, so nothing is half pasted.
struct PastedBlock {
    CellBlock cells;
    std::vector<char32_t> unmappable;
    bool ok() const { return unmappable.empty(); }
};
PastedBlock ReadPastedBlock(std::string_view utf8);

// The forms a clipboard offers, UTF-8; a form not offered is empty.
struct ClipboardForms {
    std::string_view plain;
    std::string_view tsvc;  // application/x-libreoffice-tsvc
    std::string_view html;
};
// The block from the form that keeps cells whole: LibreOffice's own form,
// then a spreadsheet's HTML table, then the plain text, which loses quotes
// and line breaks inside cells.
PastedBlock ReadPastedBlock(const ClipboardForms& forms);

}  // namespace tabulon
