#pragma once
// The HTML export: the table as one HTML 4.01 Transitional page holding one
// table, in cp932 with CR LF line ends, the table font as the body style.

#include <string>
#include <string_view>

#include "search/RecordFilter.h"
#include "table/TableModel.h"
#include "text/HtmlText.h"

namespace tabulon {

// The title the export offers for the table loaded from `path` (UTF-8, as the
// system spells it): the file's name without folder and extension. When cp932
// cannot hold a character of it (or its bytes are no UTF-8), that character
// reads "?", as such names read in Windows programs, so the offered title can
// always be saved. Empty for a table without a file. UTF-8.
std::string DefaultHtmlTitle(std::string_view path);

// Writes the item columns of records 1 .. RowCount - 2, preceded by the item
// names as "th" cells when `header` is on. A non-empty `title` (cp932) gives
// the page a title. &, <, > and " in cell texts and the title are written as
// character references, so the page shows the text as typed and no cell can
// add markup. Replaces the file only after a complete write; throws the file
// creation or write error. The table is left untouched. Given a filter, only
// the records it shows (but never the empty last row).
void SaveHtml(const TableModel& model, const std::string& fileName, std::string_view title,
              bool header, const RecordFilter* shown = nullptr);

}  // namespace tabulon
