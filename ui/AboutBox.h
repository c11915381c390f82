#pragma once
// The about box: the program's name and version, the credits with their
// links, the animated status line and the developers' notice. Borderless;
// a click anywhere but on a link, Esc, Enter or Space closes it. It exists from start-up to the
// end and is only shown and hidden.

#include <QUrl>
#include <QWidget>
#include <functional>

class LinkLabel;
class QLabel;
class QTimer;

class AboutBox : public QWidget {
    Q_OBJECT

  public:
    explicit AboutBox(QWidget* mainWindow);

    // How a link's target is opened; the desktop's open service unless replaced.
    using LinkOpener = std::function<void(const QUrl& target)>;
    void setLinkOpener(LinkOpener opener) { openLink_ = std::move(opener); }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QLabel* addLabel(const QString& text, const QRect& geometry, const QColor& colour, bool bold);
    LinkLabel* addLink(const QString& text, const QUrl& target, const QPoint& where);
    void advanceDots();

    LinkOpener openLink_;
    QTimer* dotsTimer_ = nullptr;
    QLabel* conditionLabel_ = nullptr;
    QLabel* dotsLabel_ = nullptr;
};
