// The program's entry: the application, the main window (which makes the
// other windows), the event loop.

#include <QApplication>
#include <QStandardPaths>

#include "MainWindow.h"
#include "QtPrompts.h"
#include "SettingsLocation.h"

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName(u"Tabulon"_s);
    QtPrompts prompts;
    // The settings live in data/ beside the executable, or for an installed
    // copy whose folder the user cannot write, in the user's configuration.
    const std::string runDir = tabulon::SettingsRunDir(
        QCoreApplication::applicationDirPath().toStdString(),
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString());
    MainWindow window(prompts, {QString::fromStdString(runDir), app.arguments().mid(1)});
    // Closing the main window ends the program, whatever else is open.
    QObject::connect(&window, &MainWindow::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return app.exec();
}
