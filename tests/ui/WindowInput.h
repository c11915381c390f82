#pragma once
// Input that goes through the window system, as the user's does, so that a
// window blocked by another takes none of it (QTest's widget overloads hand
// key events straight to the widget and would slip past the block).

#include <QPoint>
#include <QString>
#include <QStringList>
#include <Qt>
#include <functional>

class QWidget;

// A key press and release in `window`, delivered to its focused control.
void PressIn(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Text typed into `window`'s focused control, one key per character.
void TypeIn(QWidget* window, const QString& text);
// A left click on `widget` at `pos` (its middle when null).
void ClickOn(QWidget* widget, QPoint pos = {});
// What the title bar's close box sends.
void PressCloseBox(QWidget* window);
// The object names of the controls Tab visits from the focused one, `steps` times.
QStringList TabChain(QWidget* window, int steps);
// Lets events run until `condition` holds or `milliseconds` pass; whether it holds.
bool WaitUntil(const std::function<bool()>& condition, int milliseconds = 1000);
