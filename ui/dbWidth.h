#pragma once
// The column-width dialog: the width of each item column, applied while the
// table stays usable. It exists from start-up to the end and is only shown
// and hidden.

#include <QDialog>

class EntryList;
class QPushButton;
class TfoMain;

class TfoWidth : public QDialog {
    Q_OBJECT

  public:
    explicit TfoWidth(TfoMain* mainWindow);

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void FormShow();
    void btOkClick();

    TfoMain* main_;
    EntryList* sgWidth = nullptr;
    QPushButton* btOk = nullptr;
    QPushButton* btCancel = nullptr;
};

extern TfoWidth* foWidth;
