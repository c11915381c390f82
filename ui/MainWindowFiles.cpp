// The file commands of the main window: New, Open, Save, Save As, the save
// prompt, the caption and the plain-text pane, the recent files and dropped files.

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "BusyCursor.h"
#include "Cp932Text.h"
#include "FileProgress.h"
#include "MainWindow.h"
#include "Prompts.h"
#include "RecentFilesMenu.h"
#include "RecoveryKeeper.h"
#include "StatusPanels.h"
#include "files/CsvFile.h"
#include "files/FileStamp.h"
#include "files/PathNames.h"
#include "files/SaveTarget.h"
#include "files/Settings.h"
#include "files/TextViewFile.h"
#include "text/Cp932.h"
#include "text/Messages.h"

using namespace Qt::StringLiterals;
using tabulon::TableFormat;

namespace {

const QString kOpenFilters =
    u"表ファイル (*.tbn *.csv *.tsv);;Tabulunファイル(*.tbn);;CSV形式ファイル(*.csv);;TSV形式ファイル(*.tsv);;すべてのファイル(*.*)"_s;
const QString kDefaultSuffix = u"tbn"_s;
constexpr int kTextPaneWidth = 185;

// Paths are the system's bytes, which need not be UTF-8.
bool IsExistingFile(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

Prompts::Answer AskOverChanges(Prompts& prompts, QWidget* parent, const std::string& path) {
    return prompts.WarnYesNoOrCancel(
        parent,
        u"ファイル %1 は、読み込んだ後にほかのプログラムで変更されています。\r\n"
        u"上書き保存しますか？（「いいえ」で名前を付けて保存します）"_s.arg(
            QString::fromStdString(path)));
}

// The local files among what is dragged, in its order.
std::vector<std::string> DraggedFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(url.toLocalFile().toStdString());
        }
    }
    return paths;
}

}  // namespace

void MainWindow::createRecentFilesMenu() {
    QMenu* fileMenu = menuBar()->findChild<QMenu*>(u"fileMenu"_s);
    QAction* exit = findChild<QAction*>(u"exitAction"_s);
    recentFiles_ =
        new RecentFilesMenu(tabulon::SettingsFilesIn(runDir_.toStdString()).recent, fileMenu);
    fileMenu->insertMenu(exit, recentFiles_);
    fileMenu->insertSeparator(exit);
    connect(recentFiles_, &RecentFilesMenu::fileChosen, this,
            [this](const std::string& path) { runCommand([&] { openRecentFile(path); }); });
    connect(recentFiles_, &QMenu::aboutToHide, this, [this] { statusPanels_->SetText(0, {}); });
}

// The caption and the status bar's encoding, both of the document's file, and
// whether its format holds column widths.
void MainWindow::updateCaption() {
    encodingLabel_->setText(
        QString::fromUtf8(tabulon::EncodingDisplayName(model_.Encoding().encoding)));
    const std::string& path = model_.CurrentFileName();
    // CSV and TSV files hold no column widths: changing one changes no file.
    const TableFormat format = tabulon::FormatOfPath(path);
    history_.SetWidthsSaved(format != TableFormat::Csv && format != TableFormat::Tsv);
    setWindowTitle(documentName() + u" - Tabulon"_s);
}

QString MainWindow::documentName() const {
    const std::string& path = model_.CurrentFileName();
    return path.empty() ? u"NoName"_s : QString::fromStdString(tabulon::FileStem(path));
}

void MainWindow::resetToEmpty() {
    model_.ResetToEmpty();
    textPane_->hide();
}

bool MainWindow::confirmSave() {
    if (!model_.Modified()) {
        return true;
    }
    switch (prompts_.AskYesNoOrCancel(this, u"内容が変更されています。変更を保存しますか？"_s)) {
        case Prompts::Answer::Yes:
            // Cancelling the save stops the command that asked, as a failed write does.
            return saveAs();
        case Prompts::Answer::No:
            recovery_->discard();
            return true;
        case Prompts::Answer::Cancel:
            break;
    }
    return false;
}

// Each is offered, newest first, until one is restored; the others, like
// those answered キャンセル, wait for the next start.
bool MainWindow::offerRecovery() {
    for (tabulon::RecoveryData& left : recovery_->leftOver()) {
        const tabulon::RecoveryRecord& record = *left.Record();
        switch (prompts_.AskYesNoOrCancel(
            this, QString::fromStdString(
                      tabulon::messages::RecoveryQuestion(record.path, record.lastChange)))) {
            case Prompts::Answer::Yes:
                return runCommand([&] {
                    resetToEmpty();
                    left.Restore(model_);
                    history_.MarkUnsaved();
                    fileStamp_.reset();
                    if (!model_.CurrentFileName().empty()) fileStamp_ = record.stamp;
                    updateCaption();
                    showCellText(model_.CurrentCol(), model_.CurrentRow());
                    recovery_->adopt(std::move(left));
                });
            case Prompts::Answer::No:
                if (prompts_.AskYesNo(
                        this, QString::fromUtf8(tabulon::messages::kRecoveryDropQuestion))) {
                    left.Finish();
                }
                break;
            case Prompts::Answer::Cancel:
                break;
        }
    }
    return false;
}

