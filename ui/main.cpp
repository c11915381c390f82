// The program's entry: the application, the main window (which makes the
// other windows), the event loop.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTranslator>
#include <csignal>

#include "MainWindow.h"
#include "QtPrompts.h"
#include "QtTranslation.h"
#include "files/SettingsLocation.h"

using namespace Qt::StringLiterals;

namespace {

// The user guide beside the program in a build or a portable copy, in the
// shared documentation folder once installed.
QString FindHelpGuide(const QString& programDir) {
    const QString besideProgram = programDir + u"/help/index.html"_s;
    const QString installed = programDir + u"/../share/doc/tabulon/help/index.html"_s;
    return QDir::cleanPath(QFileInfo::exists(besideProgram) || !QFileInfo::exists(installed)
                               ? besideProgram
                               : installed);
}

}  // namespace

int main(int argc, char* argv[]) {
    // A reader that goes away (a pipe, a socket) is a failed write, told as
    // such, never the end of the window and its unsaved work.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    app.setApplicationName(u"Tabulon"_s);
    QTranslator qtTexts;
    InstallQtTranslation(app, qtTexts);
    QtPrompts prompts;
    // The settings live in data/ beside the executable, or for an installed
    // copy whose folder the user cannot write, in the user's configuration.
    const std::string runDir = tabulon::SettingsRunDir(
        QCoreApplication::applicationDirPath().toStdString(),
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString());
    // The parameters as the system gives them (Qt's own options taken out),
    // since a file name decoded to text may no longer name the file.
    StartOptions options{QString::fromStdString(runDir),
                         std::vector<std::string>(argv + 1, argv + argc),
                         FindHelpGuide(QCoreApplication::applicationDirPath())};
    options.recoveryDir = QString::fromStdString(
        tabulon::RecoveryDir(QCoreApplication::applicationDirPath().toStdString()));
    MainWindow window(prompts, options);
    // Closing the main window ends the program, whatever else is open.
    QObject::connect(&window, &MainWindow::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return app.exec();
}
