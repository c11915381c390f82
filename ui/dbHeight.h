#pragma once
// The row-height dialog. It exists from start-up to the end and is only shown and hidden.

#include <QWidget>

class TfoHeight : public QWidget {
  public:
    explicit TfoHeight(QWidget* mainWindow);
};

extern TfoHeight* foHeight;
