#include "FoundRecordsWindow.h"

#include <QHeaderView>
#include <QLabel>

#include "FoundRecordsModel.h"
#include "ResultGrid.h"
#include "search/FoundRecords.h"
#include "search/TableSearch.h"
#include "text/IntegerText.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kRowNumberWidth = 50;

}  // namespace

FoundRecordsWindow::FoundRecordsWindow(QWidget* mainWindow, const tabulon::TableModel& model)
    : ResultWindow(mainWindow, model, {}) {
    setObjectName(u"foundRecordsWindow"_s);
    setWindowTitle(u"要素検索"_s);
    records_ = new FoundRecordsModel(this);
    createLayout(records_, u"recordsView"_s,
                 {60,
                  18,
                  {{u"searchTextLabel"_s, u"検索文字列 :"_s},
                   {u"countLabel"_s, u"条件適合数 :"_s},
                   {u"itemLabel"_s, u"検索要素 :"_s}}});
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view_->horizontalHeader()->setDefaultSectionSize(70);
    view_->setColumnWidth(0, kRowNumberWidth);
    // The shorter name stands further right, so that the three colons align.
    footerLabel(2)->setIndent(fontMetrics().horizontalAdvance(u"検索文字列"_s) -
                              fontMetrics().horizontalAdvance(u"検索要素"_s));
    connect(view_, &ResultGrid::lineChosen, this, &FoundRecordsWindow::chooseSelectedLine);
    resize(433, 423);
}

bool FoundRecordsWindow::showSearch(const SearchRequest& request, const std::string& text,
                                    const tabulon::RecordFilter* shown) {
    std::vector<int> rows = tabulon::FindRecordsByItem(model_, tabulon::ItemIndex{request.item},
                                                       text, request.options, shown);
    if (rows.empty()) {
        return false;
    }
    const size_t count = rows.size();
    // Column 0 keeps its width (the user may have dragged it); the others take
    // the table's.
    const int rowNumberWidth = view_->columnWidth(0);
    records_->SetRecords(tabulon::FoundRecords(model_, std::move(rows)));
    const tabulon::FoundRecords& records = records_->Records();
    view_->setColumnWidth(0, rowNumberWidth);
    for (int col = 1; col <= records.Columns(); ++col) {
        view_->setColumnWidth(col, records.Width(col));
    }
    footerLabel(0)->setText(u"検索文字列 : "_s + request.text);
    footerLabel(1)->setText(u"条件適合数 : "_s + QString::fromStdString(tabulon::GroupedDigits(
                                                     static_cast<int64_t>(count))));
    footerLabel(2)->setText(u"検索要素 : "_s + request.itemName);
    showResults();
    return true;
}

void FoundRecordsWindow::chooseSelectedLine() {
    emit recordChosen(view_->SelectedText(0));
}
