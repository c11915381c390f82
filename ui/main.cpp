// The program's entry: the application, the ten windows, the event loop.

#include <QApplication>

#include "Forms.h"
#include "QtPrompts.h"

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName(u"Tabulon"_s);
    QtPrompts prompts;
    CreateForms(prompts, {QCoreApplication::applicationDirPath(), app.arguments().mid(1)});
    // Closing the main window ends the program, whatever else is open.
    QObject::connect(foMain, &TfoMain::formClosed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    foMain->show();
    const int result = app.exec();
    DestroyForms();
    return result;
}
