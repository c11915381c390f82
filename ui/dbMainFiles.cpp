// The file commands of the main window: New, Open, Save, Save As, the save
// prompt, the caption and the plain-text pane.

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSplitter>

#include "Cp932.h"
#include "CsvFile.h"
#include "NativeFile.h"
#include "PathNames.h"
#include "Prompts.h"
#include "StatusPanels.h"
#include "TextViewFile.h"
#include "dbMain.h"

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

void TfoMain::SetCaption() {
    const std::string& path = model_.CurrentFileName();
    const QString name =
        path.empty() ? u"NoName"_s : QString::fromStdString(tabulon::FileStem(path));
    setWindowTitle(name + u" - Tabulon"_s);
}

void TfoMain::ResetToEmpty() {
    model_.ResetToEmpty();
    meText->hide();
}

bool TfoMain::ConfirmSave() {
    if (!model_.Modified() ||
        !prompts_.AskYesNo(this, u"内容が変更されています。変更を保存しますか？"_s)) {
        return true;
    }
    // Cancelling the save stops the command that asked, as a failed write does.
    return mnuSaveAsClick();
}

void TfoMain::mnuNewClick() {
    if (!ConfirmSave()) {
        return;
    }
    model_.SetModified(false);
    ResetToEmpty();
    model_.SetCurrentFileName({});
    SetCaption();
}

void TfoMain::mnuOpenClick() {
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
    if (!ConfirmSave()) {
        return;
    }
    model_.SetModified(false);
    OpenDocument(path, format);
}

void TfoMain::OpenDocument(const std::string& path, TableFormat format) {
    ResetToEmpty();
    model_.SetCurrentFileName(path);
    SetCaption();
    switch (format) {
        case TableFormat::Native:
            tabulon::LoadNative(model_, path);
            break;
        case TableFormat::Csv:
            tabulon::LoadCsv(model_, path);
            break;
        case TableFormat::Other:
            ShowAsText(path);
            return;
    }
    ShowCellText(1, 1);
}

void TfoMain::ShowAsText(const std::string& path) {
    model_.SetModified(false);
    if (!meText->isVisible()) {
        meText->show();
        spText->setSizes({std::max(spText->width() - kTextPaneWidth, 0), kTextPaneWidth});
    }
    meText->setPlainText(
        QString::fromStdString(tabulon::Cp932ToUtf8(tabulon::ReadTextForView(path))));
}

void TfoMain::mnuSaveClick() {
    const std::string path = model_.CurrentFileName();
    if (!IsExistingFile(path)) {
        mnuSaveAsClick();
        return;
    }
    if (tabulon::FormatOfPath(path) == TableFormat::Other) {
        prompts_.Inform(
            this,
            u"未対応の拡張子を検出しました\r\n「名前を付けて保存」から別形式で保存してください"_s);
        return;
    }
    tabulon::SaveTableFile(model_, path);
}

bool TfoMain::mnuSaveAsClick() {
    const auto chosen = prompts_.AskSaveFileName(this, {kFilters, kDefaultSuffix, {}, {}});
    if (!chosen) {
        return false;
    }
    const std::string path = chosen->toStdString();
    if (tabulon::FormatOfPath(path) != TableFormat::Other) {
        model_.SetCurrentFileName(path);
        tabulon::SaveTableFile(model_, path);
        SetCaption();
        return true;
    }
    if (!prompts_.AskOkCancel(this, u"未対応の拡張子を検出したためＣＳＶ形式で保存します"_s)) {
        return false;
    }
    model_.SetCurrentFileName(path);
    SetCaption();
    tabulon::SaveCsv(model_, path);
    return true;
}
