#include "RowHeightDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

RowHeightDialog::RowHeightDialog(QWidget* mainWindow, const tabulon::TableModel& model)
    : RefillOnShow(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowCloseButtonHint),
      model_(model) {
    setObjectName(u"rowHeightDialog"_s);
    setWindowTitle(u"高さの変更"_s);
    setFixedSize(186, 118);

    heightLabel_ = new QLabel(u"高さ"_s, this);
    heightLabel_->setObjectName(u"heightLabel"_s);
    heightLabel_->setGeometry(16, 12, 137, 14);
    heightBox_ = new QSpinBox(this);
    heightBox_->setObjectName(u"heightBox"_s);
    heightBox_->setGeometry(16, 30, 137, 22);
    // Four digits either way: every height typed above the largest the grid
    // shows still ends as the largest (the table takes it so), the arrows stop
    // somewhere sane, and the box never holds two thousand million pixels.
    heightBox_->setRange(-9999, 9999);
    // A text that is no number, the empty one included, reads as 0.
    heightBox_->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    heightLabel_->setBuddy(heightBox_);

    okButton_ = new QPushButton(u"OK"_s, this);
    okButton_->setObjectName(u"okButton"_s);
    okButton_->setGeometry(12, 80, 75, 25);
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(u"キャンセル"_s, this);
    cancelButton_->setObjectName(u"cancelButton"_s);
    cancelButton_->setGeometry(98, 80, 75, 25);
    connect(okButton_, &QPushButton::clicked, this, &RowHeightDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void RowHeightDialog::refill() {
    heightBox_->setValue(model_.RowHeight());
    heightBox_->selectAll();
    heightBox_->setFocus();
}

void RowHeightDialog::accept() {
    // The text may still be half typed when the button is clicked.
    heightBox_->interpretText();
    emit heightAccepted(heightBox_->value());
    QDialog::accept();
}
