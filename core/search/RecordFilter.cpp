#include "search/RecordFilter.h"

#include <algorithm>

#include "search/TextMatcher.h"

namespace tabulon {

std::vector<int> MatchingRecords(const TableModel& model,
                                 const std::vector<FilterCondition>& conditions,
                                 FindOptions options) {
    std::vector<int> rows;
    bool first = true;
    const auto hasText = [](const FilterCondition& c) { return !c.text.empty(); };
    if (std::none_of(conditions.begin(), conditions.end(), hasText)) {
        for (int row = 1; row < model.RowCount() - 1; ++row) {
            rows.push_back(row);
        }
        return rows;
    }
    // Each condition narrows what the one before left, so most cells are never read.
    for (const FilterCondition& condition : conditions) {
        if (condition.text.empty()) {
            continue;
        }
        const int col = condition.item.Column();
        const bool inside = condition.item.value >= 0 && col < model.ColCount();
        TextMatcher matcher(condition.text, options);
        const auto matches = [&](int row) {
            return matcher.Matches(inside ? model.GetCell(col, row) : std::string_view());
        };
        if (first) {
            for (int row = 1; row < model.RowCount() - 1; ++row) {
                if (matches(row)) {
                    rows.push_back(row);
                }
            }
            first = false;
        } else {
            std::erase_if(rows, [&](int row) { return !matches(row); });
        }
        if (rows.empty()) {
            break;
        }
    }
    return rows;
}

RecordFilter::RecordFilter(TableModel& model) : model_(model) {
    model_.AddObserver(this);
}

RecordFilter::~RecordFilter() {
    model_.RemoveObserver(this);
}

int RecordFilter::Apply(const std::vector<FilterCondition>& conditions, FindOptions options) {
    if (std::all_of(conditions.begin(), conditions.end(),
                    [](const FilterCondition& c) { return c.text.empty(); })) {
        Clear();
        return Count();
    }
    std::vector<int> rows = MatchingRecords(model_, conditions, options);
    if (rows.empty()) {
        return 0;
    }
    shown_ = std::move(rows);
    on_ = true;
    return Count();
}

void RecordFilter::Clear() {
    on_ = false;
    shown_ = {};
}

int RecordFilter::Count() const {
    return on_ ? static_cast<int>(shown_.size()) : model_.RowCount() - 1;
}

int RecordFilter::RecordAt(int position) const {
    return on_ ? shown_[static_cast<size_t>(position)] : position + 1;
}

std::optional<int> RecordFilter::PositionOf(int record) const {
    const int position = PositionFrom(record);
    if (position < Count() && RecordAt(position) == record) {
        return position;
    }
    return std::nullopt;
}

int RecordFilter::PositionFrom(int record) const {
    if (!on_) {
        return std::clamp(record - 1, 0, Count());
    }
    return static_cast<int>(std::lower_bound(shown_.begin(), shown_.end(), record) -
                            shown_.begin());
}

int RecordFilter::NextShown(int record) const {
    const int position = PositionFrom(record + 1);
    return position < Count() ? RecordAt(position) : model_.RowCount();
}

int RecordFilter::PreviousShown(int record) const {
    const int position = PositionFrom(record);
    return position > 0 ? RecordAt(position - 1) : 0;
}

void RecordFilter::TableChanged(const TableChange& change) {
    if (!on_) {
        return;
    }
    switch (change.kind) {
        case TableChange::Kind::Reset:
            Clear();
            break;
        case TableChange::Kind::RowsInserted:
            for (int row = change.first; row < change.first + change.count; ++row) {
                shown_.push_back(row);
            }
            break;
        case TableChange::Kind::RowsRemoved:
            shown_.erase(std::lower_bound(shown_.begin(), shown_.end(), change.first),
                         shown_.end());
            break;
        case TableChange::Kind::ColumnsInserted:
        case TableChange::Kind::ColumnsRemoved:
            break;
    }
}

void RecordFilter::RowMoved(int from, int to) {
    if (!on_) {
        return;
    }
    const bool moving = PositionOf(from).has_value();
    if (moving) {
        shown_.erase(shown_.begin() + PositionFrom(from));
    }
    // The records between close the gap `from` left and open the one at `to`.
    const int step = from < to ? -1 : 1;
    const auto first = shown_.begin() + PositionFrom(std::min(from, to));
    const auto last = shown_.begin() + PositionFrom(std::max(from, to) + 1);
    std::for_each(first, last, [step](int& row) { row += step; });
    if (moving) {
        shown_.insert(std::lower_bound(shown_.begin(), shown_.end(), to), to);
    }
}

void RecordFilter::RowsPermuted(int firstRow, const std::vector<int>& order) {
    if (!on_) {
        return;
    }
    const auto first = shown_.begin() + PositionFrom(firstRow);
    const auto last = shown_.begin() + PositionFrom(firstRow + static_cast<int>(order.size()));
    std::vector<char> wasShown(order.size(), 0);
    for (auto it = first; it != last; ++it) {
        wasShown[static_cast<size_t>(*it - firstRow)] = 1;
    }
    auto out = first;
    for (size_t i = 0; i < order.size(); ++i) {
        if (wasShown[static_cast<size_t>(order[i])]) {
            *out++ = firstRow + static_cast<int>(i);
        }
    }
}

}  // namespace tabulon
