// What the secondary windows ask of the main window: the searches and
// replacements, the sort, item names, row height, column widths, the HTML
// page, and going to a cell a result list names. Each runs as one command on
// the table.

#include "BusyCursor.h"
#include "CellEditor.h"
#include "Cp932Text.h"
#include "FindDialog.h"
#include "FoundCellsWindow.h"
#include "FoundRecordsWindow.h"
#include "HtmlExportDialog.h"
#include "MainWindow.h"
#include "Prompts.h"
#include "SortDialog.h"
#include "TableGrid.h"
#include "edit/TableReplace.h"
#include "files/HtmlExport.h"
#include "search/TextMatcher.h"
#include "table/LargeBlocks.h"
#include "table/ViewGeometry.h"
#include "text/Cp932.h"
#include "text/IntegerText.h"
#include "text/Messages.h"

using namespace Qt::StringLiterals;

void MainWindow::search(SearchKind kind, const SearchRequest& request) {
    runCommand([&] {
        const std::string text = tabulon::Utf8ToCp932OrThrow(request.text.toStdString());
        // Find next also runs from the menu while the dialog is hidden.
        QWidget* const noticeParent =
            findDialog_->isVisible() ? static_cast<QWidget*>(findDialog_) : this;
        const auto findNextCell = [&] {
            const auto found = Busy([&] {
                return tabulon::FindNextCell(model_, {model_.CurrentCol(), model_.CurrentRow()},
                                             text, request.scope, request.direction,
                                             request.options, shownRecords());
            });
            if (!found) {
                prompts_.Inform(noticeParent, QString::fromUtf8(tabulon::messages::kNotFound));
                return;
            }
            model_.SetCurrentCell(found->col, found->row);
            showFoundText(text, request.options);
        };
        switch (kind) {
            case SearchKind::FindNext:
                findDialog_->rememberSearchText();
                findNextCell();
                return;
            case SearchKind::FindAll:
                findDialog_->rememberSearchText();
                if (!Busy([&] {
                        return foundCellsWindow_->showSearch(request, text, shownRecords());
                    })) {
                    prompts_.Inform(findDialog_, QString::fromUtf8(tabulon::messages::kNoneFound));
                    return;
                }
                findDialog_->hide();
                foundCellsWindow_->activateWindow();
                return;
            case SearchKind::FindRecords:
                if (!Busy([&] {
                        return foundRecordsWindow_->showSearch(request, text, shownRecords());
                    })) {
                    prompts_.Inform(findDialog_, QString::fromUtf8(tabulon::messages::kNoneFound));
                    return;
                }
                findDialog_->hide();
                foundRecordsWindow_->activateWindow();
                return;
            case SearchKind::ReplaceNext:
            case SearchKind::ReplaceAll:
                break;
        }

        const tabulon::Cp932Encoding replacement =
            tabulon::Utf8ToCp932(request.replacement.toStdString());
        if (!replacement.ok()) {
            refuseCharacters(EachCharacterOnce(replacement.unmappable));
            return;
        }
        findDialog_->rememberSearchText();
        findDialog_->rememberReplacement();
        if (kind == SearchKind::ReplaceNext) {
            history_.ReplaceInCell({model_.CurrentCol(), model_.CurrentRow()}, text,
                                   replacement.bytes, request.options);
            findNextCell();
            return;
        }
        const std::optional<int> count = Busy([&] {
            return history_.ReplaceAll(text, replacement.bytes, request.scope, request.direction,
                                       request.options, shownRecords(), mayForgoUndo());
        });
        tabulon::ReturnFreeMemory();  // the replacement's plan
        if (!count) {
            return;
        }
        prompts_.Inform(
            noticeParent,
            *count == 0
                ? QString::fromUtf8(tabulon::messages::kNotFound)
                : QString::fromUtf8(tabulon::messages::kCellsReplaced)
                      .replace(u"%d"_s, QString::fromStdString(tabulon::GroupedDigits(*count))));
    });
}

// The editor of a long cell would show its end; it shows (and selects) the
// first match instead.
void MainWindow::showFoundText(const std::string& text, tabulon::FindOptions options) {
    const std::string_view cell = model_.GetCell(model_.CurrentCol(), model_.CurrentRow());
    tabulon::TextMatcher matcher(text, options);
    const std::vector<tabulon::TextSpan> spans = matcher.Occurrences(cell);
    CellEditor* editor = grid_->Editor();
    if (spans.empty() || editor == nullptr) {
        return;
    }
    const auto length = [](std::string_view cp932) {
        return static_cast<int>(FromCp932(cp932).size());
    };
    const tabulon::TextSpan first = spans.front();
    editor->setSelection(length(cell.substr(0, first.begin)),
                         length(cell.substr(first.begin, first.end - first.begin)));
}

void MainWindow::goToCell(const QString& col, const QString& row) {
    runCommand([&] {
        model_.SetCurrentCell(tabulon::ReadInteger(col.toStdString()),
                              tabulon::ReadInteger(row.toStdString()));
    });
}

void MainWindow::moveToCell(int col, int row) {
    runCommand([&] { model_.SetCurrentCell(col, row); });
}

void MainWindow::goToRecord(const QString& row) {
    // The column is the item chosen in the find dialog now, which may no
    // longer be the one searched.
    if (runCommand([&] {
            const int col = findDialog_->itemIndex() + 1;
            model_.SetCurrentCell(col, tabulon::ReadInteger(row.toStdString()));
        })) {
        activateWindow();
    }
}

void MainWindow::sortRecords(int keyItem, tabulon::SortOrder order) {
    if (runCommand([&] {
            const BusyCursor busy;
            history_.SortRecords(tabulon::ItemIndex{keyItem}, order);
        })) {
        sortDialog_->close();
    }
}

void MainWindow::applyItemNames(const std::vector<std::string>& entries) {
    runCommand([&] { history_.ApplyNameList(entries); });
}

void MainWindow::applyRowHeight(int height) {
    runCommand([&] { tabulon::ApplyRowHeight(model_, height); });
}

void MainWindow::applyColumnWidths(const std::vector<std::string>& widths) {
    runCommand([&] { history_.ApplyColumnWidths(widths); });
}

void MainWindow::exportHtml(const HtmlExportRequest& request) {
    // いいえ to replacing a file leaves the window open, to choose another name.
    bool written = false;
    runCommand([&] {
        const std::string path = request.path.toStdString();
        if (!mayReplace(path, htmlExportDialog_)) {
            return;
        }
        const BusyCursor busy;
        tabulon::SaveHtml(model_, path, request.title, request.headerRow,
                          request.shownOnly ? shownRecords() : nullptr);
        written = true;
    });
    if (written) {
        htmlExportDialog_->finishExport(request);
    }
}
