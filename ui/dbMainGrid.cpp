// The grid's handlers of the main window (select cell, edit text, key down,
// row and column moved) and the four row and column commands.

#include <QKeyEvent>

#include "Cp932.h"
#include "LineBreaks.h"
#include "StatusPanels.h"
#include "TableOperations.h"
#include "dbMain.h"

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

void TfoMain::ShowPosition(int row, int col) {
    panels_->SetText(1, u"%1,%2"_s.arg(row).arg(col));
}

void TfoMain::ShowCellText(int col, int row) {
    panels_->SetText(2, QString::fromStdString(tabulon::Cp932ToUtf8(model_.GetCell(col, row))));
}

void TfoMain::sgMainSelectCell(int col, int row) {
    model_.MoveMarker(row);
    ShowPosition(row, col);
    ShowCellText(col, row);
}

void TfoMain::sgMainSetEditText(int col, int row, const QString& text) {
    RunCommand([&] {
        // The editor takes only what cp932 holds, so nothing is lost here but
        // characters the cell held undecodable and the user edited around.
        model_.SetCell(col, row, tabulon::Utf8ToCp932(text.toStdString()).bytes);
        const std::string joined = tabulon::RemoveLineBreaks(model_.GetCell(col, row));
        if (joined != model_.GetCell(col, row)) {
            model_.SetCell(col, row, joined);
        }
        if (row == model_.RowCount() - 1 && !model_.GetCell(col, row).empty()) {
            model_.SetRowCount(model_.RowCount() + 1);
        }
        ShowCellText(col, row);
    });
}

void TfoMain::sgMainKeyDown(int key) {
    if (!LeavesModified(key)) {
        model_.SetModified(true);
    }
}

void TfoMain::sgMainColumnMoved(int, int to) {
    ShowPosition(model_.CurrentRow(), to);
    model_.SetModified(true);
}

void TfoMain::sgMainRowMoved(int, int to) {
    model_.MoveMarker(to);
    ShowPosition(to, model_.CurrentCol());
    model_.SetModified(true);
}

void TfoMain::mnuLineInsertClick() {
    tabulon::InsertRow(model_, model_.CurrentRow());
    // The arrow moved down with the marker row; it belongs to the new row.
    model_.SetCell(0, model_.MarkerRow() + 1, {});
    model_.SetCell(0, model_.CurrentRow(), tabulon::kMarker);
}

void TfoMain::mnuRowInsertClick() {
    tabulon::InsertColumn(model_, model_.CurrentCol());
}

void TfoMain::mnuLineDeleteClick() {
    tabulon::DeleteRow(model_, model_.CurrentRow());
}

void TfoMain::mnuRowDeleteClick() {
    tabulon::DeleteColumn(model_, model_.CurrentCol());
}
