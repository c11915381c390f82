#include "dbItem.h"

#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "EntryList.h"
#include "ItemNames.h"
#include "dbMain.h"

using namespace Qt::StringLiterals;

TfoItems* foItems = nullptr;

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

TfoItems::TfoItems(TfoMain* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint),
      main_(mainWindow) {
    setObjectName(u"foItems"_s);
    setWindowTitle(u"項目編集"_s);

    sgItems = new EntryList(30, 219, this);
    sgItems->setObjectName(u"sgItems"_s);
    sgItems->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(sgItems, &EntryList::charactersRefused, main_, &TfoMain::RefuseCharacters);

    auto* panel = new QWidget(this);
    panel->setObjectName(u"Panel1"_s);
    panel->setFixedHeight(38);
    btOk = new QPushButton(u"OK"_s, panel);
    btOk->setObjectName(u"btOk"_s);
    btOk->setGeometry(96, 7, 75, 25);
    btOk->setDefault(true);
    btCancel = new QPushButton(u"キャンセル"_s, panel);
    btCancel->setObjectName(u"btCancel"_s);
    btCancel->setGeometry(180, 7, 75, 25);
    connect(btOk, &QPushButton::clicked, this, [this] { btOkClick(); });
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(sgItems, 1);
    layout->addWidget(panel);

    resize(279, 333);
    FormCreate();
}

void TfoItems::FormCreate() {
    sgItems->Fill(EntryNumbers(kEntries), {});
}

void TfoItems::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TfoItems::FormShow() {
    const std::vector<std::string> names = tabulon::ItemNames(main_->Model());
    sgItems->Fill(EntryNumbers(std::max(names.size(), size_t{kEntries})), names);
}

void TfoItems::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfoItems::FormResize() {
    sgItems->horizontalHeader()->resizeSection(0, width() - kBesideNames);
}

void TfoItems::btOkClick() {
    main_->RunCommand([this] { tabulon::ApplyNameList(main_->Model(), sgItems->Entries()); });
    accept();
}
