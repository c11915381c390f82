#pragma once
// The about box. It exists from start-up to the end and is only shown and hidden.

#include <QWidget>

class TfoVarsion : public QWidget {
  public:
    explicit TfoVarsion(QWidget* mainWindow);
};

extern TfoVarsion* foVarsion;
