#include "dbFind.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <vector>

#include "Cp932.h"
#include "Prompts.h"
#include "SearchHistory.h"
#include "WindowFont.h"
#include "dbElement.h"
#include "dbListUp.h"
#include "dbMain.h"

using namespace Qt::StringLiterals;

TfoFind* foFind = nullptr;

namespace {

constexpr int kClientWidth = 454;
constexpr int kClientHeight = 166;

QString Decoded(std::string_view cp932) {
    return QString::fromStdString(tabulon::Cp932ToUtf8(cp932));
}

}  // namespace

TfoFind::TfoFind(TfoMain& main, Prompts& prompts)
    : ToolDialog(&main, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                            Qt::MSWindowsFixedSizeDialogHint),
      main_(main),
      prompts_(prompts) {
    setObjectName(u"foFind"_s);
    setWindowTitle(u"検索"_s);
    setFont(WindowFont());
    setFixedSize(kClientWidth, kClientHeight);
    CreateComponents();
}

void TfoFind::CreateComponents() {
    const auto label = [this](const char* name, const QString& caption, QWidget* buddy,
                              const QRect& bounds) {
        auto* created = new QLabel(caption, this);
        created->setObjectName(QString::fromLatin1(name));
        created->setBuddy(buddy);
        created->setGeometry(bounds);
        return created;
    };
    const auto list = [this](const char* name, const QStringList& items, const QRect& bounds) {
        auto* created = new QComboBox(this);
        created->setObjectName(QString::fromLatin1(name));
        created->addItems(items);
        created->setGeometry(bounds);
        return created;
    };
    const auto check = [this](const char* name, const QString& caption, int top) {
        auto* created = new QCheckBox(caption, this);
        created->setObjectName(QString::fromLatin1(name));
        created->setGeometry(8, top, 284, 18);
        return created;
    };
    const auto button = [this](const char* name, const QString& caption, int left) {
        auto* created = new QPushButton(caption, this);
        created->setObjectName(QString::fromLatin1(name));
        created->setGeometry(left, 140, 92, 23);
        return created;
    };

    // Flat-button tabs, 75 pixels each with their margin; the controls below
    // are the same on both tabs and are shown, hidden or disabled by the tab.
    tcControl = new QTabBar(this);
    tcControl->setObjectName(u"tcControl"_s);
    tcControl->setDrawBase(false);
    tcControl->setExpanding(false);
    tcControl->setStyleSheet(
        u"QTabBar::tab { width: 71px; height: 20px; margin-right: 2px;"
        u" border: 1px solid transparent; border-radius: 2px; }"
        u"QTabBar::tab:selected { border-color: palette(dark); background: palette(midlight); }"
        u"QTabBar::tab:hover:!selected { border-color: palette(mid); }"_s);
    tcControl->addTab(u"検索(&D)"_s);
    tcControl->addTab(u"要素検索(&E)"_s);
    tcControl->setGeometry(4, 4, 160, 24);

    cbText = new QComboBox(this);
    cbText->setObjectName(u"cbText"_s);
    cbText->setEditable(true);
    cbText->setInsertPolicy(QComboBox::NoInsert);  // FindItemAdd keeps the history
    cbText->setCompleter(nullptr);
    cbText->setMaxVisibleItems(8);
    cbText->setGeometry(124, 32, 322, 22);
    stText = label("stText", u"検索する文字列(&T):"_s, cbText, {8, 32, 114, 22});

    cbElement = list("cbElement", {}, {124, 58, 160, 22});
    laElement = label("laElement", u"検索する要素(&D):"_s, cbElement, {8, 58, 114, 22});
    cbPlace = list("cbPlace", {u"全体"_s, u"指定"_s}, {382, 58, 64, 22});
    stPlace = label("stPlace", u"検索場所(&H):"_s, cbPlace, {300, 58, 80, 22});
    cbWay = list("cbWay", {u"行"_s, u"列"_s}, {382, 84, 64, 22});
    stWay = label("stWay", u"検索方向(&S):"_s, cbWay, {300, 84, 80, 22});
    cbBig = check("cbBig", u"大文字と小文字を区別する(&C)"_s, 84);
    cbPerfect = check("cbPerfect", u"セル内容が完全に同一であるものを検索する(&O)"_s, 101);
    cbHalf = check("cbHalf", u"半角と全角を区別する(&B)"_s, 118);

    btFindAll = button("btFindAll", u"すべて検索(&I)"_s, 158);
    btFind = button("btFind", u"次を検索(&F)"_s, 256);
    btClose = button("btClose", u"閉じる"_s, 354);
    btFind->setDefault(true);

    laElement->hide();
    cbElement->hide();
    stWay->setEnabled(false);
    cbWay->setEnabled(false);

    QWidget* const order[] = {tcControl, cbText, cbElement, cbPlace, cbWay,  cbBig,
                              cbPerfect, cbHalf, btFindAll, btFind,  btClose};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    connect(tcControl, &QTabBar::currentChanged, this,
            [this](int index) { tcControlChange(index); });
    connect(cbPlace, &QComboBox::activated, this, [this](int index) { cbPlaceSelect(index); });
    connect(btFind, &QPushButton::clicked, this,
            [this] { main_.RunCommand([this] { btFindClick(); }); });
    connect(btFindAll, &QPushButton::clicked, this,
            [this] { main_.RunCommand([this] { btFindAllClick(); }); });
    connect(btClose, &QPushButton::clicked, this, [this] { btCloseClick(); });
}

