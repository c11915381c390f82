#pragma once
// The filter dialog: a condition for each item and the three options of the
// find dialog. 絞り込む asks the main window to show only the records whose
// cells match every condition given, 解除 to show them all again. The
// conditions stay for the next opening; the main window takes no input meanwhile.

#include <string>
#include <vector>

#include "EntryListDialog.h"
#include "text/FindOptions.h"

class QCheckBox;

class FilterDialog : public EntryListDialog {
    Q_OBJECT

  public:
    FilterDialog(QWidget* mainWindow, const tabulon::TableModel& model);

  signals:
    // The conditions in cp932, one per item from the first; the main window
    // closes the dialog once the filter is on.
    void filterRequested(const std::vector<std::string>& conditions, tabulon::FindOptions options);
    void filterCleared();

  protected:
    void refill() override;
    void apply() override;
    void hideEvent(QHideEvent* event) override;

  private:
    std::vector<std::string> conditions_;
    QCheckBox* matchCaseBox_ = nullptr;
    QCheckBox* matchWidthBox_ = nullptr;
    QCheckBox* wholeCellBox_ = nullptr;
};
