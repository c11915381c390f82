#include "dbWidth.h"

#include <QPushButton>
#include <QShowEvent>

#include "EntryList.h"
#include "ItemNames.h"
#include "ViewGeometry.h"
#include "dbMain.h"

using namespace Qt::StringLiterals;

TfoWidth* foWidth = nullptr;

namespace {

constexpr int kListHeight = 194;
// The buttons keep their distance to the bottom and left edges.
constexpr int kButtonsAboveBottom = 37;

}  // namespace

TfoWidth::TfoWidth(TfoMain* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint),
      main_(mainWindow) {
    setObjectName(u"foWidth"_s);
    setWindowTitle(u"横幅の変更"_s);

    sgWidth = new EntryList(150, 51, this);
    sgWidth->setObjectName(u"sgWidth"_s);
    sgWidth->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(sgWidth, &EntryList::charactersRefused, main_, &TfoMain::RefuseCharacters);

    btOk = new QPushButton(u"適用"_s, this);
    btOk->setObjectName(u"btOk"_s);
    btOk->setDefault(true);
    btCancel = new QPushButton(u"閉じる"_s, this);
    btCancel->setObjectName(u"btCancel"_s);
    connect(btOk, &QPushButton::clicked, this, [this] { btOkClick(); });
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    resize(236, 268);
}

void TfoWidth::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TfoWidth::FormShow() {
    const tabulon::TableModel& model = main_->Model();
    std::vector<std::string> widths;
    for (int c = 1; c < model.ColCount(); ++c) {
        widths.push_back(std::to_string(model.GetColWidth(c)));
    }
    sgWidth->Fill(tabulon::ItemNames(model), widths);
}

void TfoWidth::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    sgWidth->setGeometry(0, 0, width(), kListHeight);
    const int top = height() - kButtonsAboveBottom;
    btOk->setGeometry(32, top, 75, 25);
    btCancel->setGeometry(120, top, 75, 25);
}

void TfoWidth::btOkClick() {
    main_->RunCommand([this] { tabulon::ApplyColumnWidths(main_->Model(), sgWidth->Entries()); });
}