QString TfoFind::SearchText() const {
    return cbText->currentText();
}

std::string TfoFind::SearchBytes() const {
    return tabulon::Utf8ToCp932OrThrow(SearchText().toStdString());
}

int TfoFind::ElementIndex() const {
    return cbElement->currentIndex();
}

QString TfoFind::ElementName() const {
    return cbElement->currentText();
}

void TfoFind::PressFind() {
    btFind->click();
}

void TfoFind::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TfoFind::FormShow() {
    cbText->setFocus();
    const auto& model = main_.Model();
    cbElement->clear();
    for (int col = 1; col < model.ColCount(); ++col) {
        cbElement->addItem(Decoded(model.GetCell(col, 0)));
    }
    cbElement->setCurrentIndex(0);
}

void TfoFind::tcControlChange(int index) {
    const bool element = index == 1;
    laElement->setVisible(element);
    cbElement->setVisible(element);
    stPlace->setEnabled(!element);
    cbPlace->setEnabled(!element);
    const bool way = !element && cbPlace->currentIndex() == 1;
    stWay->setEnabled(way);
    cbWay->setEnabled(way);
    btFind->setVisible(!element);
}

void TfoFind::cbPlaceSelect(int index) {
    stWay->setEnabled(index == 1);
    cbWay->setEnabled(index == 1);
}

tabulon::FindOptions TfoFind::Options() const {
    return {cbBig->isChecked(), cbPerfect->isChecked(), cbHalf->isChecked()};
}

tabulon::FindScope TfoFind::Place() const {
    return static_cast<tabulon::FindScope>(cbPlace->currentIndex());
}

tabulon::FindDirection TfoFind::Way() const {
    return static_cast<tabulon::FindDirection>(cbWay->currentIndex());
}

void TfoFind::btFindClick() {
    // The indices as they stand, also when the lists are disabled.
    FindNext(Place(), Way(), Options());
}

void TfoFind::btFindAllClick() {
    if (tcControl->currentIndex() == 0) {
        foListUp->FindAll(Place(), Way(), Options());
    } else {
        foElement->ElementFind(ElementIndex(), Options());
    }
}

void TfoFind::btCloseClick() {
    hide();
}

void TfoFind::FindItemAdd() {
    std::vector<std::string> history;
    for (int i = 0; i < cbText->count(); ++i) {
        history.push_back(tabulon::Utf8ToCp932(cbText->itemText(i).toStdString()).bytes);
    }
    const QString text = SearchText();
    if (!tabulon::InHistory(history, tabulon::Utf8ToCp932(text.toStdString()).bytes)) {
        cbText->addItem(text);
    }
}

void TfoFind::FindNext(tabulon::FindScope place, tabulon::FindDirection way,
                       tabulon::FindOptions options) {
    const std::string search = SearchBytes();
    FindItemAdd();
    auto& model = main_.Model();
    const auto found = tabulon::FindNextCell(model, {model.CurrentCol(), model.CurrentRow()},
                                             search, place, way, options);
    if (!found) {
        prompts_.Inform(MessageParent(), QString::fromUtf8(tabulon::messages::kNotFound));
        return;
    }
    model.SetCurrentCell(found->col, found->row);
}

QWidget* TfoFind::MessageParent() {
    return isVisible() ? static_cast<QWidget*>(this) : &main_;
}
