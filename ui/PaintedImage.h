#pragma once
// A picture drawn by a function rather than loaded from a file. It takes no
// mouse events of its own: clicks reach the window beneath.

#include <QWidget>
#include <functional>

class PaintedImage : public QWidget {
  public:
    using Painter = std::function<void(QPainter& painter, const QRect& area)>;

    PaintedImage(Painter paint, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Painter paint_;
};
