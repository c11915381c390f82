#pragma once
// The item-name editor. It exists from start-up to the end and is only shown and hidden.

#include <QWidget>

class TfoItems : public QWidget {
  public:
    explicit TfoItems(QWidget* mainWindow);
};

extern TfoItems* foItems;
