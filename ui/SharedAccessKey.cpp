#include "SharedAccessKey.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenuBar>
#include <QShortcutEvent>

SharedAccessKey::SharedAccessKey(QMenuBar* bar) : QObject(bar), bar_(bar) {
    bar->installEventFilter(this);
}

bool SharedAccessKey::eventFilter(QObject* watched, QEvent* event) {
    if (watched != bar_ || event->type() != QEvent::Shortcut ||
        !static_cast<QShortcutEvent*>(event)->isAmbiguous() ||
        QApplication::activePopupWidget() != nullptr) {
        return false;
    }
    const QKeySequence pressed = static_cast<QShortcutEvent*>(event)->key();
    for (QAction* action : bar_->actions()) {
        if (QKeySequence::mnemonic(action->text()) == pressed) {
            bar_->setActiveAction(action);
            return true;
        }
    }
    return false;
}
