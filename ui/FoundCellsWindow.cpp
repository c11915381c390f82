#include "FoundCellsWindow.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>

#include "FoundCellsModel.h"
#include "ResultGrid.h"
#include "search/FoundCells.h"
#include "text/IntegerText.h"

using namespace Qt::StringLiterals;

FoundCellsWindow::FoundCellsWindow(QWidget* mainWindow, const tabulon::TableModel& model)
    : ResultWindow(mainWindow, model, Qt::WindowStaysOnTopHint) {
    setObjectName(u"foundCellsWindow"_s);
    setWindowTitle(u"すべて検索"_s);
    list_ = new FoundCellsModel(this);
    createLayout(
        list_, u"hitsView"_s,
        {45,
         11,
         {{u"searchTextLabel"_s, u"検索文字列 :"_s}, {u"countLabel"_s, u"条件適合数 :"_s}}});
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->setColumnWidth(0, 50);
    view_->setColumnWidth(1, 50);
    view_->installEventFilter(this);
    connect(view_, &ResultGrid::lineChosen, this, &FoundCellsWindow::chooseSelectedLine);
    resize(401, 344);
}

bool FoundCellsWindow::showSearch(const SearchRequest& request, const std::string& text,
                                  const tabulon::RecordFilter* shown) {
    list_->SetCells({});
    footerLabel(0)->setText(u"検索文字列 : "_s + request.text);
    tabulon::FoundCells found(
        model_, tabulon::FindAllCells(model_, {model_.CurrentCol(), model_.CurrentRow()}, text,
                                      request.scope, request.direction, request.options, shown));
    if (found.size() == 0) {
        return false;
    }
    footerLabel(1)->setText(u"条件適合数 : "_s + QString::fromStdString(tabulon::GroupedDigits(
                                                     static_cast<int64_t>(found.size()))));
    list_->SetCells(std::move(found));
    showResults();
    return true;
}

bool FoundCellsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::Resize) {
        // The three columns fill the grid beside its vertical scroll bar.
        view_->setColumnWidth(2, view_->width() - 125);
    }
    return ResultWindow::eventFilter(watched, event);
}

void FoundCellsWindow::chooseSelectedLine() {
    emit cellChosen(view_->SelectedText(0), view_->SelectedText(1));
}
