#pragma once
// The column-width dialog. It exists from start-up to the end and is only shown and hidden.

#include <QWidget>

class TfoWidth : public QWidget {
  public:
    explicit TfoWidth(QWidget* mainWindow);
};

extern TfoWidth* foWidth;
