// The main window's menus as one command table (caption, keys, hint, handler,
// enabling), the edit actions shared by both text boxes, and the commands that
// only open a window or a dialog.

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>

#include "AboutBox.h"
#include "CardWindow.h"
#include "CellEditor.h"
#include "ColumnWidthsDialog.h"
#include "FilterDialog.h"
#include "FindDialog.h"
#include "FontMapping.h"
#include "HtmlExportDialog.h"
#include "ItemNamesDialog.h"
#include "MainWindow.h"
#include "MenuKeyGuard.h"
#include "Prompts.h"
#include "RowHeightDialog.h"
#include "SecondaryWindow.h"
#include "SharedAccessKey.h"
#include "SortDialog.h"
#include "StatusPanels.h"
#include "TableGrid.h"
#include "edit/CellBlocks.h"
#include "edit/TableOperations.h"
#include "table/ViewGeometry.h"
#include "text/Messages.h"

using namespace Qt::StringLiterals;

// The hints of undo and redo when they would not act on a step of the table.
const QString kUndoHint = u"直前の変更を元に戻します"_s;
const QString kRedoHint = u"元に戻した変更をやり直します"_s;

// Where a command appears in the grid's pop-up menu besides its own menu.
enum class InGridMenu {
    No,
    Shared,  // the same action: its keys act through the menu bar
    Twin,    // an action of its own showing the same keys, triggering the first
};

struct MainWindow::MenuCommand {
    MenuCommand() = default;  // a separator
    MenuCommand(const char* objectName, QString text, QKeySequence shortcut, QString statusHint,
                std::function<void()> handler, std::function<bool()> enabling = {},
                InGridMenu gridMenu = InGridMenu::No, QAction** keptAt = nullptr)
        : name(objectName),
          caption(std::move(text)),
          keys(std::move(shortcut)),
          hint(std::move(statusHint)),
          run(std::move(handler)),
          enabled(std::move(enabling)),
          inGridMenu(gridMenu),
          kept(keptAt) {}

    const char* name = nullptr;  // the action's objectName; none: a separator
    QString caption;
    QKeySequence keys;
    QString hint;
    std::function<void()> run;
    std::function<bool()> enabled;  // asked when the menu opens; none: always
    InGridMenu inGridMenu = InGridMenu::No;
    QAction** kept = nullptr;  // where the action is kept for later refreshes
};

struct MainWindow::CommandMenu {
    const char* name;
    QString caption;
    std::vector<MenuCommand> commands;
};

QAction* MainWindow::addCommand(QMenu* menu, const MenuCommand& command) {
    auto* action = new QAction(command.caption, this);
    action->setObjectName(QString::fromLatin1(command.name));
    action->setShortcut(command.keys);
    action->setStatusTip(command.hint);
    connect(action, &QAction::triggered, this, [this, run = command.run] { runCommand(run); });
    menu->addAction(action);
    return action;
}

