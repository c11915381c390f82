#pragma once
// The result list of the element search: the records whose chosen item
// matches, with their row numbers, as they were at the search. Modeless. A
// double-click on a record asks for it to become the table's current row.

#include <string>

#include "ResultWindow.h"
#include "SearchRequest.h"
#include "search/RecordFilter.h"

class FoundRecordsModel;

class FoundRecordsWindow : public ResultWindow {
    Q_OBJECT

  public:
    FoundRecordsWindow(QWidget* mainWindow, const tabulon::TableModel& model);

    // Lists the records whose item request.item matches `text` (the request's
    // text in cp932); shows this window and returns true when there is any,
    // otherwise returns false and leaves the window as it was.
    bool showSearch(const SearchRequest& request, const std::string& text,
                    const tabulon::RecordFilter* shown);

  signals:
    // The row number as the chosen line shows it.
    void recordChosen(const QString& row);

  private:
    void chooseSelectedLine();

    FoundRecordsModel* records_ = nullptr;
};
