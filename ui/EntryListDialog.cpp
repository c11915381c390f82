#include "EntryListDialog.h"

#include <QPushButton>

#include "EntryList.h"

EntryListDialog::EntryListDialog(QWidget* mainWindow, const tabulon::TableModel& model,
                                 const EntryListLayout& layout)
    : RefillOnShow(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint),
      model_(model) {
    setObjectName(layout.objectName);
    setWindowTitle(layout.title);
    list_ = new EntryList(layout.labelWidth, layout.entryWidth, this);
    list_->setObjectName(layout.listName);
    connect(list_, &EntryList::charactersRefused, this, &EntryListDialog::charactersRefused);
    applyButton_ = new QPushButton(layout.applyCaption, this);
    applyButton_->setObjectName(layout.applyName);
    applyButton_->setDefault(true);
    closeButton_ = new QPushButton(layout.closeCaption, this);
    closeButton_->setObjectName(layout.closeName);
    connect(applyButton_, &QPushButton::clicked, this, [this] { apply(); });
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
}
