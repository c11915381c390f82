#include "MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <algorithm>
#include <exception>
#include <filesystem>

#include "AboutBox.h"
#include "CardWindow.h"
#include "ColumnWidthsDialog.h"
#include "FilterDialog.h"
#include "FindDialog.h"
#include "FoundCellsWindow.h"
#include "FoundRecordsWindow.h"
#include "HtmlExportDialog.h"
#include "ItemNamesDialog.h"
#include "MenuKeyGuard.h"
#include "Prompts.h"
#include "RecoveryKeeper.h"
#include "RowHeightDialog.h"
#include "SortDialog.h"
#include "StatusPanels.h"
#include "TableGrid.h"
#include "TableItemModel.h"
#include "files/Settings.h"
#include "table/ViewGeometry.h"
#include "text/ErrorText.h"

using namespace Qt::StringLiterals;

namespace {

// How much of the window's top edge, where its title bar is, must show on a
// screen for the user to drag it: this wide and half as high.
constexpr int kReachable = 40;

// Bounds stored under another screen layout may lie off every screen now:
// such a window goes onto the primary screen, where the defaults put it, and
// no larger than that screen.
QRect OnAScreen(const QRect& bounds) {
    const QRect top(bounds.topLeft(), QSize(bounds.width(), kReachable));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = screen->availableGeometry().intersected(top);
        if (shown.width() >= kReachable && shown.height() >= kReachable / 2) {
            return bounds;
        }
    }
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary == nullptr) {
        return bounds;
    }
    const QRect area = primary->availableGeometry();
    const QSize size = bounds.size().boundedTo(area.size());
    const tabulon::WindowBounds defaults;
    return {area.topLeft() + QPoint(std::min(defaults.left, area.width() - size.width()),
                                    std::min(defaults.top, area.height() - size.height())),
            size};
}

}  // namespace

MainWindow::MainWindow(Prompts& prompts, const StartOptions& options)
    : prompts_(prompts),
      runDir_(options.runDir),
      helpGuide_(options.helpGuide),
      history_(model_, options.undoBudget),
      itemModel_(std::make_unique<TableItemModel>(model_, filter_)),
      recovery_(std::make_unique<RecoveryKeeper>(model_, options.recoveryDir.toStdString(),
                                                 options.recoveryQuietMs,
                                                 [this] { return fileStamp_; })) {
    setObjectName(u"mainWindow"_s);
    createWidgets();
    connect(recovery_.get(), &RecoveryKeeper::failed, this,
            [this](const QString& notice) { statusPanels_->SetText(0, notice); });
    createMenus();
    createRecentFilesMenu();
    updateCaption();
    openStartupFile(options.parameters);
    createSecondaryWindows();
}

MainWindow::~MainWindow() = default;

void MainWindow::createWidgets() {
    menuKeys_ = new MenuKeyGuard([this] { updateEditMenu(); }, this);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(u"splitter"_s);
    splitter_->setHandleWidth(1);
    splitter_->setChildrenCollapsible(false);
    grid_ = new TableGrid(itemModel_.get(), menuKeys_, splitter_);
    grid_->setObjectName(u"grid"_s);
    textPane_ = new QPlainTextEdit(splitter_);
    textPane_->setObjectName(u"textPane"_s);
    textPane_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The pane shows a file for reading; nothing in it is ever saved.
    textPane_->setReadOnly(true);
    textPane_->setContextMenuPolicy(Qt::NoContextMenu);
    textPane_->installEventFilter(menuKeys_);
    textPane_->hide();
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    setCentralWidget(splitter_);
    setAcceptDrops(true);

    statusPanels_ = new StatusPanels(this);
    statusPanels_->setObjectName(u"statusPanels"_s);
    statusBar()->addWidget(statusPanels_, 1);
    filterLabel_ = new QLabel(this);
    filterLabel_->setObjectName(u"filterLabel"_s);
    filterLabel_->hide();
    statusBar()->addPermanentWidget(filterLabel_);
    encodingLabel_ = new QLabel(this);
    encodingLabel_->setObjectName(u"encodingLabel"_s);
    statusBar()->addPermanentWidget(encodingLabel_);
    statusBar()->setFixedHeight(19);

    connect(itemModel_.get(), &TableItemModel::selectionChanging, this,
            &MainWindow::onCurrentCellChanging);
    connect(grid_, &TableGrid::editTextChanged, this, &MainWindow::onCellEdited);
    connect(grid_, &TableGrid::columnDragged, this, &MainWindow::onColumnDragged);
    connect(grid_, &TableGrid::rowDragged, this, &MainWindow::onRowDragged);
    connect(grid_, &TableGrid::columnResized, this, &MainWindow::onColumnResized);
    connect(grid_, &TableGrid::charactersRefused, this, &MainWindow::refuseCharacters);
    connect(grid_, &TableGrid::popupRequested, this, [this](const QPoint& pos) {
        updateEditMenu();
        gridMenu_->popup(pos);
    });

    // The card edits the table as the grid does, so it is made with the grid,
    // not with the windows that only read the table.
    cardWindow_ = new CardWindow(this, itemModel_.get(), menuKeys_);
    connect(cardWindow_, &CardWindow::cellChosen, this, &MainWindow::moveToCell);
    connect(cardWindow_, &CardWindow::fieldEdited, this, &MainWindow::onCellEdited);
    connect(cardWindow_, &CardWindow::charactersRefused, this, &MainWindow::refuseCharacters);
    connect(cardWindow_, &CardWindow::gridRequested, this, &MainWindow::returnToGrid);
}

