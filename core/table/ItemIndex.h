#pragma once
// An item counted from 0, as the dialogs' lists and the command line number
// them; its column in the table is one more, since column 0 holds the marker.
// A type of its own, so that an item is never passed where a column is meant.

namespace tabulon {

struct ItemIndex {
    int value = 0;
    constexpr int Column() const { return value + 1; }
    bool operator==(const ItemIndex&) const = default;
};

}  // namespace tabulon
