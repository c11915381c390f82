#include "dbMain.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QUrl>
#include <exception>

#include "CellEditor.h"
#include "Cp932.h"
#include "ErrorText.h"
#include "FontMapping.h"
#include "MenuKeyGuard.h"
#include "Prompts.h"
#include "SecondaryWindow.h"
#include "Settings.h"
#include "StatusPanels.h"
#include "TableGrid.h"
#include "TableItemModel.h"
#include "dbElement.h"
#include "dbFind.h"
#include "dbHeight.h"
#include "dbHtml.h"
#include "dbItem.h"
#include "dbListUp.h"
#include "dbSort.h"
#include "dbVarsion.h"
#include "dbWidth.h"

using namespace Qt::StringLiterals;

TfoMain* foMain = nullptr;

TfoMain::TfoMain(Prompts& prompts, const StartOptions& options)
    : prompts_(prompts),
      runDir_(options.runDir),
      itemModel_(std::make_unique<TableItemModel>(model_)) {
    setObjectName(u"foMain"_s);
    CreateComponents();
    CreateMenus();
    SetCaption();
    FormCreate(options.parameters);
}

TfoMain::~TfoMain() = default;

void TfoMain::CreateComponents() {
    menuKeys_ = new MenuKeyGuard(
        [this] {
            mnuEditClick();
            PopupMenu1Popup();
        },
        this);

    spText = new QSplitter(Qt::Horizontal, this);
    spText->setObjectName(u"spText"_s);
    spText->setHandleWidth(1);
    spText->setChildrenCollapsible(false);
    sgMain = new TableGrid(itemModel_.get(), menuKeys_, spText);
    sgMain->setObjectName(u"sgMain"_s);
    meText = new QPlainTextEdit(spText);
    meText->setObjectName(u"meText"_s);
    meText->setLineWrapMode(QPlainTextEdit::NoWrap);
    meText->setContextMenuPolicy(Qt::NoContextMenu);
    meText->installEventFilter(menuKeys_);
    meText->hide();
    spText->setStretchFactor(0, 1);
    spText->setStretchFactor(1, 0);
    setCentralWidget(spText);

    panels_ = new StatusPanels(this);
    panels_->setObjectName(u"StatusBar1"_s);
    statusBar()->addWidget(panels_, 1);
    statusBar()->setFixedHeight(19);

    connect(itemModel_.get(), &TableItemModel::selectionChanging, this,
            [this](int col, int row) { sgMainSelectCell(col, row); });
    connect(sgMain, &TableGrid::keyDown, this, [this](int key) { sgMainKeyDown(key); });
    connect(sgMain, &TableGrid::editTextChanged, this,
            [this](int col, int row, const QString& text) { sgMainSetEditText(col, row, text); });
    connect(sgMain, &TableGrid::columnMoved, this,
            [this](int from, int to) { sgMainColumnMoved(from, to); });
    connect(sgMain, &TableGrid::rowMoved, this,
            [this](int from, int to) { sgMainRowMoved(from, to); });
    connect(sgMain, &TableGrid::charactersRefused, this, &TfoMain::RefuseCharacters);
    connect(sgMain, &TableGrid::popupRequested, this, [this](const QPoint& pos) {
        PopupMenu1Popup();
        PopupMenu1->popup(pos);
    });
}

QAction* TfoMain::AddItem(QMenu* menu, const char* name, const QString& caption,
                          const QKeySequence& keys, const QString& hint,
                          const std::function<void()>& handler) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    action->setStatusTip(hint);
    connect(action, &QAction::triggered, this, [this, handler] { RunCommand(handler); });
    menu->addAction(action);
    return action;
}

