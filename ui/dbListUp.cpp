#include "dbListUp.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "FoundCells.h"
#include "FoundCellsModel.h"
#include "IntegerText.h"
#include "Prompts.h"
#include "ResultGrid.h"
#include "SecondaryWindow.h"
#include "WindowFont.h"
#include "dbFind.h"
#include "dbMain.h"

using namespace Qt::StringLiterals;

TfoListUp* foListUp = nullptr;

TfoListUp::TfoListUp(TfoMain& main, Prompts& prompts)
    : ToolDialog(&main, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                            Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      main_(main),
      prompts_(prompts) {
    setObjectName(u"foListUp"_s);
    setWindowTitle(u"すべて検索"_s);
    setFont(WindowFont());
    FormCreate();
    resize(401, 344);
}

void TfoListUp::FormCreate() {
    list_ = new FoundCellsModel(this);
    sgList = new ResultGrid(list_, this);
    sgList->setObjectName(u"sgList"_s);
    sgList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgList->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgList->setColumnWidth(0, 50);
    sgList->setColumnWidth(1, 50);
    sgList->installEventFilter(this);

    auto* paOption = new QWidget(this);
    paOption->setObjectName(u"paOption"_s);
    paOption->setFixedHeight(45);
    btClose = new QPushButton(u"閉じる"_s, paOption);
    btClose->setObjectName(u"btClose"_s);
    btClose->setGeometry(8, 11, 75, 23);
    btClose->setDefault(true);
    laText = new QLabel(u"検索文字列 :"_s, paOption);
    laText->setObjectName(u"laText"_s);
    laCount = new QLabel(u"条件適合数 :"_s, paOption);
    laCount->setObjectName(u"laCount"_s);
    for (QLabel* label : {laText, laCount}) {
        label->setTextFormat(Qt::PlainText);
    }
    auto* labels = new QVBoxLayout;
    labels->setContentsMargins(92, 5, 8, 5);
    labels->setSpacing(2);
    labels->addWidget(laText);
    labels->addWidget(laCount);
    paOption->setLayout(labels);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(sgList, 1);
    layout->addWidget(paOption);

    connect(sgList, &ResultGrid::dblClick, this, [this] { sgListDblClick(); });
    connect(btClose, &QPushButton::clicked, this, [this] { btCloseClick(); });
}

void TfoListUp::FindAll(tabulon::FindScope place, tabulon::FindDirection way,
                        tabulon::FindOptions options) {
    const std::string search = foFind->SearchBytes();
    list_->SetCells({});
    laText->setText(u"検索文字列 : "_s + foFind->SearchText());
    foFind->FindItemAdd();
    auto& model = main_.Model();
    tabulon::FoundCells found(
        model, tabulon::FindAllCells(model, {model.CurrentCol(), model.CurrentRow()}, search, place,
                                     way, options));
    if (found.size() == 0) {
        prompts_.Inform(foFind, QString::fromUtf8(tabulon::messages::kNoneFound));
        return;
    }
    const size_t hits = found.size();
    list_->SetCells(std::move(found));
    laCount->setText(u"条件適合数 : "_s + QString::number(hits));
    ShowSecondaryWindow(main_, *this, WindowPlacement::Centred, MainWindowInput::Usable);
    foFind->hide();
    activateWindow();
    sgList->setFocus();
}

bool TfoListUp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sgList && event->type() == QEvent::Resize) {
        FormResize();
    }
    return QDialog::eventFilter(watched, event);
}

void TfoListUp::FormResize() {
    // The three columns fill the grid beside its vertical scroll bar.
    sgList->setColumnWidth(2, sgList->width() - 125);
}

void TfoListUp::sgListDblClick() {
    main_.RunCommand([this] {
        const int col = tabulon::ReadInteger(sgList->SelectedText(0).toStdString());
        const int row = tabulon::ReadInteger(sgList->SelectedText(1).toStdString());
        main_.Model().SetCurrentCell(col, row);
    });
}

void TfoListUp::btCloseClick() {
    hide();
}
