#include "FindDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <vector>

#include "Cp932Text.h"
#include "WindowFont.h"
#include "search/SearchHistory.h"
#include "table/ItemLabels.h"
#include "text/Cp932.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kClientWidth = 454;
constexpr int kClientHeight = 166;

// Adds the box's text to its history unless the history holds it already.
void Remember(QComboBox& box) {
    std::vector<std::string> history;
    for (int i = 0; i < box.count(); ++i) {
        history.push_back(tabulon::Utf8ToCp932(box.itemText(i).toStdString()).bytes);
    }
    const QString text = box.currentText();
    if (!tabulon::InHistory(history, tabulon::Utf8ToCp932(text.toStdString()).bytes)) {
        box.addItem(text);
    }
}

}  // namespace

FindDialog::FindDialog(QWidget* mainWindow, const tabulon::TableModel& model)
    : RefillOnShow(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                                   Qt::MSWindowsFixedSizeDialogHint),
      model_(model) {
    setObjectName(u"findDialog"_s);
    setWindowTitle(u"検索"_s);
    setFont(WindowFont());
    setFixedSize(kClientWidth, kClientHeight);
    createControls();
}

void FindDialog::createControls() {
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
    const auto textWithHistory = [this](const char* name, const QRect& bounds) {
        auto* created = new QComboBox(this);
        created->setObjectName(QString::fromLatin1(name));
        created->setEditable(true);
        created->setInsertPolicy(QComboBox::NoInsert);  // Remember keeps the history
        created->setCompleter(nullptr);
        created->setMaxVisibleItems(8);
        created->setGeometry(bounds);
        return created;
    };
    const auto check = [this](const char* name, const QString& caption, int top) {
        auto* created = new QCheckBox(caption, this);
        created->setObjectName(QString::fromLatin1(name));
        created->setGeometry(8, top, 284, 18);
        return created;
    };
    const auto button = [this](const char* name, const QString& caption, int left, int width = 92) {
        auto* created = new QPushButton(caption, this);
        created->setObjectName(QString::fromLatin1(name));
        created->setGeometry(left, 140, width, 23);
        return created;
    };

    // Flat-button tabs, 75 pixels each with their margin; the controls below
    // are the same on every tab and are shown, hidden or disabled by the tab.
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(u"tabs"_s);
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    tabs_->setStyleSheet(
        u"QTabBar::tab { width: 71px; height: 20px; margin-right: 2px;"
        u" border: 1px solid transparent; border-radius: 2px; }"
        u"QTabBar::tab:selected { border-color: palette(dark); background: palette(midlight); }"
        u"QTabBar::tab:hover:!selected { border-color: palette(mid); }"_s);
    tabs_->addTab(u"検索(&D)"_s);
    tabs_->addTab(u"要素検索(&E)"_s);
    tabs_->addTab(u"置換(&R)"_s);
    tabs_->setGeometry(4, 4, 240, 24);

    searchTextBox_ = textWithHistory("searchTextBox", {124, 32, 322, 22});
    searchTextLabel_ =
        label("searchTextLabel", u"検索する文字列(&T):"_s, searchTextBox_, {8, 32, 114, 22});

    // The item list and the replacement take turns in the same place.
    itemList_ = list("itemList", {}, {124, 58, 160, 22});
    itemLabel_ = label("itemLabel", u"検索する要素(&D):"_s, itemList_, {8, 58, 114, 22});
    replacementBox_ = textWithHistory("replacementBox", {124, 58, 160, 22});
    replacementLabel_ =
        label("replacementLabel", u"置換後の文字列(&W):"_s, replacementBox_, {8, 58, 114, 22});
    scopeList_ = list("scopeList", {u"全体"_s, u"指定"_s}, {382, 58, 64, 22});
    scopeLabel_ = label("scopeLabel", u"検索場所(&H):"_s, scopeList_, {300, 58, 80, 22});
    directionList_ = list("directionList", {u"行"_s, u"列"_s}, {382, 84, 64, 22});
    directionLabel_ =
        label("directionLabel", u"検索方向(&S):"_s, directionList_, {300, 84, 80, 22});
    matchCaseBox_ = check("matchCaseBox", u"大文字と小文字を区別する(&C)"_s, 84);
    wholeCellBox_ = check("wholeCellBox", u"セル内容が完全に同一であるものを検索する(&O)"_s, 101);
    matchWidthBox_ = check("matchWidthBox", u"半角と全角を区別する(&B)"_s, 118);

    // The replace tab shows its two buttons, a little wider for their
    // captions, left of find next and over the place of find all.
    replaceAllButton_ = button("replaceAllButton", u"すべて置換(&A)"_s, 36, 104);
    findAllButton_ = button("findAllButton", u"すべて検索(&I)"_s, 158);
    replaceNextButton_ = button("replaceNextButton", u"置換して次へ(&N)"_s, 146, 104);
    findNextButton_ = button("findNextButton", u"次を検索(&F)"_s, 256);
    closeButton_ = button("closeButton", u"閉じる"_s, 354);
    findNextButton_->setDefault(true);

    showTab(0);

    QWidget* const order[] = {
        tabs_,          searchTextBox_,     replacementBox_, itemList_,      scopeList_,
        directionList_, matchCaseBox_,      wholeCellBox_,   matchWidthBox_, replaceAllButton_,
        findAllButton_, replaceNextButton_, findNextButton_, closeButton_};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    connect(tabs_, &QTabBar::currentChanged, this, &FindDialog::showTab);
    connect(scopeList_, &QComboBox::activated, this, &FindDialog::enableDirection);
    connect(findNextButton_, &QPushButton::clicked, this,
            [this] { emit searchRequested(SearchKind::FindNext, request()); });
    connect(findAllButton_, &QPushButton::clicked, this, [this] {
        emit searchRequested(
            tabs_->currentIndex() == 0 ? SearchKind::FindAll : SearchKind::FindRecords, request());
    });
    connect(replaceNextButton_, &QPushButton::clicked, this,
            [this] { emit searchRequested(SearchKind::ReplaceNext, request()); });
    connect(replaceAllButton_, &QPushButton::clicked, this,
            [this] { emit searchRequested(SearchKind::ReplaceAll, request()); });
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::hide);
}

