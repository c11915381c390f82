#pragma once
// A label of the about box that stands for a link: underlined, #3399FF, and
// #FF6666 while the mouse is over it. A left click on it reports its target;
// every other mouse event passes through to the box.

#include <QLabel>
#include <QUrl>

class LinkLabel : public QLabel {
    Q_OBJECT

  public:
    LinkLabel(const QString& text, const QUrl& target, QWidget* parent);

    const QUrl& Target() const { return target_; }

  signals:
    void clicked(const QUrl& target);

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void SetColour(const QColor& colour);

    QUrl target_;
};