void TfoMain::CreateMenus() {
    const QKeySequence none;
    QMenuBar* bar = menuBar();
    bar->setObjectName(u"MainMenu1"_s);

    QMenu* mnuFile = bar->addMenu(u"ファイル(&F)"_s);
    mnuFile->setObjectName(u"mnuFile"_s);
    AddItem(mnuFile, "mnuNew", u"新規作成(&N)"_s, none, u"新しく表を作ります"_s,
            [this] { mnuNewClick(); });
    AddItem(mnuFile, "mnuOpen", u"開く(&O)..."_s, none, u"既存のファイルを開きます"_s,
            [this] { mnuOpenClick(); });
    AddItem(mnuFile, "mnuSave", u"上書き保存(&S)"_s, none,
            u"編集中のファイルが存在していれば上書き保存します"_s, [this] { mnuSaveClick(); });
    AddItem(mnuFile, "mnuSaveAs", u"名前を付けて保存(&A)..."_s, none,
            u"編集中の表に名前を付けて保存します"_s, [this] { mnuSaveAsClick(); });
    AddItem(mnuFile, "mnuHtml", u"HTML形式で保存(&H)..."_s, none,
            u"編集中の表をＨＴＭＬ形式で保存します"_s, [this] {
                ShowSecondaryWindow(*this, *foHtml, WindowPlacement::WhereItStood,
                                    MainWindowInput::Usable);
            });
    mnuFile->addSeparator();
    AddItem(mnuFile, "mnuExit", u"終了(&E)"_s, none, u"Tabulunを終了します"_s, [this] { close(); });

    // The five edit actions serve both menus; the focused text box is their target.
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(u"PopupMenu1"_s);
    QMenu* mnuEdit = bar->addMenu(u"編集(&E)"_s);
    mnuEdit->setObjectName(u"mnuEdit"_s);
    const auto editAction = [&](const char* name, const QString& caption, QKeySequence keys,
                                const QString& hint, QAction** slot) {
        *slot = AddItem(mnuEdit, name, caption, keys, hint, [this, slot] { RunEditAction(*slot); });
        PopupMenu1->addAction(*slot);
    };
    editAction("EditUndo1", u"元に戻す(&U)"_s, QKeySequence(Qt::CTRL | Qt::Key_Z),
               u"直前の変更を元に戻します"_s, &EditUndo1);
    mnuEdit->addSeparator();
    PopupMenu1->addSeparator();
    editAction("EditCut1", u"切り取り(&T)"_s, QKeySequence(Qt::CTRL | Qt::Key_X),
               u"選択部分を切り取り、クリップボードに送ります"_s, &EditCut1);
    editAction("EditCopy1", u"コピー(&C)"_s, QKeySequence(Qt::CTRL | Qt::Key_C),
               u"選択部分をコピーし、クリップボードに送ります"_s, &EditCopy1);
    editAction("EditPaste1", u"貼り付け(&P)"_s, QKeySequence(Qt::CTRL | Qt::Key_V),
               u"クリップボードの内容を貼り付けます"_s, &EditPaste1);
    editAction("EditDelete1", u"削除(&D)"_s, QKeySequence(Qt::Key_Delete),
               u"選択部分を削除します"_s, &EditDelete1);
    mnuEdit->addSeparator();
    PopupMenu1->addSeparator();

    struct Structural {
        const char* mnuName;
        const char* popName;
        QString caption;
        QKeySequence keys;
        QString hint;
        void (TfoMain::*handler)();
        QAction** mnuAction;  // kept where a refresh needs it
        QAction** popAction;
    };
    const Structural structural[] = {
        {"mnuLineInsert", "popLineInsert", u"行の挿入"_s, QKeySequence(Qt::CTRL | Qt::Key_Insert),
         u"編集中のセルの上に新たに行を追加します"_s, &TfoMain::mnuLineInsertClick, nullptr,
         nullptr},
        {"mnuRowInsert", "popRowInsert", u"列の挿入"_s, QKeySequence(Qt::SHIFT | Qt::Key_Insert),
         u"編集中のセルの左に新たに列を追加します"_s, &TfoMain::mnuRowInsertClick, nullptr,
         nullptr},
        {"mnuLineDelete", "popLineDelete", u"行の削除"_s, QKeySequence(Qt::CTRL | Qt::Key_Delete),
         u"編集中の行を削除します"_s, &TfoMain::mnuLineDeleteClick, &mnuLineDelete, &popLineDelete},
        {"mnuRowDelete", "popRowDelete", u"列の削除"_s, QKeySequence(Qt::SHIFT | Qt::Key_Delete),
         u"編集中の列を削除します"_s, &TfoMain::mnuRowDeleteClick, &mnuRowDelete, &popRowDelete},
    };
    for (const Structural& item : structural) {
        QAction* mnu = AddItem(mnuEdit, item.mnuName, item.caption, item.keys, item.hint,
                               [this, handler = item.handler] { (this->*handler)(); });
        if (item.mnuAction != nullptr) {
            *item.mnuAction = mnu;
        }
        // The pop-up twin shows the same keys but only the Edit item owns them:
        // a pop-up menu that hangs in no menu bar has no active shortcuts.
        QAction* pop = AddItem(PopupMenu1, item.popName, item.caption, item.keys, item.hint, [mnu] {
            if (mnu->isEnabled()) {
                mnu->trigger();
            }
        });
        if (item.popAction != nullptr) {
            *item.popAction = pop;
        }
    }
    mnuEdit->addSeparator();
    AddItem(mnuEdit, "Font1", u"フォントの設定(&F)..."_s, none, u"フォントの設定を行います"_s,
            [this] { Font1Click(); });
    connect(mnuEdit, &QMenu::aboutToShow, this, [this] { mnuEditClick(); });
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });

    QMenu* mnuFind = bar->addMenu(u"検索(&F)"_s);
    mnuFind->setObjectName(u"mnuFind"_s);
    AddItem(mnuFind, "mnuFindOpen", u"検索(&F)..."_s, QKeySequence(Qt::CTRL | Qt::Key_F),
            u"表内から検索を行います"_s, [this] {
                ShowSecondaryWindow(*this, *foFind, WindowPlacement::Centred,
                                    MainWindowInput::Usable);
            });
    AddItem(mnuFind, "mnuFindNext", u"次を検索(&S)"_s, QKeySequence(Qt::Key_F3),
            u"直前の検索条件で検索を行います"_s, [this] { mnuFindNextClick(); });

    QMenu* mnuTable = bar->addMenu(u"表(&T)"_s);
    mnuTable->setObjectName(u"mnuTable"_s);
    // The windows are created after the main window: look them up when used.
    const auto blocking = [this](auto*& window) {
        return [this, &window] {
            ShowSecondaryWindow(*this, *window, WindowPlacement::Centred, MainWindowInput::Blocked);
        };
    };
    AddItem(mnuTable, "mnuSort", u"整列(&S)..."_s, QKeySequence(Qt::CTRL | Qt::Key_S),
            u"表を行ごとに整列します"_s, blocking(foSort));
    mnuTable->addSeparator();
    AddItem(mnuTable, "mnuItemEdit", u"項目編集(&E)..."_s, QKeySequence(Qt::CTRL | Qt::Key_I),
            u"項目名を編集します"_s, blocking(foItems));
    AddItem(mnuTable, "mnuHeight", u"高さの変更(&H),,,"_s, QKeySequence(Qt::CTRL | Qt::Key_H),
            u"全セルの高さを設定します"_s, blocking(foHeight));
    AddItem(mnuTable, "mnuWidth", u"横幅の変更(&W)..."_s, QKeySequence(Qt::CTRL | Qt::Key_W),
            u"各列ごとに横幅を設定します"_s, [this] {
                ShowSecondaryWindow(*this, *foWidth, WindowPlacement::Centred,
                                    MainWindowInput::Usable);
            });

    QMenu* mnuHelp = bar->addMenu(u"ヘルプ(&H)"_s);
    mnuHelp->setObjectName(u"mnuHelp"_s);
    AddItem(mnuHelp, "mnuHelpShow", u"Tabulonのヘルプ(&H)"_s, none, u"ヘルプを表示します"_s,
            [this] { mnuHelpShowClick(); });
    mnuHelp->addSeparator();
    AddItem(mnuHelp, "mnuAbout", u"バージョン情報(&A)..."_s, none,
            u"Tabulunのバージョン情報を表示します"_s, blocking(foVarsion));

    QList<QKeySequence> keys;
    for (QAction* action : findChildren<QAction*>()) {
        if (!action->shortcut().isEmpty() && !action->objectName().startsWith(u"pop"_s)) {
            keys.append(action->shortcut());
        }
    }
    menuKeys_->SetKeys(keys);
    for (QMenu* menu : findChildren<QMenu*>()) {
        connect(menu, &QMenu::aboutToHide, this, [this] { panels_->SetText(0, {}); });
    }
}

