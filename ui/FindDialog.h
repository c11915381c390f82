#pragma once
// The find dialog: search text with its history, scope, direction, the three
// options, on its second tab the item for the element search, and on its third
// the replacement text with a history of its own. Modeless and on top; it
// exists from start-up to the end and is only shown and hidden (Esc and 閉じる
// hide it). Its controls are the whole state of a search, kept while it is
// hidden; its buttons ask the main window to search or replace.

#include <QDialog>
#include "RefillOnShow.h"
#include "SearchRequest.h"
#include "table/TableModel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabBar;

class FindDialog : public RefillOnShow<QDialog> {
    Q_OBJECT

  public:
    FindDialog(QWidget* mainWindow, const tabulon::TableModel& model);

    QString searchText() const;
    QString replacementText() const;
    // The item chosen on the element-search tab: column itemIndex() + 1.
    int itemIndex() const;
    // Adds the search text to the history unless it is there already.
    void rememberSearchText();
    // The same for the replacement text, in its own history.
    void rememberReplacement();
    // Presses the find-next button, also while the dialog is hidden.
    void pressFindNext();

  signals:
    void searchRequested(SearchKind kind, const SearchRequest& request);

  protected:
    void refill() override;

  private:
    void createControls();
    void showTab(int index);
    void enableDirection();
    SearchRequest request() const;

    const tabulon::TableModel& model_;

    QTabBar* tabs_ = nullptr;
    QLabel* searchTextLabel_ = nullptr;
    QComboBox* searchTextBox_ = nullptr;
    QLabel* itemLabel_ = nullptr;
    QComboBox* itemList_ = nullptr;
    QLabel* replacementLabel_ = nullptr;
    QComboBox* replacementBox_ = nullptr;
    QLabel* scopeLabel_ = nullptr;
    QComboBox* scopeList_ = nullptr;
    QLabel* directionLabel_ = nullptr;
    QComboBox* directionList_ = nullptr;
    QCheckBox* matchCaseBox_ = nullptr;
    QCheckBox* wholeCellBox_ = nullptr;
    QCheckBox* matchWidthBox_ = nullptr;
    QPushButton* findNextButton_ = nullptr;
    QPushButton* findAllButton_ = nullptr;
    QPushButton* replaceNextButton_ = nullptr;
    QPushButton* replaceAllButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};
