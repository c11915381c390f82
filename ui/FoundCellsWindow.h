#pragma once
// The result list of find all: every matching cell with its position and its
// text as it was at the search. Modeless and on top. A double-click on a line
// asks for that cell to become the table's current cell.

#include <string>

#include "ResultWindow.h"
#include "SearchRequest.h"
#include "search/RecordFilter.h"

class FoundCellsModel;

class FoundCellsWindow : public ResultWindow {
    Q_OBJECT

  public:
    FoundCellsWindow(QWidget* mainWindow, const tabulon::TableModel& model);

    // Lists the cells matching `text` (the request's text in cp932) from the
    // table's current cell; shows this window when there is any and returns
    // whether there was. The list is emptied first either way.
    bool showSearch(const SearchRequest& request, const std::string& text,
                    const tabulon::RecordFilter* shown);

  signals:
    // The column and row numbers as the chosen line shows them.
    void cellChosen(const QString& col, const QString& row);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void chooseSelectedLine();

    FoundCellsModel* list_ = nullptr;
};
