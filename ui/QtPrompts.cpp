#include "QtPrompts.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <utility>
#include <vector>

#include "PrintDialog.h"
#include "PrintPreviewDialog.h"

using namespace Qt::StringLiterals;

namespace {

// Texts keep the program's CR LF between lines; a label wants LF alone.
QString ForLabel(const QString& text) {
    QString shown = text;
    return shown.replace(u"\r\n"_s, u"\n"_s);
}

// Runs a box with the given buttons and returns the index of the one chosen;
// Esc and closing the box count as the last button.
int RunBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
           const std::vector<std::pair<QString, QMessageBox::ButtonRole>>& buttons,
           size_t defaultButton = 0) {
    QMessageBox box(icon, title, ForLabel(text), QMessageBox::NoButton, parent);
    std::vector<QAbstractButton*> added;
    for (const auto& [caption, role] : buttons) {
        added.push_back(box.addButton(caption, role));
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(added[defaultButton]));
    box.setEscapeButton(added.back());
    box.exec();
    for (size_t i = 0; i < added.size(); ++i) {
        if (box.clickedButton() == added[i]) {
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(added.size()) - 1;
}

const QString kInformation = u"情報"_s;

Prompts::Answer AskThreeWays(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                             size_t defaultButton) {
    const int chosen = RunBox(parent, icon, kInformation, text,
                              {{u"はい(&Y)"_s, QMessageBox::YesRole},
                               {u"いいえ(&N)"_s, QMessageBox::NoRole},
                               {u"キャンセル"_s, QMessageBox::RejectRole}},
                              defaultButton);
    return chosen == 0   ? Prompts::Answer::Yes
           : chosen == 1 ? Prompts::Answer::No
                         : Prompts::Answer::Cancel;
}

std::optional<ChosenFile> RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode,
                                        const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = request.filter.split(u";;"_s);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (request.selectedFilter > 0 && request.selectedFilter < filters.size()) {
        dialog.selectNameFilter(filters[request.selectedFilter]);
    }
    // A name typed without extension takes the chosen filter's.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        const qsizetype star = f.indexOf(u"*."_s);
        if (star >= 0) {
            dialog.setDefaultSuffix(f.mid(star + 2).section(QRegularExpression(u"[ )]"_s), 0, 0));
        }
    });
    if (request.startPath.endsWith(u'/')) {
        dialog.setDirectory(request.startPath);
    } else if (!request.startPath.isEmpty()) {
        dialog.selectFile(request.startPath);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ChosenFile{dialog.selectedFiles().front(),
                      static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
}

}  // namespace

Prompts::Answer QtPrompts::AskYesNoOrCancel(QWidget* parent, const QString& text) {
    return AskThreeWays(parent, QMessageBox::Question, text, 0);
}

Prompts::Answer QtPrompts::WarnYesNoOrCancel(QWidget* parent, const QString& text) {
    return AskThreeWays(parent, QMessageBox::Warning, text, 1);
}

bool QtPrompts::AskYesNo(QWidget* parent, const QString& text) {
    return RunBox(parent, QMessageBox::Question, kInformation, text,
                  {{u"はい(&Y)"_s, QMessageBox::YesRole}, {u"いいえ(&N)"_s, QMessageBox::NoRole}},
                  1) == 0;
}

bool QtPrompts::AskToProceed(QWidget* parent, const QString& text) {
    return RunBox(parent, QMessageBox::Question, kInformation, text,
                  {{u"OK"_s, QMessageBox::AcceptRole}, {u"キャンセル"_s, QMessageBox::RejectRole}},
                  1) == 0;
}

bool QtPrompts::AskOkCancel(QWidget* parent, const QString& text) {
    return RunBox(parent, QMessageBox::Question, kInformation, text,
                  {{u"OK"_s, QMessageBox::AcceptRole},
                   {u"キャンセル"_s, QMessageBox::RejectRole}}) == 0;
}

void QtPrompts::Inform(QWidget* parent, const QString& text) {
    RunBox(parent, QMessageBox::Information, kInformation, text,
           {{u"OK"_s, QMessageBox::AcceptRole}});
}

void QtPrompts::ShowError(QWidget* parent, const QString& title, const QString& text) {
    RunBox(parent, QMessageBox::Critical, title, text, {{u"OK"_s, QMessageBox::AcceptRole}});
}

std::optional<QString> QtPrompts::AskOpenFileName(QWidget* parent,
                                                  const FileDialogRequest& request) {
    const auto chosen = RunFileDialog(parent, QFileDialog::AcceptOpen, request);
    return chosen ? std::optional(chosen->path) : std::nullopt;
}

std::optional<ChosenFile> QtPrompts::AskSaveFileName(QWidget* parent,
                                                     const FileDialogRequest& request) {
    return RunFileDialog(parent, QFileDialog::AcceptSave, request);
}

std::optional<QFont> QtPrompts::AskFont(QWidget* parent, const QFont& initial) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok) {
        return std::nullopt;
    }
    return font;
}

std::optional<PrintOptions> QtPrompts::AskPrintOptions(QWidget* parent,
                                                       const PrintOptions& initial) {
    PrintDialog dialog(parent, initial);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Chosen();
}

bool QtPrompts::AskPrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::ShowPrintPreview(QWidget* parent, const TablePrinter& pages) {
    PrintPreviewDialog dialog(parent, pages);
    return dialog.exec() == QDialog::Accepted;
}