QString FindDialog::searchText() const {
    return searchTextBox_->currentText();
}

QString FindDialog::replacementText() const {
    return replacementBox_->currentText();
}

int FindDialog::itemIndex() const {
    return itemList_->currentIndex();
}

void FindDialog::pressFindNext() {
    findNextButton_->click();
}

void FindDialog::refill() {
    searchTextBox_->setFocus();
    itemList_->clear();
    for (const std::string& name : tabulon::ItemLabels(model_)) {
        itemList_->addItem(FromCp932(name));
    }
    itemList_->setCurrentIndex(0);
}

// The replace tab is the first tab plus the replacement, with the replace
// buttons in the place of find all.
void FindDialog::showTab(int index) {
    const bool element = index == 1;
    const bool replace = index == 2;
    itemLabel_->setVisible(element);
    itemList_->setVisible(element);
    replacementLabel_->setVisible(replace);
    replacementBox_->setVisible(replace);
    scopeLabel_->setEnabled(!element);
    scopeList_->setEnabled(!element);
    enableDirection();
    findNextButton_->setVisible(!element);
    findAllButton_->setVisible(!replace);
    replaceNextButton_->setVisible(replace);
    replaceAllButton_->setVisible(replace);
}

// The direction matters only for a search of the specified row or column.
void FindDialog::enableDirection() {
    const bool direction = scopeList_->isEnabled() && scopeList_->currentIndex() == 1;
    directionLabel_->setEnabled(direction);
    directionList_->setEnabled(direction);
}

// The indices as they stand, also when the lists are disabled.
SearchRequest FindDialog::request() const {
    return {searchText(),
            static_cast<tabulon::FindScope>(scopeList_->currentIndex()),
            static_cast<tabulon::FindDirection>(directionList_->currentIndex()),
            {matchCaseBox_->isChecked(), wholeCellBox_->isChecked(), matchWidthBox_->isChecked()},
            itemIndex(),
            itemList_->currentText(),
            replacementText()};
}

void FindDialog::rememberSearchText() {
    Remember(*searchTextBox_);
}

void FindDialog::rememberReplacement() {
    Remember(*replacementBox_);
}
