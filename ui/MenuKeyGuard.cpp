#include "MenuKeyGuard.h"

#include <QKeyEvent>

MenuKeyGuard::MenuKeyGuard(std::function<void()> refresh, QObject* parent)
    : QObject(parent), refresh_(std::move(refresh)) {}

void MenuKeyGuard::SetKeys(QList<QKeySequence> keys) {
    keys_ = std::move(keys);
}

bool MenuKeyGuard::IsMenuKey(const QKeyEvent& event) const {
    const QKeySequence pressed(
        QKeyCombination(event.modifiers() & ~Qt::KeypadModifier, Qt::Key(event.key())));
    return keys_.contains(pressed);
}

bool MenuKeyGuard::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        if (IsMenuKey(*static_cast<QKeyEvent*>(event))) {
            refresh_();
            event->ignore();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        // Only a disabled command's key gets this far.
        if (IsMenuKey(*static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
    }
    return false;
}
