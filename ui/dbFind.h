#pragma once
// The find dialog. It exists from start-up to the end and is only shown and hidden.

#include <QWidget>

class TfoFind : public QWidget {
  public:
    explicit TfoFind(QWidget* mainWindow);
};

extern TfoFind* foFind;
