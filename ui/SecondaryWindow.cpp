#include "SecondaryWindow.h"

#include <QWidget>
#include <algorithm>

void ShowSecondaryWindow(QWidget& mainWindow, QWidget& window, WindowPlacement placement,
                         MainWindowInput input) {
    if (!window.isVisible()) {
        window.setWindowModality(input == MainWindowInput::Blocked ? Qt::WindowModal
                                                                   : Qt::NonModal);
    }
    const auto centre = [&] {
        const QRect main = mainWindow.frameGeometry();
        QSize size = window.frameGeometry().size();
        // A window never shown has no frame yet; a framed one will get one
        // like the main window's.
        if (!window.isVisible() && window.frameGeometry() == window.geometry() &&
            !window.windowFlags().testFlag(Qt::FramelessWindowHint)) {
            size += main.size() - mainWindow.size();
        }
        const int left = main.left() + (main.width() - size.width()) / 2;
        const int top = main.top() + (main.height() - size.height()) / 2;
        window.move(std::max(left, 0), std::max(top, 0));
    };
    const bool centred = placement == WindowPlacement::Centred;
    if (centred) {
        if (!window.testAttribute(Qt::WA_Resized)) {
            window.adjustSize();
        }
        centre();
    }
    window.show();
    // Showing may settle the size (a dialog fills itself in as it shows) and
    // the frame: centre again on what is really there.
    if (centred) {
        centre();
    }
    window.raise();
    window.activateWindow();
}
