#include "WindowInput.h"

#include <QDeadlineTimer>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

void PressIn(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(window->windowHandle(), key, modifiers);
}

void TypeIn(QWidget* window, const QString& text) {
    for (const QChar ch : text) {
        const Qt::Key key = ch.isLetter() ? Qt::Key(ch.toUpper().unicode()) : Qt::Key(ch.unicode());
        QTest::sendKeyEvent(QTest::Click, window->windowHandle(), key, QString(ch), Qt::NoModifier);
    }
}

void ClickOn(QWidget* widget, QPoint pos) {
    if (pos.isNull()) {
        pos = widget->rect().center();
    }
    QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      widget->mapTo(widget->window(), pos));
}

void PressCloseBox(QWidget* window) {
    QCloseEvent close;
    QCoreApplication::sendEvent(window->windowHandle(), &close);
}

QStringList TabChain(QWidget* window, int steps) {
    QStringList names;
    for (int i = 0; i < steps; ++i) {
        PressIn(window, Qt::Key_Tab);
        names.append(window->focusWidget() ? window->focusWidget()->objectName() : QString());
    }
    return names;
}

bool WaitUntil(const std::function<bool()>& condition, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!condition() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QTest::qWait(1);
    }
    return condition();
}
