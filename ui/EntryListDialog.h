#pragma once
// What the item-name and column-width dialogs share: a numbered entry list
// filled from the table each time the dialog opens, a button that hands the
// entries to the main window and one that closes. Characters cp932 cannot
// hold are refused as the user types them.

#include <QDialog>

#include "RefillOnShow.h"
#include "table/TableModel.h"

class EntryList;
class QPushButton;

struct EntryListLayout {
    QString objectName;
    QString title;
    QString listName;
    int labelWidth;
    int entryWidth;
    QString applyCaption;
    QString applyName;
    QString closeCaption;
    QString closeName;
};

class EntryListDialog : public RefillOnShow<QDialog> {
    Q_OBJECT

  signals:
    void charactersRefused(const QString& characters);

  protected:
    EntryListDialog(QWidget* mainWindow, const tabulon::TableModel& model,
                    const EntryListLayout& layout);

    // The apply button was pressed.
    virtual void apply() = 0;

    const tabulon::TableModel& model_;
    EntryList* list_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};
