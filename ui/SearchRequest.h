#pragma once
// What the find dialog asks for: the search text as typed, the scope, the
// direction, the three options and, for the element search, the item. The
// main window runs the search; the result windows list what it found.

#include <QString>

#include "FindOptions.h"
#include "TableSearch.h"

enum class SearchKind { FindNext, FindAll, FindRecords };

struct SearchRequest {
    QString text;
    tabulon::FindScope scope = tabulon::FindScope::Whole;
    tabulon::FindDirection direction = tabulon::FindDirection::Row;
    tabulon::FindOptions options;
    int item = 0;  // the element search's item: column item + 1
    QString itemName;
};
