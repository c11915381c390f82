#pragma once
// The find dialog: search text with its history, scope, direction, the three
// options, and on its second tab the item for the element search. Modeless and
// on top; it exists from start-up to the end and is only shown and hidden. Its
// controls are the whole state of a search, kept while it is hidden.

#include <string>

#include "FindOptions.h"
#include "TableSearch.h"
#include "ToolDialog.h"

class Prompts;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabBar;
class TfoMain;

class TfoFind : public ToolDialog {
  public:
    TfoFind(TfoMain& main, Prompts& prompts);

    // What the main window and the result lists read of the dialog.
    QString SearchText() const;
    // The search text as the table compares it; throws if cp932 cannot hold it.
    std::string SearchBytes() const;
    int ElementIndex() const;
    QString ElementName() const;

    void FindItemAdd();
    // Presses btFind, also while it is hidden (find next from the main window).
    void PressFind();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void CreateComponents();
    void FormShow();
    void tcControlChange(int index);
    void cbPlaceSelect(int index);
    void btFindClick();
    void btFindAllClick();
    void btCloseClick();
    void FindNext(tabulon::FindScope place, tabulon::FindDirection way,
                  tabulon::FindOptions options);
    tabulon::FindOptions Options() const;
    tabulon::FindScope Place() const;
    tabulon::FindDirection Way() const;
    // The window a message box belongs to: this one if shown, else the main one.
    QWidget* MessageParent();

    TfoMain& main_;
    Prompts& prompts_;

    QTabBar* tcControl = nullptr;
    QLabel* stText = nullptr;
    QComboBox* cbText = nullptr;
    QLabel* laElement = nullptr;
    QComboBox* cbElement = nullptr;
    QLabel* stPlace = nullptr;
    QComboBox* cbPlace = nullptr;
    QLabel* stWay = nullptr;
    QComboBox* cbWay = nullptr;
    QCheckBox* cbBig = nullptr;
    QCheckBox* cbPerfect = nullptr;
    QCheckBox* cbHalf = nullptr;
    QPushButton* btFind = nullptr;
    QPushButton* btFindAll = nullptr;
    QPushButton* btClose = nullptr;
};

extern TfoFind* foFind;