void TfoMain::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& failure) {
        ShowFailure(failure.what());
    }
}

void TfoMain::ShowFailure(const std::string& message) {
    prompts_.ShowError(this, windowTitle(), QString::fromStdString(tabulon::ErrorBoxText(message)));
}

bool TfoMain::event(QEvent* event) {
    // Menu hints go to the first panel, not over the whole status bar.
    if (event->type() == QEvent::StatusTip) {
        panels_->SetText(0, static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TfoMain::FormCreate(const QStringList& parameters) {
    ReadSettings();
    model_.SetModified(false);
    model_.SetColWidth(0, model_.Font().Size() + 6);
    RunCommand([this] {
        model_.SetCurrentCell(1, 1);
        model_.MoveMarker(1);
    });
    ShowPosition(model_.CurrentRow(), model_.CurrentCol());
    if (parameters.isEmpty()) {
        return;
    }
    // A path with blanks may arrive in pieces. A relative name is taken from
    // the working folder, since the path functions need a folder to find the
    // file name and extension.
    const std::string path = QDir::current().absoluteFilePath(parameters.join(u' ')).toStdString();
    const tabulon::TableFormat format = tabulon::FormatOfPath(path);
    if (format == tabulon::TableFormat::Other &&
        !prompts_.AskOkCancel(this,
                              u"未対応の拡張子を検出したためテキストファイルとして表示します"_s)) {
        return;
    }
    RunCommand([&] { OpenDocument(path, format); });
}

void TfoMain::closeEvent(QCloseEvent* event) {
    if (!FormClose()) {
        event->ignore();
        return;
    }
    event->accept();
    emit formClosed();
}

bool TfoMain::FormClose() {
    bool proceed = false;
    RunCommand([&] { proceed = ConfirmSave(); });
    if (!proceed) {
        return false;
    }
    WriteSettings();
    return true;
}

void TfoMain::ReadSettings() {
    const auto files = tabulon::SettingsFilesIn(runDir_.toStdString());
    tabulon::WindowBounds bounds;
    tabulon::ReadFormSettings(files.form, bounds);
    resize(bounds.width, bounds.height);
    move(bounds.left, bounds.top);
    tabulon::FontDesc font = model_.Font();
    tabulon::ReadFontSettings(files.font, font);
    model_.SetFont(font);
    int rowHeight = model_.RowHeight();
    tabulon::ReadHeightSettings(files.height, rowHeight);
    model_.SetRowHeight(rowHeight);
}

void TfoMain::WriteSettings() {
    const auto files = tabulon::SettingsFilesIn(runDir_.toStdString());
    tabulon::WriteFormSettings(files.form, {width(), height(), x(), y()});
    tabulon::WriteFontSettings(files.font, model_.Font());
    tabulon::WriteHeightSettings(files.height, model_.RowHeight());
}

void TfoMain::mnuEditClick() {
    UpdateEditActions();
    mnuRowDelete->setEnabled(model_.ColCount() > 2);
    mnuLineDelete->setEnabled(model_.RowCount() > 2);
}

void TfoMain::PopupMenu1Popup() {
    UpdateEditActions();
    popRowDelete->setEnabled(model_.ColCount() > 2);
    popLineDelete->setEnabled(model_.RowCount() > 2);
}

namespace {

// The text box of the main window that has the focus, as one of the two kinds.
struct FocusedTextBox {
    QLineEdit* line = nullptr;
    QPlainTextEdit* memo = nullptr;
};

FocusedTextBox FocusedBox(CellEditor* cellEditor, QPlainTextEdit* memo) {
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && focus == cellEditor) {
        return {cellEditor, nullptr};
    }
    if (focus != nullptr && focus == memo && memo->isVisible()) {
        return {nullptr, memo};
    }
    return {};
}

}  // namespace

void TfoMain::UpdateEditActions() {
    const FocusedTextBox box = FocusedBox(sgMain->Editor(), meText);
    const bool any = box.line != nullptr || box.memo != nullptr;
    const bool selection =
        box.line ? box.line->hasSelectedText() : box.memo && box.memo->textCursor().hasSelection();
    const bool undo = box.line ? box.line->isUndoAvailable()
                               : box.memo && box.memo->document()->isUndoAvailable();
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    EditUndo1->setEnabled(undo);
    EditCut1->setEnabled(selection);
    EditCopy1->setEnabled(selection);
    EditPaste1->setEnabled(any && clipboard != nullptr && clipboard->hasText());
    EditDelete1->setEnabled(selection);
}

void TfoMain::RunEditAction(QAction* action) {
    // Both kinds of text box share the edit calls; only deleting differs.
    const auto run = [&](auto* box, const auto& deleteSelection) {
        if (action == EditUndo1) {
            box->undo();
        } else if (action == EditCut1) {
            box->cut();
        } else if (action == EditCopy1) {
            box->copy();
        } else if (action == EditPaste1) {
            box->paste();
        } else if (action == EditDelete1) {
            deleteSelection();
        }
    };
    const FocusedTextBox box = FocusedBox(sgMain->Editor(), meText);
    if (QLineEdit* line = box.line) {
        run(line, [line] {
            if (line->hasSelectedText()) {
                line->del();
            }
        });
    } else if (QPlainTextEdit* memo = box.memo) {
        run(memo, [memo] { memo->textCursor().removeSelectedText(); });
    }
}

void TfoMain::Font1Click() {
    if (const auto chosen = prompts_.AskFont(this, ToQFont(model_.Font()))) {
        tabulon::FontDesc font = model_.Font();
        TakeQFont(font, *chosen);
        model_.SetFont(font);
    }
    model_.SetColWidth(0, model_.Font().Size() + 6);
}

void TfoMain::mnuHelpShowClick() {
    // The document has no folder: it is looked up in the working folder.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::current().absoluteFilePath(u"HELP.HLP"_s)));
}

void TfoMain::RefuseCharacters(const QString& characters) {
    prompts_.Inform(this,
                    u"「%1」は Shift-JIS で表せない文字のため入力できません"_s.arg(characters));
}

void TfoMain::mnuFindNextClick() {
    if (foFind->SearchText().isEmpty()) {
        ShowSecondaryWindow(*this, *foFind, WindowPlacement::WhereItStood, MainWindowInput::Usable);
    } else {
        foFind->PressFind();
    }
}
