// The grid's handlers of the main window (current cell, edited text, keys,
// dragged rows and columns) and the four row and column commands.

#include <QKeyEvent>

#include "Cp932.h"
#include "MainWindow.h"
#include "StatusPanels.h"
#include "TableOperations.h"

using namespace Qt::StringLiterals;

namespace {

// The fourteen keys that move about or only modify other keys: they leave
// the modified flag as it is. Qt names Shift+Tab and the keypad's Enter apart.
bool LeavesModified(int key) {
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_CapsLock:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_End:
        case Qt::Key_Home:
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down:
            return true;
        default:
            return false;
    }
}

}  // namespace

void MainWindow::showPosition(int row, int col) {
    statusPanels_->SetText(1, u"%1,%2"_s.arg(row).arg(col));
}

void MainWindow::showCellText(int col, int row) {
    statusPanels_->SetText(2,
                           QString::fromStdString(tabulon::Cp932ToUtf8(model_.GetCell(col, row))));
}

void MainWindow::onCurrentCellChanging(int col, int row) {
    model_.MoveMarker(row);
    showPosition(row, col);
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

void MainWindow::onGridKey(int key) {
    if (!LeavesModified(key)) {
        model_.SetModified(true);
    }
}

// A moved row or column takes the current cell along or shifts it; the
// marker and the position panel stay with the current cell in either case,
// so a drag of another row never leaves a second arrow behind.
void MainWindow::onColumnDragged() {
    showPosition(model_.CurrentRow(), model_.CurrentCol());
    model_.SetModified(true);
}

void MainWindow::onRowDragged() {
    tabulon::MarkCurrentRow(model_);
    showPosition(model_.CurrentRow(), model_.CurrentCol());
    model_.SetModified(true);
}

void MainWindow::insertRow() {
    tabulon::InsertRowAtCurrent(model_);
}

void MainWindow::insertColumn() {
    tabulon::InsertColumnAtCurrent(model_);
}

void MainWindow::deleteRow() {
    tabulon::DeleteCurrentRow(model_);
}

void MainWindow::deleteColumn() {
    tabulon::DeleteCurrentColumn(model_);
}