// The ten secondary windows, in the order the program has always made them.
// Each reads the table but never writes it: what it asks for comes back here.
void MainWindow::createSecondaryWindows() {
    aboutBox_ = new AboutBox(this);
    itemNamesDialog_ = new ItemNamesDialog(this, model_, prompts_);
    rowHeightDialog_ = new RowHeightDialog(this, model_);
    sortDialog_ = new SortDialog(this, model_);
    findDialog_ = new FindDialog(this, model_);
    columnWidthsDialog_ = new ColumnWidthsDialog(this, model_);
    foundCellsWindow_ = new FoundCellsWindow(this, model_);
    htmlExportDialog_ = new HtmlExportDialog(this, model_, filter_, prompts_);
    foundRecordsWindow_ = new FoundRecordsWindow(this, model_);
    filterDialog_ = new FilterDialog(this, model_);

    connect(itemNamesDialog_, &ItemNamesDialog::namesAccepted, this, &MainWindow::applyItemNames);
    connect(itemNamesDialog_, &ItemNamesDialog::charactersRefused, this,
            &MainWindow::refuseCharacters);
    connect(rowHeightDialog_, &RowHeightDialog::heightAccepted, this, &MainWindow::applyRowHeight);
    connect(sortDialog_, &SortDialog::sortRequested, this, &MainWindow::sortRecords);
    connect(findDialog_, &FindDialog::searchRequested, this, &MainWindow::search);
    connect(columnWidthsDialog_, &ColumnWidthsDialog::widthsApplied, this,
            &MainWindow::applyColumnWidths);
    connect(columnWidthsDialog_, &ColumnWidthsDialog::charactersRefused, this,
            &MainWindow::refuseCharacters);
    connect(foundCellsWindow_, &FoundCellsWindow::cellChosen, this, &MainWindow::goToCell);
    connect(htmlExportDialog_, &HtmlExportDialog::exportRequested, this, &MainWindow::exportHtml);
    connect(foundRecordsWindow_, &FoundRecordsWindow::recordChosen, this, &MainWindow::goToRecord);
    connect(filterDialog_, &FilterDialog::filterRequested, this, &MainWindow::applyFilter);
    connect(filterDialog_, &FilterDialog::filterCleared, this,
            [this] { runCommand([this] { clearFilter(); }); });
    connect(filterDialog_, &FilterDialog::charactersRefused, this, &MainWindow::refuseCharacters);
}

bool MainWindow::runCommand(const std::function<void()>& command) {
    // Whatever reaches here while a large file is read or written and events
    // run for the feedback (the window system's close request, which asks
    // here first, a queued call, a timer) would find the table half loaded or
    // change it under the save.
    if (fileBusy_) {
        return false;
    }
    bool ran = true;
    try {
        command();
    } catch (const std::exception& failure) {
        showFailure(tabulon::FailureMessage(failure));
        ran = false;
    }
    recovery_->follow();
    followFilter();
    // Whatever the command did to the current cell (sorted, undone, pasted
    // over, shifted), the panel shows what the cell holds now.
    showCellText(model_.CurrentCol(), model_.CurrentRow());
    return ran;
}

