#pragma once
// How a printout falls into pages, as arithmetic on widths and heights in one
// unit the caller chooses (the painter's): which records and which columns a
// page of the table holds and at what scale, and which cards a page of cards
// holds. Measuring texts and painting are the window's.

#include <vector>

#include "search/RecordFilter.h"
#include "table/TableModel.h"

namespace tabulon {

// The records a printout holds, in the table's order: rows firstRow ..
// lastRow, only those `shown` shows when given, never the empty last row.
std::vector<int> PrintedRecords(const TableModel& model, const RecordFilter* shown, int firstRow,
                                int lastRow);

struct TablePageInput {
    std::vector<double> widths;  // the printed columns', left to right
    double rowHeight = 1;        // the item names' row and each record's
    int records = 0;
    double pageWidth = 1;   // the room for the table on a page, at scale 1
    double pageHeight = 1;  // the same, the item names' row included
    double minScale = 1;    // the smallest scale still readable, at most 1
};

// A page of the table: records first .. first + count - 1 of the printed
// ones, columns columnBegin .. columnEnd - 1 of the printed ones.
struct TablePage {
    int firstRecord = 0;
    int recordCount = 0;
    int columnBegin = 0;
    int columnEnd = 0;
};

// Columns too wide for a page are scaled down together, down to the smallest
// readable scale; beyond it they are split into parts, each as many columns
// as fit (a column wider than a page alone, to be clipped). Every block of
// records takes one page per part, left part first, then the next block.
class TablePagePlan {
  public:
    explicit TablePagePlan(const TablePageInput& input);

    double Scale() const { return scale_; }
    int PageCount() const { return blocks_ * static_cast<int>(parts_.size()); }
    int RecordsPerPage() const { return perPage_; }
    TablePage PageAt(int page) const;

  private:
    int records_;
    double scale_ = 1;
    int perPage_ = 1;
    int blocks_ = 1;
    std::vector<int> parts_;  // the first column of each part, and the end
    int columnEnd_ = 0;
};

// The first card of each page, for cards of these heights stacked down pages
// of `pageHeight` with `gap` between: as many whole cards as fit, at least
// one, so that a card taller than a page has one to itself. One page for none.
std::vector<int> PlanCardPages(const std::vector<double>& heights, double pageHeight, double gap);

}  // namespace tabulon
