#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <QPrinter>

#include "PrintPreviewDialog.h"
#include "TablePrinter.h"

ScriptedPrompts& ScriptedPrompts::ChooseFont(const QFont& font) {
    script_.push_back({Kind::Font, true, {}, font, false, -1});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::PrintOptions(std::function<void(::PrintOptions&)> change) {
    script_.push_back({Kind::Print, true, {}, {}, false, -1, std::move(change)});
    return *this;
}

QStringList ScriptedPrompts::AskedTexts() const {
    QStringList texts;
    for (const Asked& a : asked_) {
        texts.append(a.text);
    }
    return texts;
}

ScriptedPrompts::Step ScriptedPrompts::Next(Kind kind, QWidget* parent, const QString& text,
                                            const QString& title) {
    asked_.push_back({kind, text, title, parent});
    if (script_.empty() || script_.front().kind != kind) {
        ADD_FAILURE() << "unexpected prompt (kind " << static_cast<int>(kind)
                      << "): " << text.toStdString();
        return {kind, false, {}, {}, false, -1};
    }
    Step step = script_.front();
    script_.pop_front();
    return step;
}

Prompts::Answer ScriptedPrompts::AskYesNoOrCancel(QWidget* parent, const QString& text) {
    const Step step = Next(Kind::YesNo, parent, text);
    return step.dismissed ? Answer::Cancel : step.accept ? Answer::Yes : Answer::No;
}

Prompts::Answer ScriptedPrompts::WarnYesNoOrCancel(QWidget* parent, const QString& text) {
    const Answer answer = AskYesNoOrCancel(parent, text);
    asked_.back().noByDefault = asked_.back().warning = true;
    return answer;
}

bool ScriptedPrompts::AskYesNo(QWidget* parent, const QString& text) {
    const Step step = Next(Kind::YesNo, parent, text);
    asked_.back().noByDefault = true;
    return step.accept && !step.dismissed;
}

bool ScriptedPrompts::AskToProceed(QWidget* parent, const QString& text) {
    return Next(Kind::OkCancel, parent, text).accept;
}

bool ScriptedPrompts::AskOkCancel(QWidget* parent, const QString& text) {
    return Next(Kind::OkCancel, parent, text).accept;
}

void ScriptedPrompts::Inform(QWidget* parent, const QString& text) {
    Next(Kind::Inform, parent, text);
}

void ScriptedPrompts::ShowError(QWidget* parent, const QString& title, const QString& text) {
    Next(Kind::Error, parent, text, title);
}

std::optional<QString> ScriptedPrompts::AskOpenFileName(QWidget* parent,
                                                        const FileDialogRequest& request) {
    const Step step = Next(Kind::OpenFile, parent, request.startPath, request.title);
    return step.accept ? std::optional(step.fileName) : std::nullopt;
}

std::optional<ChosenFile> ScriptedPrompts::AskSaveFileName(QWidget* parent,
                                                           const FileDialogRequest& request) {
    const Step step = Next(Kind::SaveFile, parent, request.startPath, request.title);
    if (!step.accept) {
        return std::nullopt;
    }
    return ChosenFile{step.fileName, step.filter >= 0 ? step.filter : request.selectedFilter};
}

std::optional<QFont> ScriptedPrompts::AskFont(QWidget* parent, const QFont&) {
    const Step step = Next(Kind::Font, parent, {});
    return step.accept ? std::optional(step.font) : std::nullopt;
}

std::optional<PrintOptions> ScriptedPrompts::AskPrintOptions(QWidget* parent,
                                                             const ::PrintOptions& initial) {
    offeredPrint_ = initial;
    const Step step = Next(Kind::Print, parent, {});
    if (!step.accept) {
        return std::nullopt;
    }
    ::PrintOptions chosen = initial;
    if (step.print) {
        step.print(chosen);
    }
    return chosen;
}

bool ScriptedPrompts::AskPrinter(QWidget* parent, QPrinter& printer) {
    const Step step = Next(Kind::Printer, parent, {});
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(step.fileName);
    return step.accept;
}

// The real preview, shown so that it paints its first page.
bool ScriptedPrompts::ShowPrintPreview(QWidget* parent, const TablePrinter& pages) {
    PrintPreviewDialog preview(parent, pages);
    preview.show();
    return Next(Kind::Preview, parent, QString::number(pages.PageCount())).accept;
}
