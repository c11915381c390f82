#pragma once
// The sort dialog: the user picks a key item and one of six orders and asks
// the main window to sort. It exists from start-up to the end and is only
// shown and hidden; while it is open the main window takes no input.

#include <QWidget>

#include "RefillOnShow.h"
#include "edit/RecordSort.h"
#include "table/TableModel.h"

class QComboBox;
class QLabel;
class QPushButton;

class SortDialog : public RefillOnShow<QWidget> {
    Q_OBJECT

  public:
    SortDialog(QWidget* mainWindow, const tabulon::TableModel& model);

  signals:
    // The main window closes the dialog once the sort went through.
    void sortRequested(int keyItem, tabulon::SortOrder order);

  protected:
    void refill() override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    const tabulon::TableModel& model_;
    QLabel* keyItemLabel_ = nullptr;
    QComboBox* keyItemList_ = nullptr;
    QLabel* orderLabel_ = nullptr;
    QComboBox* orderList_ = nullptr;
    QPushButton* sortButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};
