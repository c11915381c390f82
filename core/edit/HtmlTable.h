#pragma once
// The cells of the table a spreadsheet puts on the clipboard as HTML. Calc
// and Excel keep every cell whole there (quotes, line breaks as <br>, leading
// zeros), where their plain text does not. Only the first table counts; the
// reader is a scanner, not a browser: tags it does not know are dropped, and
// any input, however broken, gives a block no larger than it is.

#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

// Whether UTF-8 HTML has a table written by a spreadsheet (LibreOffice,
// Excel, Google Sheets, Gnumeric) rather than a web page's layout.
bool IsSpreadsheetHtml(std::string_view html);

// Rows of the first table's cells (td and th), UTF-8. <br> becomes LF, the
// common character references and all numeric ones are resolved, other tags
// are dropped with <style>, <script> and comments whole; a no-break space
// becomes a space, which cp932 has. Raw line breaks are source layout: a run
// of white space holding one reads as a space, or nothing at a cell's ends.
// A colspan adds the empty cells it covers, so columns stay in place.
std::vector<std::vector<std::string>> ReadHtmlTable(std::string_view html);

}  // namespace tabulon
