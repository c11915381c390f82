#pragma once
// The result list of find all. It exists from start-up to the end and is only shown and hidden.

#include <QWidget>

class TfoListUp : public QWidget {
  public:
    explicit TfoListUp(QWidget* mainWindow);
};

extern TfoListUp* foListUp;
