#pragma once
// The push button of the small dialogs: 75 x 25 as designed, widened when the
// font needs more so that its caption is never cut, and answering Enter when
// it has the focus (what Enter does elsewhere is up to each window).

class QPushButton;
class QString;
class QWidget;

QPushButton* MakeDialogButton(const QString& caption, const QString& name, QWidget* parent);
