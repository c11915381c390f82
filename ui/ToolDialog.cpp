#include "ToolDialog.h"

#include <QKeyEvent>

void ToolDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        return;
    }
    QDialog::keyPressEvent(event);
}
