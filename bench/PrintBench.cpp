// A table opened from the command line and saved as PDF through the main
// window's command, as the user would (every record, A4 portrait), with the
// status bar's feedback of a large file; before it, what the preview does
// before it shows: the layout and the first page at screen size. Run under /usr/bin/time -v for the
// peak memory; tables come from `ui_open_bench --make FILE ROWS COLS`.
//   print_bench FILE PDF

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <string>

#include "MainWindow.h"
#include "NoPrompts.h"
#include "TablePrinter.h"

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
    {
        const tabulon::TableModel& model = window.model();
        TablePrinter::Content content;
        content.records = tabulon::PrintedRecords(model, nullptr, 1, model.RowCount());
        content.lastCol = model.ColCount() - 1;
        const TablePrinter pages(model, std::move(content),
                                 QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                             QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        QImage image(794, 1123, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.scale(96 / TablePrinter::kResolution, 96 / TablePrinter::kResolution);
        pages.PaintPage(painter, 0);
    }
    const qint64 previewed = clock.restart();
    window.findChild<QAction*>(u"exportPdfAction"_s)->trigger();
    const qint64 written = clock.elapsed();
    std::printf("records %d, items %d\n", window.model().RowCount() - 2,
                window.model().ColCount() - 1);
    std::printf("open  %8lld ms\n", static_cast<long long>(opened));
    std::printf("preview: layout and first page  %8lld ms\n", static_cast<long long>(previewed));
    std::printf("PDF   %8lld ms, %lld bytes\n", static_cast<long long>(written),
                static_cast<long long>(QFile(prompts.pdfPath).size()));
    return QFile::exists(prompts.pdfPath) ? 0 : 2;
}
