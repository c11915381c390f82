#include "dbElement.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "FoundRecords.h"
#include "FoundRecordsModel.h"
#include "IntegerText.h"
#include "Prompts.h"
#include "ResultGrid.h"
#include "SecondaryWindow.h"
#include "TableSearch.h"
#include "WindowFont.h"
#include "dbFind.h"
#include "dbMain.h"

using namespace Qt::StringLiterals;

TfoElement* foElement = nullptr;

namespace {

constexpr int kRowNumberWidth = 50;

}  // namespace

TfoElement::TfoElement(TfoMain& main, Prompts& prompts)
    : ToolDialog(&main, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                            Qt::WindowCloseButtonHint),
      main_(main),
      prompts_(prompts) {
    setObjectName(u"foElement"_s);
    setWindowTitle(u"要素検索"_s);
    setFont(WindowFont());
    FormCreate();
    resize(433, 423);
}

void TfoElement::FormCreate() {
    records_ = new FoundRecordsModel(this);
    sgElement = new ResultGrid(records_, this);
    sgElement->setObjectName(u"sgElement"_s);
    sgElement->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    sgElement->horizontalHeader()->setDefaultSectionSize(70);
    sgElement->setColumnWidth(0, kRowNumberWidth);

    auto* paOption = new QWidget(this);
    paOption->setObjectName(u"paOption"_s);
    paOption->setFixedHeight(60);
    btClose = new QPushButton(u"閉じる"_s, paOption);
    btClose->setObjectName(u"btClose"_s);
    btClose->setGeometry(8, 18, 75, 23);
    btClose->setDefault(true);
    laText = new QLabel(u"検索文字列 :"_s, paOption);
    laText->setObjectName(u"laText"_s);
    laCount = new QLabel(u"条件適合数 :"_s, paOption);
    laCount->setObjectName(u"laCount"_s);
    laFindElement = new QLabel(u"検索要素 :"_s, paOption);
    laFindElement->setObjectName(u"laFindElement"_s);
    auto* labels = new QVBoxLayout;
    labels->setContentsMargins(92, 5, 8, 5);
    labels->setSpacing(2);
    for (QLabel* label : {laText, laCount, laFindElement}) {
        label->setTextFormat(Qt::PlainText);
        labels->addWidget(label);
    }
    // The shorter name stands further right, so that the three colons align.
    laFindElement->setIndent(fontMetrics().horizontalAdvance(u"検索文字列"_s) -
                             fontMetrics().horizontalAdvance(u"検索要素"_s));
    paOption->setLayout(labels);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(sgElement, 1);
    layout->addWidget(paOption);

    connect(sgElement, &ResultGrid::dblClick, this, [this] { sgElementDblClick(); });
    connect(btClose, &QPushButton::clicked, this, [this] { btCloseClick(); });
}

void TfoElement::ElementFind(int item, tabulon::FindOptions options) {
    const std::string search = foFind->SearchBytes();
    auto& model = main_.Model();
    std::vector<int> rows = tabulon::FindRecordsByItem(model, item, search, options);
    if (rows.empty()) {
        prompts_.Inform(foFind, QString::fromUtf8(tabulon::messages::kNoneFound));
        return;
    }
    foFind->hide();
    const size_t count = rows.size();
    // Column 0 keeps its width (the user may have dragged it); the others take
    // the table's.
    const int rowNumberWidth = sgElement->columnWidth(0);
    records_->SetRecords(tabulon::FoundRecords(model, std::move(rows)));
    const tabulon::FoundRecords& records = records_->Records();
    sgElement->setColumnWidth(0, rowNumberWidth);
    for (int col = 1; col <= records.Columns(); ++col) {
        sgElement->setColumnWidth(col, records.Width(col));
    }
    laText->setText(u"検索文字列 : "_s + foFind->SearchText());
    laCount->setText(u"条件適合数 : "_s + QString::number(count));
    laFindElement->setText(u"検索要素 : "_s + foFind->ElementName());
    ShowSecondaryWindow(main_, *this, WindowPlacement::Centred, MainWindowInput::Usable);
    sgElement->setFocus();
}

void TfoElement::sgElementDblClick() {
    bool moved = false;
    main_.RunCommand([this, &moved] {
        // The column is the item selected in the find dialog now, which may no
        // longer be the one searched.
        const int col = foFind->ElementIndex() + 1;
        const int row = tabulon::ReadInteger(sgElement->SelectedText(0).toStdString());
        main_.Model().SetCurrentCell(col, row);
        moved = true;
    });
    if (moved) {
        main_.activateWindow();
    }
}

void TfoElement::btCloseClick() {
    hide();
}
