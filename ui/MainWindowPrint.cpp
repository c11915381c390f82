// The print commands: the printout as a PDF file, in the preview and on a
// printer, one layout for all three. What to print and on what paper is asked
// first; the pages are painted one by one with feedback, Esc stops them, and
// the table cannot change meanwhile.

#include <QDate>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QScopedValueRollback>

#include "BusyCursor.h"
#include "FileProgress.h"
#include "MainWindow.h"
#include "Prompts.h"
#include "TableGrid.h"
#include "TablePrinter.h"
#include "edit/PagePlan.h"
#include "files/PathNames.h"
#include "text/Messages.h"

using namespace Qt::StringLiterals;

namespace {

QPageLayout PageLayoutOf(const PrintOptions& options) {
    return QPageLayout(QPageSize(options.paper), options.orientation, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

}  // namespace

std::optional<PrintOptions> MainWindow::askPrintOptions() {
    // The narrowest range the table offers is the one meant, most likely.
    PrintOptions offered = printOptions_;
    offered.shownOffered = shownRecords() != nullptr;
    offered.selectionOffered = grid_->SelectedRange().ManyCells();
    offered.range = offered.selectionOffered ? PrintedRange::Selection
                    : offered.shownOffered   ? PrintedRange::Shown
                                             : PrintedRange::All;
    const auto chosen = prompts_.AskPrintOptions(this, offered);
    if (chosen) {
        printOptions_ = *chosen;
    }
    return chosen;
}

std::unique_ptr<TablePrinter> MainWindow::printout(const PrintOptions& options,
                                                   const QPageLayout& layout) {
    const BusyCursor busy;
    TablePrinter::Content content;
    content.cards = options.cards;
    content.title = documentName();
    content.date = QDate::currentDate().toString(u"yyyy/MM/dd"_s);
    content.lastCol = model_.ColCount() - 1;
    if (options.range == PrintedRange::Selection) {
        const CellRange range = grid_->SelectedRange();
        content.firstCol = range.first.col;
        content.lastCol = range.last.col;
        content.records =
            tabulon::PrintedRecords(model_, shownRecords(), range.first.row, range.last.row);
    } else {
        content.records = tabulon::PrintedRecords(
            model_, options.range == PrintedRange::Shown ? shownRecords() : nullptr, 1,
            model_.RowCount());
    }
    return std::make_unique<TablePrinter>(model_, std::move(content), layout);
}

bool MainWindow::printPages(QPagedPaintDevice& device, const TablePrinter& pages,
                            const QString& doing, int first, int last) {
    const BusyCursor busy;
    const QScopedValueRollback running(fileBusy_, true);
    const uint64_t threshold = fileFeedback_.threshold;
    FileProgress progress(*statusPanels_, doing + u"（Escで中止）"_s,
                          TextSizeUpTo(model_, threshold), fileFeedback_);
    tabulon::ProgressCounter counter(progress.Callback(), static_cast<uint64_t>(last - first + 1));
    QPainter painter;
    if (!painter.begin(&device)) {
        throw tabulon::Error("印刷を始められません");
    }
    const double scale = device.logicalDpiX() / TablePrinter::kResolution;
    painter.scale(scale, scale);
    for (int page = first; page <= last; ++page) {
        if (page > first) {
            device.newPage();
        }
        pages.PaintPage(painter, page);
        counter.Reached(static_cast<uint64_t>(page - first + 1));
        if (progress.Cancelled()) {
            return false;
        }
    }
    return painter.end();
}

void MainWindow::exportPdf() {
    const auto options = askPrintOptions();
    if (!options) {
        return;
    }
    const std::string& current = model_.CurrentFileName();
    QString start = current.empty() ? QString()
                                    : QString::fromStdString(tabulon::FolderOf(current)) + u'/' +
                                          documentName() + u".pdf"_s;
    std::optional<ChosenFile> chosen;
    for (;;) {
        chosen = prompts_.AskSaveFileName(
            this, {u"PDFファイル(*.pdf)"_s, u"pdf"_s, u"PDF形式で保存"_s, start});
        if (!chosen) {
            return;
        }
        if (mayReplace(chosen->path.toStdString(), this)) {
            break;
        }
        start = chosen->path;
    }
    const std::string path = chosen->path.toStdString();
    const auto pages = printout(*options, PageLayoutOf(*options));
    // Written beside and renamed when complete: a stopped or failed export
    // leaves the file that was there.
    QSaveFile file(chosen->path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw tabulon::messages::CannotCreate(path);
    }
    bool complete = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(static_cast<int>(TablePrinter::kResolution));
        writer.setPageLayout(pages->Layout());
        writer.setTitle(documentName());
        writer.setCreator(u"Tabulon"_s);
        complete = printPages(writer, *pages, u"PDF形式で保存中"_s, 0, pages->PageCount() - 1);
    }
    if (!complete) {
        file.cancelWriting();
        return;
    }
    if (!file.commit()) {
        throw tabulon::messages::CannotCreate(path);
    }
}

void MainWindow::previewPrintout() {
    const auto options = askPrintOptions();
    if (!options) {
        return;
    }
    const QPageLayout layout = PageLayoutOf(*options);
    if (prompts_.ShowPrintPreview(this, *printout(*options, layout))) {
        printOnPrinter(*options, layout);
    }
}

void MainWindow::print() {
    if (const auto options = askPrintOptions()) {
        printOnPrinter(*options, PageLayoutOf(*options));
    }
}

void MainWindow::printOnPrinter(const PrintOptions& options, const QPageLayout& layout) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(layout);
    printer.setDocName(documentName());
    if (!prompts_.AskPrinter(this, printer)) {
        return;
    }
    // The printer's dialog may have changed the paper.
    const auto pages = printout(options, printer.pageLayout());
    const int last = pages->PageCount() - 1;
    const int first = std::clamp(printer.fromPage() - 1, 0, last);
    if (!printPages(printer, *pages, u"印刷中"_s, first,
                    printer.toPage() > 0 ? std::clamp(printer.toPage() - 1, first, last) : last)) {
        printer.abort();
    }
}
