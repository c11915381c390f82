#include "ColumnWidthsDialog.h"

#include <QPushButton>

#include "EntryList.h"
#include "table/ItemLabels.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kListHeight = 194;
// The buttons keep their distance to the bottom and left edges.
constexpr int kButtonsAboveBottom = 37;

}  // namespace

ColumnWidthsDialog::ColumnWidthsDialog(QWidget* mainWindow, const tabulon::TableModel& model)
    : EntryListDialog(mainWindow, model,
                      {u"columnWidthsDialog"_s, u"横幅の変更"_s, u"widthList"_s, 150, 51, u"適用"_s,
                       u"applyButton"_s, u"閉じる"_s, u"closeButton"_s}) {
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    resize(236, 268);
}

void ColumnWidthsDialog::refill() {
    std::vector<std::string> widths;
    for (int c = 1; c < model_.ColCount(); ++c) {
        widths.push_back(std::to_string(model_.GetColWidth(c)));
    }
    list_->Fill(tabulon::ItemLabels(model_), widths);
}

void ColumnWidthsDialog::resizeEvent(QResizeEvent* event) {
    EntryListDialog::resizeEvent(event);
    list_->setGeometry(0, 0, width(), kListHeight);
    const int top = height() - kButtonsAboveBottom;
    applyButton_->setGeometry(32, top, 75, 25);
    closeButton_->setGeometry(120, top, 75, 25);
}

void ColumnWidthsDialog::apply() {
    emit widthsApplied(list_->Entries());
}
