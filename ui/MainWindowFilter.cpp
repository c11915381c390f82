// The filter of the main window: applied from its dialog or to the current
// cell's value, removed, and followed after every command so that the current
// cell stays on a shown record and the status bar counts what is shown.

#include <QLabel>

#include "FilterDialog.h"
#include "MainWindow.h"
#include "Prompts.h"
#include "TableGrid.h"
#include "TableItemModel.h"
#include "text/IntegerText.h"
#include "text/Messages.h"

using namespace Qt::StringLiterals;

const tabulon::RecordFilter* MainWindow::shownRecords() const {
    return filter_.IsOn() ? &filter_ : nullptr;
}

void MainWindow::applyFilter(const std::vector<std::string>& conditions,
                             tabulon::FindOptions options) {
    std::vector<tabulon::FilterCondition> items;
    for (size_t i = 0; i < conditions.size(); ++i) {
        items.push_back({tabulon::ItemIndex{static_cast<int>(i)}, conditions[i]});
    }
    int shown = 0;
    runCommand([&] {
        history_.EndCellEdit();
        itemModel_->ChangeFilter([&] { shown = filter_.Apply(items, options); });
    });
    if (shown == 0) {
        prompts_.Inform(filterDialog_->isVisible() ? static_cast<QWidget*>(filterDialog_) : this,
                        QString::fromUtf8(tabulon::messages::kNoneFound));
        return;
    }
    filterDialog_->close();
    grid_->setFocus();
}

void MainWindow::filterByCurrentValue() {
    std::vector<std::string> conditions(static_cast<size_t>(model_.CurrentCol()));
    conditions.back() = model_.GetCell(model_.CurrentCol(), model_.CurrentRow());
    // The cell's own text, whole and exactly. An empty cell gives no condition.
    if (conditions.back().empty()) {
        return;
    }
    applyFilter(conditions, {true, true, true});
}

void MainWindow::clearFilter() {
    if (filter_.IsOn()) {
        itemModel_->ChangeFilter([this] { filter_.Clear(); });
        grid_->setFocus();
    }
}

void MainWindow::followFilter() {
    if (filter_.IsOn() && filter_.Count() == 0) {
        clearFilter();  // nothing left to show
    }
    if (filter_.IsOn() && !filter_.PositionOf(model_.CurrentRow())) {
        const int row = model_.CurrentRow();
        const int next = filter_.NextShown(row);
        model_.SetCurrentRow(next < model_.RowCount() ? next : filter_.PreviousShown(row));
    }
    filterLabel_->setVisible(filter_.IsOn());
    if (filter_.IsOn()) {
        filterLabel_->setText(u"%1 / %2 件を表示"_s.arg(
            QString::fromStdString(tabulon::GroupedDigits(filter_.Count())),
            QString::fromStdString(tabulon::GroupedDigits(model_.RowCount() - 2))));
    }
}
