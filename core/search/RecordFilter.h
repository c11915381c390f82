#pragma once
// Which records a view shows: every one, or those whose items matched a set of
// conditions when the filter was applied. It follows its records through
// inserts, deletes, moves and sorts; an edit does not hide a record that no
// longer matches, only applying the filter again does. Records appended to
// the table while it is on (an inserted row, a paste that grows the table)
// are shown, since the user has just made them.

#include <optional>
#include <string>
#include <vector>

#include "table/ItemIndex.h"
#include "table/TableModel.h"
#include "table/TableObserver.h"
#include "text/FindOptions.h"

namespace tabulon {

// One item's condition: its cell must match `text` (cp932) as a search does.
struct FilterCondition {
    ItemIndex item;
    std::string text;
};

// The records 1 .. RowCount - 2 (the last row is the empty one for a new
// record) whose cell of every condition with a text matches, ascending. An
// item beyond the table reads as empty cells. Without a condition that has a
// text, every record.
std::vector<int> MatchingRecords(const TableModel& model,
                                 const std::vector<FilterCondition>& conditions,
                                 FindOptions options);

class RecordFilter : private TableObserver {
  public:
    explicit RecordFilter(TableModel& model);
    ~RecordFilter() override;
    RecordFilter(const RecordFilter&) = delete;
    RecordFilter& operator=(const RecordFilter&) = delete;

    // Shows the MatchingRecords and gives their count; when none match,
    // nothing changes and the count is 0. Without a condition that has a text
    // the filter goes off, every record shown.
    int Apply(const std::vector<FilterCondition>& conditions, FindOptions options);
    // Every record shown again; also what a new or loaded table does.
    void Clear();

    bool IsOn() const { return on_; }
    // Off, the rows 1 .. RowCount - 1 are shown, the empty last one included.
    int Count() const;
    // Positions count the shown records from 0, in the table's order.
    int RecordAt(int position) const;
    std::optional<int> PositionOf(int record) const;
    // The position of the first shown record at or after `record`; Count() if none.
    int PositionFrom(int record) const;
    // The first shown record after / before `record`: RowCount() / 0 if none.
    int NextShown(int record) const;
    int PreviousShown(int record) const;

  private:
    void TableChanged(const TableChange& change) override;
    void RowMoved(int from, int to) override;
    void RowsPermuted(int firstRow, const std::vector<int>& order) override;

    TableModel& model_;
    bool on_ = false;
    std::vector<int> shown_;  // ascending, while on
};

// The row after `row` that `shown` shows, or simply the next one without a filter.
inline int NextRow(const RecordFilter* shown, int row) {
    return shown != nullptr ? shown->NextShown(row) : row + 1;
}

}  // namespace tabulon