void MainWindow::newDocument() {
    if (!confirmSave()) {
        return;
    }
    resetToEmpty();
    model_.SetCurrentFileName({});
    fileStamp_.reset();
    updateCaption();
}

void MainWindow::open() {
    // The dialog starts in the current file's folder.
    const std::string& current = model_.CurrentFileName();
    const QString folder =
        current.empty() ? QString() : QString::fromStdString(tabulon::FolderOf(current)) + u'/';
    const auto chosen = prompts_.AskOpenFileName(this, {kOpenFilters, kDefaultSuffix, {}, folder});
    if (chosen) {
        openPath(chosen->toStdString());
    }
}

void MainWindow::openPath(const std::string& path) {
    const TableFormat format = tabulon::FormatOfPath(path);
    if (!mayOpenAs(format)) {
        return;
    }
    if (!confirmSave()) {
        return;
    }
    openDocument(path, format);
}

void MainWindow::openRecentFile(const std::string& path) {
    if (!IsExistingFile(path)) {
        recentFiles_->remove(path);
        prompts_.Inform(
            this, u"ファイル %1 が見つかりません。最近使ったファイルの一覧から削除しました"_s.arg(
                      QString::fromStdString(path)));
        return;
    }
    openPath(path);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DraggedFiles(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const std::vector<std::string> paths = DraggedFiles(event->mimeData());
    if (paths.empty()) {
        return;
    }
    event->acceptProposedAction();
    // Opening may ask questions; the program the files came from waits until
    // the drop has ended.
    QTimer::singleShot(0, this, [this, paths] { runCommand([&] { openDroppedFiles(paths); }); });
}

void MainWindow::openDroppedFiles(const std::vector<std::string>& paths) {
    if (paths.size() > 1) {
        prompts_.Inform(this,
                        u"ファイルは一度に一つだけ開けます。最初のファイル %1 を開きます"_s.arg(
                            QString::fromStdString(paths.front())));
    }
    openPath(paths.front());
}

// A file of no table format is shown as text, once the user agrees.
bool MainWindow::mayOpenAs(TableFormat format) {
    return format != TableFormat::Other ||
           prompts_.AskOkCancel(this,
                                u"未対応の拡張子を検出したためテキストファイルとして表示します"_s);
}

void MainWindow::openDocument(const std::string& path, TableFormat format) {
    if (format == TableFormat::Other) {
        resetToEmpty();
        model_.SetCurrentFileName(path);
        updateCaption();
        showAsText(path);
        recentFiles_->add(path);
        return;
    }
    // Characters the table cannot hold are the user's to decide on before
    // anything is loaded; Cancel, the default, keeps the table as it is.
    const auto replaceUnheld = [this](const tabulon::UnheldCharacters& unheld) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const bool replace =
            prompts_.AskToProceed(this, QString::fromStdString(tabulon::UnheldQuestion(unheld)));
        QApplication::restoreOverrideCursor();
        return replace;
    };
    offerBackup(path);
    std::optional<std::string> notice;
    // The caption names the file even when reading it fails part way.
    try {
        const BusyCursor busy;
        const QScopedValueRollback running(fileBusy_, true);
        FileProgress progress(*statusPanels_, u"読み込み中"_s,
                              QFileInfo(QString::fromStdString(path)).size(), fileFeedback_);
        notice = tabulon::OpenTableFile(model_, path, replaceUnheld, progress.Callback());
    } catch (...) {
        textPane_->hide();
        fileStamp_.reset();
        updateCaption();
        throw;
    }
    if (!notice) {
        return;
    }
    textPane_->hide();
    // Opened with replacements, the table has no file name to overwrite.
    fileStamp_.reset();
    if (!model_.CurrentFileName().empty()) {
        fileStamp_ = tabulon::StampOf(path);
    }
    if (!notice->empty()) {
        history_.MarkUnsaved();  // a save would write the file without what was left out
        prompts_.Inform(this, QString::fromStdString(*notice));
    }
    updateCaption();
    showCellText(1, 1);
    recentFiles_->add(path);
}

// A save of the file that did not finish left its old bytes in a backup,
// which the user may put back before the file is read.
void MainWindow::offerBackup(const std::string& path) {
    const std::string backup = tabulon::UnfinishedSaveBackup(path);
    if (!backup.empty() &&
        prompts_.AskYesNo(
            this, QString::fromStdString(tabulon::messages::RestoreQuestion(path, backup)))) {
        tabulon::RestoreBackup(path, backup);
    }
}

void MainWindow::showAsText(const std::string& path) {
    fileStamp_.reset();
    if (!textPane_->isVisible()) {
        textPane_->show();
        splitter_->setSizes({std::max(splitter_->width() - kTextPaneWidth, 0), kTextPaneWidth});
    }
    textPane_->setPlainText(QString::fromStdString(tabulon::ReadTextForView(path)));
}