void MainWindow::showFailure(const std::string& message) {
    prompts_.ShowError(promptParent(), windowTitle(),
                       QString::fromStdString(tabulon::ErrorBoxText(message)));
}

// A box belongs above the window the user works in, so that closing it gives
// that window the keyboard back: a secondary window of ours, or this one.
QWidget* MainWindow::promptParent() {
    QWidget* active = QApplication::activeWindow();
    return active != nullptr && active->parentWidget() == this ? active : this;
}

bool MainWindow::event(QEvent* event) {
    // Menu hints go to the first panel, not over the whole status bar.
    if (event->type() == QEvent::StatusTip) {
        statusPanels_->SetText(0, static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void MainWindow::openStartupFile(const std::vector<std::string>& parameters) {
    readSettings();
    tabulon::FitMarkerColumnToFont(model_);
    runCommand([this] {
        model_.SetCurrentCell(1, 1);
        model_.MoveMarker(1);
    });
    // The settings are part of the starting state, not a change to undo.
    history_.Clear();
    showPosition(model_.CurrentCol(), model_.CurrentRow());
    // A restored document takes the window's place of the file named.
    if (offerRecovery() || parameters.empty()) {
        return;
    }
    // A path with blanks may arrive in pieces. A relative name is taken from
    // the working folder, since the path functions need a folder to find the
    // file name and extension.
    std::string joined = parameters.front();
    for (size_t i = 1; i < parameters.size(); ++i) {
        joined += ' ' + parameters[i];
    }
    std::error_code error;
    const std::string path = std::filesystem::absolute(joined, error).string();
    const tabulon::TableFormat format = tabulon::FormatOfPath(path);
    if (!mayOpenAs(format)) {
        return;
    }
    runCommand([&] { openDocument(path, format); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Asked while a large file is read or written, this is refused: confirmClose
    // asks through runCommand, which runs nothing meanwhile.
    if (!confirmClose()) {
        event->ignore();
        return;
    }
    event->accept();
    recovery_->finish();
    emit closed();
}

bool MainWindow::confirmClose() {
    bool proceed = false;
    runCommand([&] { proceed = confirmSave(); });
    if (!proceed) {
        return false;
    }
    writeSettings();
    return true;
}

void MainWindow::readSettings() {
    const auto files = tabulon::SettingsFilesIn(runDir_.toStdString());
    tabulon::WindowBounds bounds;
    tabulon::ReadFormSettings(files.form, bounds);
    const QRect placed = OnAScreen(QRect(bounds.left, bounds.top, bounds.width, bounds.height));
    resize(placed.size());
    move(placed.topLeft());
    tabulon::FontDesc font = model_.Font();
    tabulon::ReadFontSettings(files.font, font);
    model_.SetFont(font);
    int rowHeight = model_.RowHeight();
    tabulon::ReadHeightSettings(files.height, rowHeight);
    model_.SetRowHeight(rowHeight);
    tabulon::WindowBounds card = tabulon::kDefaultCardBounds;
    tabulon::ReadFormSettings(files.card, card);
    cardWindow_->resize(card.width, card.height);
    cardWindow_->move(card.left, card.top);
}

void MainWindow::writeSettings() {
    const auto files = tabulon::SettingsFilesIn(runDir_.toStdString());
    tabulon::WriteFormSettings(files.form, {width(), height(), x(), y()});
    tabulon::WriteFontSettings(files.font, model_.Font());
    tabulon::WriteHeightSettings(files.height, model_.RowHeight());
    tabulon::WriteFormSettings(files.card, {cardWindow_->width(), cardWindow_->height(),
                                            cardWindow_->x(), cardWindow_->y()});
}

void MainWindow::refuseCharacters(const QString& characters) {
    prompts_.Inform(this,
                    u"「%1」は Shift-JIS で表せない文字のため入力できません"_s.arg(characters));
}
