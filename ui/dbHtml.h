#pragma once
// The HTML export dialog. It exists from start-up to the end and is only shown and hidden.

#include <QWidget>

class TfoHtml : public QWidget {
  public:
    explicit TfoHtml(QWidget* mainWindow);
};

extern TfoHtml* foHtml;
