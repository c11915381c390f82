#pragma once
// The three panels of the main window's status bar: 300 pixels for menu
// hints, 80 centred for the position, 50 and the rest for the cell text. The
// panels keep their widths and are cut off by a narrow window rather than
// widening it.

#include <QWidget>
#include <array>

class QLabel;

class StatusPanels : public QWidget {
  public:
    explicit StatusPanels(QWidget* parent);

    void SetText(int panel, const QString& text);
    QString Text(int panel) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    std::array<QLabel*, 3> labels_;
};
