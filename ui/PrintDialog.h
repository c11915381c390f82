#pragma once
// The print commands' own dialog: which records (every one, those the filter
// shows, the selected cells), the table or カード形式, the paper and its
// orientation. The ranges the table does not offer at the moment are off.

#include <QDialog>

#include "PrintOptions.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

class PrintDialog : public QDialog {
  public:
    PrintDialog(QWidget* parent, const PrintOptions& initial);

    PrintOptions Chosen() const;

  private:
    PrintOptions options_;
    QRadioButton* all_ = nullptr;
    QRadioButton* shown_ = nullptr;
    QRadioButton* selection_ = nullptr;
    QCheckBox* cards_ = nullptr;
    QComboBox* paper_ = nullptr;
    QRadioButton* portrait_ = nullptr;
    QRadioButton* landscape_ = nullptr;
};
