#pragma once
// The result list of the element search. It exists from start-up to the end and is only shown and
// hidden.

#include <QWidget>

class TfoElement : public QWidget {
  public:
    explicit TfoElement(QWidget* mainWindow);
};

extern TfoElement* foElement;
