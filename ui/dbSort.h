#pragma once
// The sort dialog: the user picks a key item and one of six orders, and the
// records are reordered by SortRecords. It exists from start-up to the end and is
// only shown and hidden; while it is open the main window takes no input.

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class TfoMain;

class TfoSort : public QWidget {
    Q_OBJECT

  public:
    explicit TfoSort(TfoMain* mainWindow);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void FormShow();
    void Button1Click();

    TfoMain& main_;
    QLabel* Label1 = nullptr;
    QComboBox* cbBasic = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cbSort = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

extern TfoSort* foSort;
