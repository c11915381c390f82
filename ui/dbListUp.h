#pragma once
// The result list of find all: every matching cell with its position and its
// text as it was at the search. Modeless and on top; it exists from start-up
// to the end and is only shown and hidden. A double-click on a line makes that
// cell the table's current cell.

#include "FindOptions.h"
#include "TableSearch.h"
#include "ToolDialog.h"

class FoundCellsModel;
class Prompts;
class QLabel;
class QPushButton;
class ResultGrid;
class TfoMain;

class TfoListUp : public ToolDialog {
  public:
    TfoListUp(TfoMain& main, Prompts& prompts);

    // Lists the cells that match the find dialog's search text; shows this
    // window when there is any, otherwise tells that there is none.
    void FindAll(tabulon::FindScope place, tabulon::FindDirection way,
                 tabulon::FindOptions options);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void FormResize();
    void sgListDblClick();
    void btCloseClick();

    TfoMain& main_;
    Prompts& prompts_;
    FoundCellsModel* list_ = nullptr;

    ResultGrid* sgList = nullptr;
    QPushButton* btClose = nullptr;
    QLabel* laText = nullptr;
    QLabel* laCount = nullptr;
};

extern TfoListUp* foListUp;
