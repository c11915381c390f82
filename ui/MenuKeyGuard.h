#pragma once
// Makes the menus' key combinations win over a text box. Qt's text boxes claim
// Ctrl+Insert, Shift+Insert, Shift+Delete, Del and the edit keys through
// ShortcutOverride; this filter declines those claims so the menu commands
// act, brings the menus' enabling up to date just before, and swallows the
// key when its command is disabled, so it never reaches the text box.

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <functional>

class QKeyEvent;

class MenuKeyGuard : public QObject {
  public:
    MenuKeyGuard(std::function<void()> refresh, QObject* parent);

    void SetKeys(QList<QKeySequence> keys);
    bool IsMenuKey(const QKeyEvent& event) const;

  protected:
    bool eventFilter(QObject* object, QEvent* event) override;

  private:
    std::function<void()> refresh_;
    QList<QKeySequence> keys_;
};
