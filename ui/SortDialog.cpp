#include "SortDialog.h"

#include <QComboBox>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "Cp932Text.h"
#include "DialogButton.h"
#include "table/ItemLabels.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kMargin = 17;
constexpr int kListWidth = 161;

}  // namespace

SortDialog::SortDialog(QWidget* mainWindow, const tabulon::TableModel& model)
    : RefillOnShow(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowCloseButtonHint),
      model_(model) {
    setObjectName(u"sortDialog"_s);
    setWindowTitle(u"整列"_s);
    setFixedSize(195, 159);

    keyItemLabel_ = new QLabel(u"基準項目"_s, this);
    keyItemLabel_->setObjectName(u"keyItemLabel"_s);
    keyItemLabel_->move(kMargin, 10);
    keyItemList_ = new QComboBox(this);
    keyItemList_->setObjectName(u"keyItemList"_s);
    keyItemList_->setGeometry(kMargin, 28, kListWidth, keyItemList_->sizeHint().height());

    orderLabel_ = new QLabel(u"整列方法"_s, this);
    orderLabel_->setObjectName(u"orderLabel"_s);
    orderLabel_->move(kMargin, 64);
    orderList_ = new QComboBox(this);
    orderList_->setObjectName(u"orderList"_s);
    // Listed in the order SortOrder numbers them; the first is selected.
    orderList_->addItems({u"アイウエオ順（昇順）"_s, u"アイウエオ順（降順）"_s,
                          u"文字数順（昇順）"_s, u"文字数順（降順）"_s, u"バイト数順（昇順）"_s,
                          u"バイト数順（降順）"_s});
    orderList_->setGeometry(kMargin, 82, kListWidth, orderList_->sizeHint().height());

    sortButton_ = MakeDialogButton(u"開始(&S)"_s, u"sortButton"_s, this);
    sortButton_->move(kMargin, 124);
    cancelButton_ = MakeDialogButton(u"キャンセル(&C)"_s, u"cancelButton"_s, this);
    // Right-aligned under the lists unless widened buttons would meet.
    cancelButton_->move(std::max(kMargin + kListWidth - cancelButton_->width(),
                                 sortButton_->x() + sortButton_->width() + 4),
                        124);

    setTabOrder(keyItemList_, orderList_);
    setTabOrder(orderList_, sortButton_);
    setTabOrder(sortButton_, cancelButton_);

    connect(sortButton_, &QPushButton::clicked, this, [this] {
        emit sortRequested(keyItemList_->currentIndex(),
                           tabulon::SortOrder{orderList_->currentIndex()});
    });
    connect(cancelButton_, &QPushButton::clicked, this, &QWidget::close);
}

void SortDialog::hideEvent(QHideEvent* event) {
    // However the dialog closed, the table it blocked gets the keyboard back.
    if (!event->spontaneous()) {
        parentWidget()->activateWindow();
    }
    QWidget::hideEvent(event);
}

void SortDialog::keyPressEvent(QKeyEvent* event) {
    // Esc cancels, as the cancel button does.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

// The key list is refilled from the item names (an unnamed item by its
// number, so that the entries can be told apart); the first entry of a list
// filled from empty is the selected one. The order list keeps its choice.
void SortDialog::refill() {
    keyItemList_->clear();
    for (const std::string& name : tabulon::ItemLabels(model_)) {
        keyItemList_->addItem(FromCp932(name));
    }
}