std::vector<MainWindow::CommandMenu> MainWindow::commandTable() {
    // The secondary windows are made after the menus: look them up when used.
    const auto show = [this](auto MainWindow::*window, WindowPlacement placement,
                             MainWindowInput input) {
        return [this, window, placement, input] {
            ShowSecondaryWindow(*this, *(this->*window), placement, input);
        };
    };
    const auto blocking = [&](auto MainWindow::*window) {
        return show(window, WindowPlacement::Centred, MainWindowInput::Blocked);
    };
    const auto edit = [this](QAction** action) {
        return [this, action] { runEditAction(*action); };
    };
    const auto canDeleteRow = [this] { return tabulon::CanDeleteRow(model_); };
    const auto canDeleteColumn = [this] { return tabulon::CanDeleteColumn(model_); };
    const QKeySequence none;
    const MenuCommand separator;

    return {
        {"fileMenu",
         u"ファイル(&F)"_s,
         {
             {"newAction", u"新規作成(&N)"_s, QKeySequence(Qt::CTRL | Qt::Key_N),
              u"新しく表を作ります"_s, [this] { newDocument(); }},
             {"openAction", u"開く(&O)..."_s, QKeySequence(Qt::CTRL | Qt::Key_O),
              u"既存のファイルを開きます"_s, [this] { open(); }},
             {"saveAction", u"上書き保存(&S)"_s, none,
              u"編集中のファイルが存在していれば上書き保存します"_s, [this] { save(); }},
             {"saveAsAction", u"名前を付けて保存(&A)..."_s, none,
              u"編集中の表に名前を付けて保存します"_s, [this] { saveAs(); }},
             {"exportHtmlAction", u"HTML形式で保存(&H)..."_s, none,
              u"編集中の表をＨＴＭＬ形式で保存します"_s,
              show(&MainWindow::htmlExportDialog_, WindowPlacement::WhereItStood,
                   MainWindowInput::Usable)},
             {"exportPdfAction", u"PDF形式で保存(&D)..."_s, none,
              u"編集中の表をＰＤＦ形式で保存します"_s, [this] { exportPdf(); }},
             separator,
             {"printPreviewAction", u"印刷プレビュー(&V)..."_s, none,
              u"印刷される姿を画面で確かめます"_s, [this] { previewPrintout(); }},
             {"printAction", u"印刷(&P)..."_s, QKeySequence(Qt::CTRL | Qt::Key_P),
              u"編集中の表を印刷します"_s, [this] { print(); }},
             separator,
             {"exitAction", u"終了(&E)"_s, none, u"Tabulunを終了します"_s, [this] { close(); }},
         }},
        {"editMenu",
         u"編集(&E)"_s,
         {
             {"undoAction",
              u"元に戻す(&U)"_s,
              QKeySequence(Qt::CTRL | Qt::Key_Z),
              kUndoHint,
              edit(&undoAction_),
              {},
              InGridMenu::Shared,
              &undoAction_},
             {"redoAction",
              u"やり直し(&R)"_s,
              QKeySequence(Qt::CTRL | Qt::Key_Y),
              kRedoHint,
              edit(&redoAction_),
              {},
              InGridMenu::Shared,
              &redoAction_},
             separator,
             {"cutAction",
              u"切り取り(&T)"_s,
              QKeySequence(Qt::CTRL | Qt::Key_X),
              u"選択部分を切り取り、クリップボードに送ります"_s,
              edit(&cutAction_),
              {},
              InGridMenu::Shared,
              &cutAction_},
             {"copyAction",
              u"コピー(&C)"_s,
              QKeySequence(Qt::CTRL | Qt::Key_C),
              u"選択部分をコピーし、クリップボードに送ります"_s,
              edit(&copyAction_),
              {},
              InGridMenu::Shared,
              &copyAction_},
             {"pasteAction",
              u"貼り付け(&P)"_s,
              QKeySequence(Qt::CTRL | Qt::Key_V),
              u"クリップボードの内容を貼り付けます"_s,
              edit(&pasteAction_),
              {},
              InGridMenu::Shared,
              &pasteAction_},
             {"deleteAction",
              u"削除(&D)"_s,
              QKeySequence(Qt::Key_Delete),
              u"選択部分を削除します"_s,
              edit(&deleteAction_),
              {},
              InGridMenu::Shared,
              &deleteAction_},
             separator,
             {"insertRowAction",
              u"行の挿入"_s,
              QKeySequence(Qt::CTRL | Qt::Key_Insert),
              u"編集中のセルの上に新たに行を追加します"_s,
              [this] { insertRow(); },
              {},
              InGridMenu::Twin},
             {"insertColumnAction",
              u"列の挿入"_s,
              QKeySequence(Qt::SHIFT | Qt::Key_Insert),
              u"編集中のセルの左に新たに列を追加します"_s,
              [this] { insertColumn(); },
              {},
              InGridMenu::Twin},
             {"deleteRowAction", u"行の削除"_s, QKeySequence(Qt::CTRL | Qt::Key_Delete),
              u"編集中の行を削除します"_s, [this] { deleteRow(); }, canDeleteRow, InGridMenu::Twin},
             {"deleteColumnAction", u"列の削除"_s, QKeySequence(Qt::SHIFT | Qt::Key_Delete),
              u"編集中の列を削除します"_s, [this] { deleteColumn(); }, canDeleteColumn,
              InGridMenu::Twin},
             separator,
             {"fontAction", u"フォントの設定(&F)..."_s, none, u"フォントの設定を行います"_s,
              [this] { chooseFont(); }},
         }},
        {"searchMenu",
         u"検索(&F)"_s,
         {
             {"findAction", u"検索(&F)..."_s, QKeySequence(Qt::CTRL | Qt::Key_F),
              u"表内から検索を行います"_s,
              show(&MainWindow::findDialog_, WindowPlacement::Centred, MainWindowInput::Usable)},
             {"findNextAction", u"次を検索(&S)"_s, QKeySequence(Qt::Key_F3),
              u"直前の検索条件で検索を行います"_s, [this] { findNext(); }},
             separator,
             {"filterAction", u"絞り込み(&L)..."_s, QKeySequence(Qt::CTRL | Qt::Key_L),
              u"条件に合うレコードだけを表示します"_s, blocking(&MainWindow::filterDialog_)},
             {"clearFilterAction", u"絞り込みの解除(&K)"_s,
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), u"すべてのレコードを表示します"_s,
              [this] { clearFilter(); }, [this] { return filter_.IsOn(); }, InGridMenu::Twin},
         }},
        {"tableMenu",
         u"表(&T)"_s,
         {
             {"cardAction",
              u"カード表示(&C)"_s,
              QKeySequence(Qt::Key_F4),
              u"編集中のレコードをカードで表示します"_s,
              [this] { toggleCard(); },
              {},
              InGridMenu::No,
              &cardAction_},
             separator,
             {"sortAction", u"整列(&S)..."_s, QKeySequence(Qt::CTRL | Qt::Key_S),
              u"表を行ごとに整列します"_s, blocking(&MainWindow::sortDialog_)},
             separator,
             {"itemNamesAction", u"項目編集(&E)..."_s, QKeySequence(Qt::CTRL | Qt::Key_I),
              u"項目名を編集します"_s, blocking(&MainWindow::itemNamesDialog_)},
             {"rowHeightAction", u"高さの変更(&H),,,"_s, QKeySequence(Qt::CTRL | Qt::Key_H),
              u"全セルの高さを設定します"_s, blocking(&MainWindow::rowHeightDialog_)},
             {"columnWidthsAction", u"横幅の変更(&W)..."_s, QKeySequence(Qt::CTRL | Qt::Key_W),
              u"各列ごとに横幅を設定します"_s,
              show(&MainWindow::columnWidthsDialog_, WindowPlacement::Centred,
                   MainWindowInput::Usable)},
         }},
        {"helpMenu",
         u"ヘルプ(&H)"_s,
         {
             {"helpAction", u"Tabulonのヘルプ(&H)"_s, none, u"ヘルプを表示します"_s,
              [this] { showHelp(); }},
             separator,
             {"aboutAction", u"バージョン情報(&A)..."_s, none,
              u"Tabulunのバージョン情報を表示します"_s, blocking(&MainWindow::aboutBox_)},
         }},
    };
}

