// The file commands of the main window: New, Open, Save, Save As, the save
// prompt, the caption and the plain-text pane.

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSplitter>

#include "Cp932.h"
#include "CsvFile.h"
#include "MainWindow.h"
#include "PathNames.h"
#include "Prompts.h"
#include "StatusPanels.h"
#include "TextViewFile.h"

using namespace Qt::StringLiterals;
using tabulon::TableFormat;

namespace {

const QString kFilters = u"Tabulunファイル(*.tbn);;CSV形式ファイル(*.csv)"_s;
const QString kOpenFilters = kFilters + u";;すべてのファイル(*.*)"_s;
const QString kDefaultSuffix = u"tbn"_s;
constexpr int kTextPaneWidth = 185;

bool IsExistingFile(const std::string& path) {
    return !path.empty() && QFileInfo(QString::fromStdString(path)).isFile();
}

}  // namespace

void MainWindow::updateCaption() {
    const std::string& path = model_.CurrentFileName();
    const QString name =
        path.empty() ? u"NoName"_s : QString::fromStdString(tabulon::FileStem(path));
    setWindowTitle(name + u" - Tabulon"_s);
}

void MainWindow::resetToEmpty() {
    model_.ResetToEmpty();
    textPane_->hide();
}

bool MainWindow::confirmSave() {
    if (!model_.Modified() ||
        !prompts_.AskYesNo(this, u"内容が変更されています。変更を保存しますか？"_s)) {
        return true;
    }
    // Cancelling the save stops the command that asked, as a failed write does.
    return saveAs();
}

void MainWindow::newDocument() {
    if (!confirmSave()) {
        return;
    }
    model_.SetModified(false);
    resetToEmpty();
    model_.SetCurrentFileName({});
    updateCaption();
}

void MainWindow::open() {
    const auto chosen = prompts_.AskOpenFileName(this, {kOpenFilters, kDefaultSuffix, {}, {}});
    if (!chosen) {
        return;
    }
    const std::string path = chosen->toStdString();
    const TableFormat format = tabulon::FormatOfPath(path);
    if (format == TableFormat::Other &&
        !prompts_.AskOkCancel(this,
                              u"未対応の拡張子を検出したためテキストファイルとして表示します"_s)) {
        return;
    }
    if (!confirmSave()) {
        return;
    }
    model_.SetModified(false);
    openDocument(path, format);
}

void MainWindow::openDocument(const std::string& path, TableFormat format) {
    if (format == TableFormat::Other) {
        resetToEmpty();
        model_.SetCurrentFileName(path);
        updateCaption();
        showAsText(path);
        return;
    }
    textPane_->hide();
    // The caption names the file even when reading it fails part way.
    try {
        tabulon::OpenTableFile(model_, path);
    } catch (...) {
        updateCaption();
        throw;
    }
    updateCaption();
    showCellText(1, 1);
}

void MainWindow::showAsText(const std::string& path) {
    model_.SetModified(false);
    if (!textPane_->isVisible()) {
        textPane_->show();
        splitter_->setSizes({std::max(splitter_->width() - kTextPaneWidth, 0), kTextPaneWidth});
    }
    textPane_->setPlainText(
        QString::fromStdString(tabulon::Cp932ToUtf8(tabulon::ReadTextForView(path))));
}

void MainWindow::save() {
    const std::string path = model_.CurrentFileName();
    if (!IsExistingFile(path)) {
        saveAs();
        return;
    }
    if (tabulon::FormatOfPath(path) == TableFormat::Other) {
        prompts_.Inform(
            this,
            u"未対応の拡張子を検出しました\r\n「名前を付けて保存」から別形式で保存してください"_s);
        return;
    }
    tabulon::SaveTableFile(model_, path);
    history_.MarkClean();
}

bool MainWindow::saveAs() {
    const auto chosen = prompts_.AskSaveFileName(this, {kFilters, kDefaultSuffix, {}, {}});
    if (!chosen) {
        return false;
    }
    const std::string path = chosen->toStdString();
    if (tabulon::FormatOfPath(path) != TableFormat::Other) {
        model_.SetCurrentFileName(path);
        tabulon::SaveTableFile(model_, path);
        history_.MarkClean();
        updateCaption();
        return true;
    }
    if (!prompts_.AskOkCancel(this, u"未対応の拡張子を検出したためＣＳＶ形式で保存します"_s)) {
        return false;
    }
    model_.SetCurrentFileName(path);
    updateCaption();
    tabulon::SaveCsv(model_, path);
    history_.MarkClean();
    return true;
}
