#pragma once
// The item-name editor: every item name of the table as a numbered list; the
// run of names up to the first empty entry becomes the table's item columns.
// Items that would go with their text are removed only when the user agrees.

#include <string>
#include <vector>

#include "EntryListDialog.h"

class Prompts;

class ItemNamesDialog : public EntryListDialog {
    Q_OBJECT

  public:
    ItemNamesDialog(QWidget* mainWindow, const tabulon::TableModel& model, Prompts& prompts);

  signals:
    void namesAccepted(const std::vector<std::string>& entries);

  protected:
    void refill() override;
    void apply() override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    Prompts& prompts_;
};
