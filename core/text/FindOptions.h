#pragma once
// The three switches of every search, as the find dialog's check boxes set
// them. All off (the default) ignores case and width and looks for containment.

namespace tabulon {

struct FindOptions {
    bool MatchCase = false;   // tell upper and lower case apart
    bool WholeCell = false;   // the whole cell must equal the search text
    bool MatchWidth = false;  // tell half-width and full-width forms apart
};

}  // namespace tabulon
