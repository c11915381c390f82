#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

ScriptedPrompts& ScriptedPrompts::ChooseFont(const QFont& font) {
    script_.push_back({Kind::Font, true, {}, font});
    return *this;
}

QStringList ScriptedPrompts::AskedTexts() const {
    QStringList texts;
    for (const Asked& a : asked_) {
        texts.append(a.text);
    }
    return texts;
}

ScriptedPrompts::Step ScriptedPrompts::Next(Kind kind, const QString& text, const QString& title) {
    asked_.push_back({kind, text, title});
    if (script_.empty() || script_.front().kind != kind) {
        ADD_FAILURE() << "unexpected prompt (kind " << static_cast<int>(kind)
                      << "): " << text.toStdString();
        return {kind, false, {}, {}};
    }
    Step step = script_.front();
    script_.pop_front();
    return step;
}

bool ScriptedPrompts::AskYesNo(QWidget*, const QString& text) {
    return Next(Kind::YesNo, text).accept;
}

bool ScriptedPrompts::AskOkCancel(QWidget*, const QString& text) {
    return Next(Kind::OkCancel, text).accept;
}

void ScriptedPrompts::Inform(QWidget*, const QString& text) {
    Next(Kind::Inform, text);
}

void ScriptedPrompts::ShowError(QWidget*, const QString& title, const QString& text) {
    Next(Kind::Error, text, title);
}

std::optional<QString> ScriptedPrompts::AskOpenFileName(QWidget*,
                                                        const FileDialogRequest& request) {
    const Step step = Next(Kind::OpenFile, request.startPath, request.title);
    return step.accept ? std::optional(step.fileName) : std::nullopt;
}

std::optional<QString> ScriptedPrompts::AskSaveFileName(QWidget*,
                                                        const FileDialogRequest& request) {
    const Step step = Next(Kind::SaveFile, request.startPath, request.title);
    return step.accept ? std::optional(step.fileName) : std::nullopt;
}

std::optional<QFont> ScriptedPrompts::AskFont(QWidget*, const QFont&) {
    const Step step = Next(Kind::Font, {});
    return step.accept ? std::optional(step.font) : std::nullopt;
}
