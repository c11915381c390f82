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

#include "table/CellPosition.h"
#include "table/TableModel.h"

namespace tabulon {

// Rows of cell texts. Read from a table it is a rectangle; read from text,
// records may hold different numbers of cells.
using CellBlock = std::vector<std::vector<std::string>>;

// The item cells from `first` (an item cell, or the grid index error) to
// `last`, both included, `last` clipped to the table; row by row. Empty when
// `last` lies left of or above `first`.
CellBlock GetBlockTexts(const TableModel& model, CellPosition first, CellPosition last);

std::string WriteTabSeparated(const CellBlock& block);
// A table element, one row per line, with &, <, > and " as character
// references so that every cell shows its text and adds no markup.
std::string WriteHtmlTable(const CellBlock& block);
// Reads spreadsheet quoting back. Records end at CR LF, LF or a lone CR; a
// line break that ends the text ends the last record and starts none. A quote
// opening a cell without a closing one is taken as a plain character. Empty
// text is an empty block.
CellBlock ParseTabSeparated(std::string_view text);

// What a copy puts on the clipboard, UTF-8: the tab-separated text, and the
// HTML table with a declaration of its encoding, for rich pasting.
struct ClipboardTexts {
    std::string plain;
    std::string html;
};
ClipboardTexts CopyBlock(const TableModel& model, CellPosition first, CellPosition last);

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

}  // namespace tabulon
