// The grid's handlers of the main window (current cell, edited text, keys,
// dragged rows and columns) and the four row and column commands.

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QStringConverter>

#include "BusyCursor.h"
#include "Cp932Text.h"
#include "MainWindow.h"
#include "Prompts.h"
#include "StatusPanels.h"
#include "TableGrid.h"
#include "edit/CellBlocks.h"
#include "edit/TableOperations.h"
#include "table/LargeBlocks.h"
#include "text/Cp932.h"
#include "text/Messages.h"
#include "text/TextEncoding.h"

using namespace Qt::StringLiterals;

// The panel reads row first, "1,1" at the top left.
void MainWindow::showPosition(int col, int row) {
    statusPanels_->SetText(1, u"%1,%2"_s.arg(row).arg(col));
}

void MainWindow::showCellText(int col, int row) {
    statusPanels_->SetText(2, FromCp932(model_.GetCell(col, row)));
}

void MainWindow::onCurrentCellChanging(int col, int row) {
    model_.MoveMarker(row);
    history_.BeginCellEdit(col, row);
    showPosition(col, row);
    showCellText(col, row);
}

void MainWindow::onCellEdited(int col, int row, const QString& text) {
    runCommand([&] {
        // The editor takes only what cp932 holds, so nothing is lost here but
        // characters the cell held undecodable and the user edited around.
        tabulon::EditCell(model_, col, row, tabulon::Utf8ToCp932(text.toStdString()).bytes);
        showCellText(col, row);
    });
}

// A moved row or column takes the current cell along or shifts it; the
// history keeps the marker on the current row, the position panel follows.
void MainWindow::onColumnDragged(int from, int to) {
    runCommand([&] { history_.MoveColumn(from, to); });
    showPosition(model_.CurrentCol(), model_.CurrentRow());
}

void MainWindow::onRowDragged(int from, int to) {
    runCommand([&] { history_.MoveRow(from, to); });
    showPosition(model_.CurrentCol(), model_.CurrentRow());
}

void MainWindow::onColumnResized(int col, int width) {
    runCommand([&] { history_.SetColumnWidth(col, width); });
}

// Spreadsheets take the tab-separated text; rich pasting (Calc, web mail)
// takes the HTML table.
void MainWindow::copyRange() {
    const CellRange range = grid_->SelectedRange();
    const tabulon::ClipboardTexts texts =
        Busy([&] { return tabulon::CopyBlock(model_, range.first, range.last, shownRecords()); });
    // Both are UTF-8 already, as the clipboard hands them on: set as bytes,
    // they skip a round trip through UTF-16 of tens of megabytes.
    auto* mime = new QMimeData;
    mime->setData(u"text/plain"_s, QByteArray::fromStdString(texts.plain));
    mime->setData(u"text/html"_s, QByteArray::fromStdString(texts.html));
    QApplication::clipboard()->setMimeData(mime);
}

void MainWindow::clearRange(bool cut) {
    const CellRange range = grid_->SelectedRange();
    if (cut) {
        history_.CutCells(range.first, range.last, shownRecords(), mayForgoUndo());
    } else {
        history_.ClearCells(range.first, range.last, shownRecords(), mayForgoUndo());
    }
}

// Asked, in the middle of a command that may run under the wait cursor,
// with the normal one.
tabulon::UndoHistory::MayForgoUndo MainWindow::mayForgoUndo() {
    return [this] {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const bool ok =
            prompts_.AskOkCancel(this, QString::fromUtf8(tabulon::messages::kCannotUndo));
        QApplication::restoreOverrideCursor();
        return ok;
    };
}

namespace {

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

// The offered page in UTF-8: the bytes as they came where they are UTF-8, as
// Linux programs put them. Turned into a QString and back, the page a large
// copy makes took most of its paste's time.
QByteArray OfferedHtml(const QMimeData* offered) {
    if (offered == nullptr || !offered->hasHtml()) return {};
    QByteArray bytes = offered->data(u"text/html"_s);
    if (QStringConverter::encodingForHtml(bytes) != QStringConverter::Utf8) {
        return offered->html().toUtf8();
    }
    // Dropped, as decoding drops it.
    const std::string_view mark = tabulon::ByteOrderMark(tabulon::TextEncoding::Utf8Bom);
    if (View(bytes).starts_with(mark)) bytes.remove(0, static_cast<qsizetype>(mark.size()));
    return bytes;
}

}  // namespace

// At the range's top left; the table grows as the block needs. Characters
// the table cannot hold refuse the whole block, so nothing is half pasted.
// Calc's own form and a spreadsheet's HTML keep cells whole, so they go
// first; the plain text is what is left.
void MainWindow::pasteBlock(const std::string& plain, const QMimeData* offered) {
    const QByteArray tsvc =
        offered != nullptr ? offered->data(u"application/x-libreoffice-tsvc"_s) : QByteArray();
    const QByteArray html = OfferedHtml(offered);
    const tabulon::CellPosition at = grid_->SelectedRange().first;
    std::vector<char32_t> unmappable;
    CellRange pasted{at, at};
    Busy([&] {
        tabulon::PastedBlock block =
            tabulon::ReadPastedBlock(tabulon::ClipboardForms{plain, View(tsvc), View(html)});
        unmappable = std::move(block.unmappable);
        if (unmappable.empty()) {
            pasted.last = {at.col + static_cast<int>(block.cells.Width()) - 1,
                           at.row + static_cast<int>(block.cells.size()) - 1};
            history_.PasteCells(at, block.cells, mayForgoUndo());
        }
    });
    // The parsed block is freed by now: give its memory back.
    tabulon::ReturnFreeMemory();
    if (!unmappable.empty()) {
        refuseCharacters(EachCharacterOnce(unmappable));
        return;
    }
    if (pasted.last.col >= at.col) {
        grid_->SelectRange(pasted);
    }
    showCellText(model_.CurrentCol(), model_.CurrentRow());
}

void MainWindow::insertRow() {
    history_.InsertRow(model_.CurrentRow());
}

void MainWindow::insertColumn() {
    history_.InsertColumn(model_.CurrentCol());
}

void MainWindow::deleteRow() {
    history_.DeleteRow(model_.CurrentRow());
}

void MainWindow::deleteColumn() {
    history_.DeleteColumn(model_.CurrentCol(), mayForgoUndo());
}
