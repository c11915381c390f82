#pragma once
// The row-height dialog: the one height that all rows share.

#include <QDialog>

#include "RefillOnShow.h"
#include "table/TableModel.h"

class QLabel;
class QPushButton;
class QSpinBox;

class RowHeightDialog : public RefillOnShow<QDialog> {
    Q_OBJECT

  public:
    RowHeightDialog(QWidget* mainWindow, const tabulon::TableModel& model);

  signals:
    void heightAccepted(int height);

  protected:
    void refill() override;

  private:
    void accept() override;

    const tabulon::TableModel& model_;
    QLabel* heightLabel_ = nullptr;
    QSpinBox* heightBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};