void MainWindow::createMenus() {
    const QKeySequence none;
    QMenuBar* bar = menuBar();
    bar->setObjectName(u"menuBar"_s);
    new SharedAccessKey(bar);
    gridMenu_ = new QMenu(this);
    gridMenu_->setObjectName(u"gridMenu"_s);
    QList<QKeySequence> keys;
    for (const CommandMenu& entry : commandTable()) {
        QMenu* menu = bar->addMenu(entry.caption);
        menu->setObjectName(QString::fromLatin1(entry.name));
        bool gridSeparatorDue = false;
        for (const MenuCommand& command : entry.commands) {
            if (command.name == nullptr) {
                menu->addSeparator();
                gridSeparatorDue = !gridMenu_->isEmpty();
                continue;
            }
            QAction* action = addCommand(menu, command);
            keys.append(command.keys);
            if (command.kept != nullptr) {
                *command.kept = action;
            }
            if (command.enabled) {
                tableEnabling_.emplace_back(action, command.enabled);
            }
            if (command.inGridMenu == InGridMenu::No) {
                continue;
            }
            if (gridSeparatorDue) {
                gridMenu_->addSeparator();
                gridSeparatorDue = false;
            }
            if (command.inGridMenu == InGridMenu::Shared) {
                gridMenu_->addAction(action);
                continue;
            }
            // The twin shows the same keys but only the menu bar's item owns
            // them: a pop-up menu that hangs in no menu bar has no active shortcuts.
            MenuCommand twin = command;
            const QString name = QString::fromLatin1(command.name);
            const QByteArray twinName =
                (u"grid"_s + name.left(1).toUpper() + name.mid(1)).toLatin1();
            twin.name = twinName.constData();
            twin.run = [action] {
                if (action->isEnabled()) {
                    action->trigger();
                }
            };
            QAction* twinAction = addCommand(gridMenu_, twin);
            if (command.enabled) {
                tableEnabling_.emplace_back(twinAction, command.enabled);
            }
        }
        connect(menu, &QMenu::aboutToHide, this, [this] { statusPanels_->SetText(0, {}); });
    }
    // The pop-up's own command, before the twin of 絞り込みの解除.
    auto* byValue = new QAction(u"この値で絞り込み(&V)"_s, this);
    byValue->setObjectName(u"filterByValueAction"_s);
    byValue->setStatusTip(u"編集中のセルと同じ値のレコードだけを表示します"_s);
    connect(byValue, &QAction::triggered, this, [this] { filterByCurrentValue(); });
    gridMenu_->insertAction(findChild<QAction*>(u"gridClearFilterAction"_s), byValue);
    connect(gridMenu_, &QMenu::aboutToHide, this, [this] { statusPanels_->SetText(0, {}); });
    for (const QString& name : {u"editMenu"_s, u"searchMenu"_s}) {
        connect(bar->findChild<QMenu*>(name), &QMenu::aboutToShow, this,
                [this] { updateEditMenu(); });
    }
    connect(gridMenu_, &QMenu::aboutToShow, this, [this] { updateEditMenu(); });
    // Redo answers both habits: Ctrl+Y and Ctrl+Shift+Z.
    redoAction_->setShortcuts(
        {redoAction_->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    keys.append(redoAction_->shortcuts().last());
    keys.removeAll(none);
    menuKeys_->SetKeys(keys);
    // The card answers the menus' keys as the main window does; F4 hides it.
    cardAction_->setCheckable(true);
    connect(cardWindow_, &CardWindow::shownChanged, cardAction_, &QAction::setChecked);
    for (const QAction* menu : bar->actions()) {
        cardWindow_->addActions(menu->menu()->actions());
    }
}

// Both menus share the edit actions, and the pop-up's twins ask what their
// originals ask, so one refresh serves both.
void MainWindow::updateEditMenu() {
    updateEditActions();
    for (const auto& [action, enabled] : tableEnabling_) {
        action->setEnabled(enabled());
    }
}

namespace {

// The text box of the main window that has the focus, as one of the two kinds.
struct FocusedTextBox {
    QLineEdit* line = nullptr;
    QPlainTextEdit* pane = nullptr;
};

// A field of the card edits the current cell as the grid's editor does.
FocusedTextBox FocusedBox(CellEditor* cellEditor, CellEditor* cardField, QPlainTextEdit* pane) {
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && focus == cellEditor) {
        return {cellEditor, nullptr};
    }
    if (cardField != nullptr) {
        return {cardField, nullptr};
    }
    if (focus != nullptr && focus == pane && pane->isVisible()) {
        return {nullptr, pane};
    }
    return {};
}

}  // namespace

void MainWindow::updateEditActions() {
    const FocusedTextBox box = FocusedBox(grid_->Editor(), cardWindow_->FocusedField(), textPane_);
    const bool selection =
        box.line ? box.line->hasSelectedText() : box.pane && box.pane->textCursor().hasSelection();
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    // The text pane keeps its own undo; elsewhere the cell editor's unfinished
    // typing comes first, then the table's steps.
    if (box.pane != nullptr) {
        undoAction_->setEnabled(box.pane->document()->isUndoAvailable());
        redoAction_->setEnabled(box.pane->document()->isRedoAvailable());
        undoAction_->setStatusTip(kUndoHint);
        redoAction_->setStatusTip(kRedoHint);
    } else {
        const bool editorUndo = box.line != nullptr && box.line->isUndoAvailable();
        const bool editorRedo = box.line != nullptr && box.line->isRedoAvailable();
        undoAction_->setEnabled(editorUndo || history_.CanUndo());
        redoAction_->setEnabled(editorRedo || history_.CanRedo());
        // With nothing to undo, the history's hint says when memory is why.
        undoAction_->setStatusTip(editorUndo ? kUndoHint
                                             : QString::fromStdString(history_.UndoHint()));
        redoAction_->setStatusTip(editorRedo || !history_.CanRedo()
                                      ? kRedoHint
                                      : QString::fromStdString(history_.RedoHint()));
    }
    // A range of cells counts as a selection when the grid has the focus;
    // the read-only pane only gives its text away.
    const bool range = box.line != nullptr && grid_->SelectedRange().ManyCells();
    const bool editable = box.line != nullptr || (box.pane != nullptr && !box.pane->isReadOnly());
    cutAction_->setEnabled((selection && editable) || range);
    copyAction_->setEnabled(selection || range);
    pasteAction_->setEnabled(editable && clipboard != nullptr && clipboard->hasText());
    deleteAction_->setEnabled((selection && editable) || range);
}

void MainWindow::runEditAction(QAction* action) {
    const FocusedTextBox box = FocusedBox(grid_->Editor(), cardWindow_->FocusedField(), textPane_);
    if (QPlainTextEdit* pane = box.pane) {
        if (action == undoAction_) {
            pane->undo();
        } else if (action == redoAction_) {
            pane->redo();
        } else if (action == cutAction_) {
            pane->cut();
        } else if (action == copyAction_) {
            pane->copy();
        } else if (action == pasteAction_) {
            pane->paste();
        } else if (action == deleteAction_ && !pane->isReadOnly()) {
            pane->textCursor().removeSelectedText();
        }
        return;
    }
    QLineEdit* line = box.line;
    if (action == undoAction_) {
        if (line != nullptr && line->isUndoAvailable()) {
            line->undo();
        } else if (history_.CanUndo()) {
            history_.Undo();
        }
    } else if (action == redoAction_) {
        if (line != nullptr && line->isRedoAvailable()) {
            line->redo();
        } else if (history_.CanRedo()) {
            history_.Redo();
        }
    } else if (line == nullptr) {
        return;
    } else if (grid_->SelectedRange().ManyCells() &&
               (action == cutAction_ || action == copyAction_ || action == deleteAction_)) {
        if (action != deleteAction_) {
            copyRange();
        }
        if (action != copyAction_) {
            clearRange(action == cutAction_);
        }
    } else if (action == pasteAction_) {
        // Text with a tab or a line break is a block; other text goes to the editor.
        if (const std::string text = QApplication::clipboard()->text().toStdString();
            tabulon::IsBlockText(text)) {
            pasteBlock(text, QApplication::clipboard()->mimeData());
        } else {
            line->paste();
        }
    } else if (action == cutAction_) {
        line->cut();
    } else if (action == copyAction_) {
        line->copy();
    } else if (action == deleteAction_ && line->hasSelectedText()) {
        line->del();
    }
}

void MainWindow::chooseFont() {
    tabulon::FontDesc font = model_.Font();
    if (const auto chosen = prompts_.AskFont(this, ToQFont(font))) {
        TakeQFont(font, *chosen);
    }
    // Also when cancelled: the marker column takes the font's width again.
    history_.ApplyFont(font);
}

void MainWindow::showHelp() {
    if (!QFileInfo::exists(helpGuide_)) {
        throw tabulon::messages::CannotOpen(helpGuide_.toStdString());
    }
    // Without a browser to start, the user can still find the guide.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(helpGuide_))) {
        prompts_.Inform(
            this,
            u"ヘルプを表示するブラウザーを起動できません。\r\n"
            u"ヘルプはここにあります：\r\n%1"_s.arg(QDir::toNativeSeparators(helpGuide_)));
    }
}

void MainWindow::toggleCard() {
    if (cardWindow_->isVisible()) {
        cardWindow_->hide();
    } else {
        ShowSecondaryWindow(*this, *cardWindow_, WindowPlacement::WhereItStood,
                            MainWindowInput::Usable);
    }
}

void MainWindow::returnToGrid() {
    activateWindow();
    grid_->setFocus();
}

void MainWindow::findNext() {
    if (findDialog_->searchText().isEmpty()) {
        ShowSecondaryWindow(*this, *findDialog_, WindowPlacement::WhereItStood,
                            MainWindowInput::Usable);
    } else {
        findDialog_->pressFindNext();
    }
}
