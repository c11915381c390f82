#pragma once
// The item-name editor: every item name of the table as a numbered list, and
// with it the number of item columns. It exists from start-up to the end and
// is only shown and hidden.

#include <QDialog>

class EntryList;
class QPushButton;
class TfoMain;

class TfoItems : public QDialog {
    Q_OBJECT

  public:
    explicit TfoItems(TfoMain* mainWindow);

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void FormCreate();
    void FormShow();
    void FormResize();
    void btOkClick();

    TfoMain* main_;
    EntryList* sgItems = nullptr;
    QPushButton* btOk = nullptr;
    QPushButton* btCancel = nullptr;
};

extern TfoItems* foItems;
