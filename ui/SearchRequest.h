#pragma once
// What the find dialog asks for: the search text as typed, the scope, the
// direction, the three options, for the element search the item, and for a
// replace the replacement as typed. The main window runs the search or the
// replace; the result windows list what a search found.

#include <QString>

#include "search/TableSearch.h"
#include "text/FindOptions.h"

enum class SearchKind { FindNext, FindAll, FindRecords, ReplaceNext, ReplaceAll };

struct SearchRequest {
    QString text;
    tabulon::FindScope scope = tabulon::FindScope::Whole;
    tabulon::FindDirection direction = tabulon::FindDirection::Row;
    tabulon::FindOptions options;
    int item = 0;  // the element search's item: column item + 1
    QString itemName;
    QString replacement;
};
