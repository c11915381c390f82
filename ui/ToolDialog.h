#pragma once
// A secondary window of the search that is only shown and hidden: Enter
// presses its default button (the dialog rule), the close box hides it, and
// Esc does nothing, since only its own "閉じる" button is meant to close it.

#include <QDialog>

class ToolDialog : public QDialog {
  public:
    using QDialog::QDialog;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};
