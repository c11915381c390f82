#include "dbHeight.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <limits>

#include "ViewGeometry.h"
#include "dbMain.h"

using namespace Qt::StringLiterals;

TfoHeight* foHeight = nullptr;

TfoHeight::TfoHeight(TfoMain* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint),
      main_(mainWindow) {
    setObjectName(u"foHeight"_s);
    setWindowTitle(u"高さの変更"_s);
    setFixedSize(186, 118);

    Label1 = new QLabel(u"高さ"_s, this);
    Label1->setObjectName(u"Label1"_s);
    Label1->setGeometry(16, 12, 137, 14);
    seHeight = new QSpinBox(this);
    seHeight->setObjectName(u"seHeight"_s);
    seHeight->setGeometry(16, 30, 137, 22);
    seHeight->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    // A text that is no number, the empty one included, reads as 0.
    seHeight->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    Label1->setBuddy(seHeight);

    Button1 = new QPushButton(u"OK"_s, this);
    Button1->setObjectName(u"Button1"_s);
    Button1->setGeometry(12, 80, 75, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(u"キャンセル"_s, this);
    Button2->setObjectName(u"Button2"_s);
    Button2->setGeometry(98, 80, 75, 25);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TfoHeight::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TfoHeight::FormShow() {
    seHeight->setValue(main_->Model().RowHeight());
    seHeight->selectAll();
    seHeight->setFocus();
}

void TfoHeight::Button1Click() {
    // The text may still be half typed when the button is clicked.
    seHeight->interpretText();
    main_->RunCommand([this] { tabulon::ApplyRowHeight(main_->Model(), seHeight->value()); });
    accept();
}
