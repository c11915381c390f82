#pragma once
// The result list of the element search: the records whose chosen item
// matches, with their row numbers, as they were at the search. Modeless; it
// exists from start-up to the end and is only shown and hidden. A double-click
// on a record makes its cell in the searched item the table's current cell.

#include "FindOptions.h"
#include "ToolDialog.h"

class FoundRecordsModel;
class Prompts;
class QLabel;
class QPushButton;
class ResultGrid;
class TfoMain;

class TfoElement : public ToolDialog {
  public:
    TfoElement(TfoMain& main, Prompts& prompts);

    // Lists the records whose item `item` (column item + 1) matches the find
    // dialog's search text; shows this window when there is any, otherwise
    // tells that there is none and leaves this window as it was.
    void ElementFind(int item, tabulon::FindOptions options);

  private:
    void FormCreate();
    void sgElementDblClick();
    void btCloseClick();

    TfoMain& main_;
    Prompts& prompts_;
    FoundRecordsModel* records_ = nullptr;

    ResultGrid* sgElement = nullptr;
    QPushButton* btClose = nullptr;
    QLabel* laText = nullptr;
    QLabel* laCount = nullptr;
    QLabel* laFindElement = nullptr;
};

extern TfoElement* foElement;
