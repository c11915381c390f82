#pragma once
// The item-name editor: every item name of the table as a numbered list; the
// run of names up to the first empty entry becomes the table's item columns.

#include <string>
#include <vector>

#include "EntryListDialog.h"

class ItemNamesDialog : public EntryListDialog {
    Q_OBJECT

  public:
    ItemNamesDialog(QWidget* mainWindow, const tabulon::TableModel& model);

  signals:
    void namesAccepted(const std::vector<std::string>& entries);

  protected:
    void refill() override;
    void apply() override;
    void resizeEvent(QResizeEvent* event) override;
};
