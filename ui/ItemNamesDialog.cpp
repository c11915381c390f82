#include "ItemNamesDialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "EntryList.h"
#include "Prompts.h"
#include "edit/ItemNames.h"
#include "text/IntegerText.h"

using namespace Qt::StringLiterals;

namespace {

// The list always offers at least this many entries; a table with more items
// shows them all, so that none is hidden from the user or lost on OK.
constexpr int kEntries = 100;
// The number column and the vertical scroll bar beside the names.
constexpr int kBesideNames = 52;

std::vector<std::string> EntryNumbers(size_t count) {
    std::vector<std::string> numbers;
    for (size_t i = 1; i <= count; ++i) {
        numbers.push_back(std::to_string(i));
    }
    return numbers;
}

}  // namespace

ItemNamesDialog::ItemNamesDialog(QWidget* mainWindow, const tabulon::TableModel& model,
                                 Prompts& prompts)
    : EntryListDialog(mainWindow, model,
                      {u"itemNamesDialog"_s, u"項目編集"_s, u"nameList"_s, 30, 219, u"OK"_s,
                       u"okButton"_s, u"キャンセル"_s, u"cancelButton"_s}),
      prompts_(prompts) {
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto* panel = new QWidget(this);
    panel->setObjectName(u"buttonPanel"_s);
    panel->setFixedHeight(38);
    applyButton_->setParent(panel);
    applyButton_->setGeometry(96, 7, 75, 25);
    closeButton_->setParent(panel);
    closeButton_->setGeometry(180, 7, 75, 25);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(list_, 1);
    layout->addWidget(panel);

    resize(279, 333);
}

void ItemNamesDialog::refill() {
    const std::vector<std::string> names = tabulon::ItemNames(model_);
    list_->Fill(EntryNumbers(std::max(names.size(), size_t{kEntries})), names);
}

void ItemNamesDialog::resizeEvent(QResizeEvent* event) {
    EntryListDialog::resizeEvent(event);
    list_->horizontalHeader()->resizeSection(0, width() - kBesideNames);
}

void ItemNamesDialog::apply() {
    // いいえ keeps the dialog open with the entries as typed.
    const std::vector<std::string> entries = list_->Entries();
    const int losing = tabulon::DroppedColumnsWithText(model_, entries);
    if (losing > 0 &&
        !prompts_.AskYesNo(
            this,
            u"項目を %1 個削除します。それらの項目のデータも失われます。よろしいですか？"_s.arg(
                QString::fromStdString(tabulon::GroupedDigits(losing))))) {
        return;
    }
    emit namesAccepted(entries);
    accept();
}
