#pragma once
// The column-width dialog: the width of each item column, applied while the
// table stays usable.

#include <string>
#include <vector>

#include "EntryListDialog.h"

class ColumnWidthsDialog : public EntryListDialog {
    Q_OBJECT

  public:
    ColumnWidthsDialog(QWidget* mainWindow, const tabulon::TableModel& model);

  signals:
    void widthsApplied(const std::vector<std::string>& widths);

  protected:
    void refill() override;
    void apply() override;
    void resizeEvent(QResizeEvent* event) override;
};
