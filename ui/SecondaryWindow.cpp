#include "SecondaryWindow.h"

#include <QWidget>
#include <algorithm>

void ShowSecondaryWindow(QWidget& mainWindow, QWidget& window, WindowPlacement placement,
                         MainWindowInput input) {
    if (!window.isVisible()) {
        window.setWindowModality(input == MainWindowInput::Blocked ? Qt::WindowModal
                                                                   : Qt::NonModal);
    }
    if (placement == WindowPlacement::Centred) {
        if (!window.testAttribute(Qt::WA_Resized)) {
            window.adjustSize();
        }
        const QRect main = mainWindow.frameGeometry();
        QSize size = window.frameGeometry().size();
        // A window never shown has no frame yet; it will get one like the main window's.
        if (window.frameGeometry() == window.geometry()) {
            size += main.size() - mainWindow.size();
        }
        const int left = main.left() + (main.width() - size.width()) / 2;
        const int top = main.top() + (main.height() - size.height()) / 2;
        window.move(std::max(left, 0), std::max(top, 0));
    }
    window.show();
    window.raise();
    window.activateWindow();
}