void MainWindow::save() {
    const std::string path = model_.CurrentFileName();
    if (!IsExistingFile(path)) {
        saveAs();
        return;
    }
    const TableFormat format = tabulon::FormatOfPath(path);
    if (format == TableFormat::Other) {
        prompts_.Inform(
            this,
            u"未対応の拡張子を検出しました\r\n「名前を付けて保存」から別形式で保存してください"_s);
        return;
    }
    // Another program (or another copy of this one) may have written the file.
    if (ownFileChanged(path)) {
        switch (AskOverChanges(prompts_, this, path)) {
            case Prompts::Answer::Yes:
                break;
            case Prompts::Answer::No:
                saveAs();
                return;
            case Prompts::Answer::Cancel:
                return;
        }
    }
    writeTable(path, format, std::nullopt);
}

bool MainWindow::ownFileChanged(const std::string& path) const {
    std::error_code error;
    return fileStamp_ && !model_.CurrentFileName().empty() &&
           std::filesystem::equivalent(path, model_.CurrentFileName(), error) &&
           tabulon::StampOf(path) != fileStamp_;
}

bool MainWindow::mayReplace(const std::string& path, QWidget* parent) {
    std::error_code error;
    return !std::filesystem::exists(path, error) ||
           prompts_.AskYesNo(parent, u"%1 は既に存在します。上書きしますか？"_s.arg(
                                         QString::fromStdString(path)));
}

// Any extension but the table formats' is written as CSV, as Save As asked.
void MainWindow::writeTable(const std::string& path, TableFormat format,
                            std::optional<tabulon::TextEncoding> encoding) {
    const BusyCursor busy;
    const QScopedValueRollback running(fileBusy_, true);
    // The size of the file read is enough to tell a large table; only a table
    // without one has its texts counted, which takes a moment for a large one.
    const uint64_t threshold = fileFeedback_.threshold;
    const uint64_t size = fileStamp_ && fileStamp_->size >= threshold
                              ? fileStamp_->size
                              : TextSizeUpTo(model_, threshold);
    FileProgress progress(*statusPanels_, u"保存中"_s, size, fileFeedback_);
    if (format == TableFormat::Other) {
        tabulon::SaveCsv(model_, path, progress.Callback());
    } else if (encoding) {
        tabulon::SaveTableFile(model_, path, *encoding, progress.Callback());
    } else {
        tabulon::SaveTableFile(model_, path, progress.Callback());
    }
    history_.MarkClean();
    fileStamp_ = tabulon::StampOf(path);
    recentFiles_->add(path);
}

bool MainWindow::saveAs() {
    // One filter per format and encoding, the document's own shown first;
    // prefilled with the current name, to save a copy beside it.
    const auto formats = tabulon::SaveFormats();
    QStringList filters;
    for (const tabulon::SaveFormat& format : formats) {
        filters.append(QString::fromStdString(tabulon::SaveFormatFilter(format)));
    }
    int shown = static_cast<int>(tabulon::SaveFormatIndex(model_));
    QString start = QString::fromStdString(model_.CurrentFileName());
    std::optional<ChosenFile> chosen;
    // An existing file is replaced only when the user agrees; いいえ goes
    // back to the dialog, to choose another name.
    for (;;) {
        chosen = prompts_.AskSaveFileName(
            this, {filters.join(u";;"_s),
                   QString::fromUtf8(formats[static_cast<size_t>(shown)].extension),
                   {},
                   start,
                   shown});
        if (!chosen) {
            return false;
        }
        const std::string chosenPath = chosen->path.toStdString();
        if (!ownFileChanged(chosenPath)) {
            if (mayReplace(chosenPath, this)) {
                break;
            }
        } else {
            const Prompts::Answer answer = AskOverChanges(prompts_, this, chosenPath);
            if (answer == Prompts::Answer::Yes) {
                break;
            }
            if (answer == Prompts::Answer::Cancel) {
                return false;
            }
        }
        start = chosen->path;
        shown = std::max(chosen->filter, 0);
    }
    const std::string path = chosen->path.toStdString();
    const std::optional<tabulon::TextEncoding> encoding =
        chosen->filter >= 0 && static_cast<size_t>(chosen->filter) < formats.size()
            ? std::optional(formats[chosen->filter].encoding)
            : std::nullopt;
    if (tabulon::FormatOfPath(path) != TableFormat::Other) {
        model_.SetCurrentFileName(path);
        writeTable(path, tabulon::FormatOfPath(path), encoding);
        updateCaption();
        return true;
    }
    if (!prompts_.AskOkCancel(this, u"未対応の拡張子を検出したためＣＳＶ形式で保存します"_s)) {
        return false;
    }
    model_.SetCurrentFileName(path);
    updateCaption();
    writeTable(path, TableFormat::Other, std::nullopt);
    return true;
}
