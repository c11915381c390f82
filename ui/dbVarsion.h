#pragma once
// The about box: the program's name and version, the credits with their
// links, the animated status line and the developers' notice. Borderless;
// a click anywhere but on a link closes it. It exists from start-up to the
// end and is only shown and hidden.

#include <QUrl>
#include <QWidget>
#include <functional>

class LinkLabel;
class QLabel;
class QTimer;

class TfoVarsion : public QWidget {
    Q_OBJECT

  public:
    explicit TfoVarsion(QWidget* mainWindow);

    // How a link's target is opened; the desktop's open service unless replaced.
    using LinkOpener = std::function<void(const QUrl& target)>;
    void SetLinkOpener(LinkOpener opener) { openLink_ = std::move(opener); }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QLabel* AddLabel(const QString& text, const QRect& geometry, const QColor& colour, bool bold);
    LinkLabel* AddLink(const QString& text, const QUrl& target, const QPoint& where);

    void FormShow();
    void FormClose();
    void FormClick();
    void LinkClick(const QUrl& target);
    void Timer1Timer();

    LinkOpener openLink_;
    QTimer* Timer1 = nullptr;
    QLabel* laCondition = nullptr;
    QLabel* laMove = nullptr;
};

extern TfoVarsion* foVarsion;
