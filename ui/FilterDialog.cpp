#include "FilterDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "EntryList.h"
#include "table/ItemLabels.h"

using namespace Qt::StringLiterals;

FilterDialog::FilterDialog(QWidget* mainWindow, const tabulon::TableModel& model)
    : EntryListDialog(mainWindow, model,
                      {u"filterDialog"_s, u"絞り込み"_s, u"conditionList"_s, 150, 200,
                       u"絞り込む"_s, u"filterButton"_s, u"閉じる"_s, u"closeButton"_s}) {
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    const auto check = [this](const char* name, const QString& caption) {
        auto* created = new QCheckBox(caption, this);
        created->setObjectName(QString::fromLatin1(name));
        return created;
    };
    matchCaseBox_ = check("matchCaseBox", u"大文字と小文字を区別する(&C)"_s);
    matchWidthBox_ = check("matchWidthBox", u"全角と半角を区別する(&B)"_s);
    wholeCellBox_ = check("wholeCellBox", u"完全に一致するものだけ(&O)"_s);
    auto* clearButton = new QPushButton(u"解除"_s, this);
    clearButton->setObjectName(u"clearButton"_s);
    clearButton->setAutoDefault(false);
    closeButton_->setAutoDefault(false);
    connect(clearButton, &QPushButton::clicked, this, [this] {
        emit filterCleared();
        accept();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {applyButton_, clearButton, closeButton_}) {
        button->setFixedSize(75, 25);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    for (QCheckBox* box : {matchCaseBox_, matchWidthBox_, wholeCellBox_}) {
        layout->addWidget(box);
    }
    layout->addLayout(buttons);
    resize(400, 360);
}

void FilterDialog::refill() {
    list_->Fill(tabulon::ItemLabels(model_), conditions_);
}

void FilterDialog::apply() {
    conditions_ = list_->Entries();
    emit filterRequested(conditions_, {matchCaseBox_->isChecked(), wholeCellBox_->isChecked(),
                                       matchWidthBox_->isChecked()});
}

void FilterDialog::hideEvent(QHideEvent* event) {
    // However the dialog closed, the table it blocked gets the keyboard back.
    if (!event->spontaneous()) {
        parentWidget()->activateWindow();
    }
    EntryListDialog::hideEvent(event);
}
