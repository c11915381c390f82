#include "dbSort.h"

#include <QComboBox>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "Cp932.h"
#include "DialogButton.h"
#include "RecordSort.h"
#include "dbMain.h"

using namespace Qt::StringLiterals;

TfoSort* foSort = nullptr;

namespace {

constexpr int kMargin = 17;
constexpr int kListWidth = 161;

}  // namespace

TfoSort::TfoSort(TfoMain* mainWindow)
    : QWidget(mainWindow, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint),
      main_(*mainWindow) {
    setObjectName(u"foSort"_s);
    setWindowTitle(u"整列"_s);
    setFixedSize(195, 159);

    Label1 = new QLabel(u"基準項目"_s, this);
    Label1->setObjectName(u"Label1"_s);
    Label1->move(kMargin, 10);
    cbBasic = new QComboBox(this);
    cbBasic->setObjectName(u"cbBasic"_s);
    cbBasic->setGeometry(kMargin, 28, kListWidth, cbBasic->sizeHint().height());

    Label2 = new QLabel(u"整列方法"_s, this);
    Label2->setObjectName(u"Label2"_s);
    Label2->move(kMargin, 64);
    cbSort = new QComboBox(this);
    cbSort->setObjectName(u"cbSort"_s);
    // The positions are the order numbers SortRecords takes; the first is selected.
    cbSort->addItems({u"アイウエオ順（昇順）"_s, u"アイウエオ順（降順）"_s, u"文字数順（昇順）"_s,
                      u"文字数順（降順）"_s, u"バイト数順（昇順）"_s, u"バイト数順（降順）"_s});
    cbSort->setGeometry(kMargin, 82, kListWidth, cbSort->sizeHint().height());

    Button1 = MakeDialogButton(u"開始(&S)"_s, u"Button1"_s, this);
    Button1->move(kMargin, 124);
    Button2 = MakeDialogButton(u"キャンセル(&C)"_s, u"Button2"_s, this);
    // Right-aligned under the lists unless widened buttons would meet.
    Button2->move(
        std::max(kMargin + kListWidth - Button2->width(), Button1->x() + Button1->width() + 4),
        124);

    setTabOrder(cbBasic, cbSort);
    setTabOrder(cbSort, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, &QWidget::close);
}

void TfoSort::showEvent(QShowEvent* event) {
    // A spontaneous show is the window coming back from minimised, not opening.
    if (!event->spontaneous()) {
        FormShow();
    }
    QWidget::showEvent(event);
}

void TfoSort::hideEvent(QHideEvent* event) {
    // However the dialog closed, the table it blocked gets the keyboard back.
    if (!event->spontaneous()) {
        main_.activateWindow();
    }
    QWidget::hideEvent(event);
}

// The list is refilled from the item names; the first entry of a list filled
// from empty is the selected one. The order list keeps its choice.
void TfoSort::FormShow() {
    const tabulon::TableModel& model = main_.Model();
    cbBasic->clear();
    for (int c = 1; c < model.ColCount(); ++c) {
        cbBasic->addItem(QString::fromStdString(tabulon::Cp932ToUtf8(model.GetCell(c, 0))));
    }
}

void TfoSort::Button1Click() {
    bool sorted = false;
    main_.RunCommand([this, &sorted] {
        tabulon::SortRecords(main_.Model(), cbBasic->currentIndex(),
                             tabulon::SortOrder{cbSort->currentIndex()});
        sorted = true;
    });
    if (sorted) {
        close();
    }
}
