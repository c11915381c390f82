// A table opened from the command line and saved as PDF through the main
// window's command, as the user would (every record, A4 portrait), with the
// status bar's feedback of a large file. Run under /usr/bin/time -v for the
// peak memory; tables come from `ui_open_bench --make FILE ROWS COLS`.
//   print_bench FILE PDF

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <string>

#include "MainWindow.h"
#include "NoPrompts.h"

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILE PDF\n", argv[0]);
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    NoPrompts prompts;
    prompts.pdfPath = QString::fromLocal8Bit(argv[2]);
    QFile::remove(prompts.pdfPath);
    QElapsedTimer clock;
    clock.start();
    MainWindow window(
        prompts, StartOptions{QDir::tempPath() + u"/tabulon-bench-no-settings"_s, {argv[1]}, {}});
    window.show();
    const qint64 opened = clock.restart();
    window.findChild<QAction*>(u"exportPdfAction"_s)->trigger();
    const qint64 written = clock.elapsed();
    std::printf("records %d, items %d\n", window.model().RowCount() - 2,
                window.model().ColCount() - 1);
    std::printf("open  %8lld ms\n", static_cast<long long>(opened));
    std::printf("PDF   %8lld ms, %lld bytes\n", static_cast<long long>(written),
                static_cast<long long>(QFile(prompts.pdfPath).size()));
    return QFile::exists(prompts.pdfPath) ? 0 : 2;
}
