#pragma once
// The sort dialog. It exists from start-up to the end and is only shown and hidden.

#include <QWidget>

class TfoSort : public QWidget {
  public:
    explicit TfoSort(QWidget* mainWindow);
};

extern TfoSort* foSort;
