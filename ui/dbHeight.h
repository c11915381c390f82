#pragma once
// The row-height dialog: the one height that all rows share. It exists from
// start-up to the end and is only shown and hidden.

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;
class TfoMain;

class TfoHeight : public QDialog {
    Q_OBJECT

  public:
    explicit TfoHeight(TfoMain* mainWindow);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();
    void Button1Click();

    TfoMain* main_;
    QLabel* Label1 = nullptr;
    QSpinBox* seHeight = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

extern TfoHeight* foHeight;
