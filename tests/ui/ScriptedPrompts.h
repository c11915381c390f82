#pragma once
// Prompts answered from a script: each question must be the next one the test
// expects, or the test fails. Everything asked is kept for inspection.

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "Prompts.h"

class ScriptedPrompts : public Prompts {
  public:
    enum class Kind {
        YesNo,
        OkCancel,
        Inform,
        Error,
        OpenFile,
        SaveFile,
        Font,
        Print,
        Printer,
        Preview
    };

    struct Asked {
        Kind kind;
        QString text;   // the message; a file dialog's start name
        QString title;  // the error box's or file dialog's caption
        QWidget* parent = nullptr;
        // A question with いいえ the default; warning: with the warning icon too.
        bool noByDefault = false;
        bool warning = false;
    };

    // The next answers, in order.
    ScriptedPrompts& Yes() { return Push(Kind::YesNo, true); }
    ScriptedPrompts& No() { return Push(Kind::YesNo, false); }
    // Esc (or the close button) at a Yes/No question.
    ScriptedPrompts& Dismiss() {
        script_.push_back({Kind::YesNo, false, {}, {}, true});
        return *this;
    }
    ScriptedPrompts& Ok() { return Push(Kind::OkCancel, true); }
    ScriptedPrompts& Cancel() { return Push(Kind::OkCancel, false); }
    ScriptedPrompts& Notice() { return Push(Kind::Inform, true); }
    ScriptedPrompts& ErrorBox() { return Push(Kind::Error, true); }
    ScriptedPrompts& OpenFile(const QString& path) { return Push(Kind::OpenFile, true, path); }
    // The file, chosen under the filter of that index (none: the one shown first).
    ScriptedPrompts& SaveFile(const QString& path, int filter = -1) {
        script_.push_back({Kind::SaveFile, true, path, {}, false, filter});
        return *this;
    }
    ScriptedPrompts& CancelOpen() { return Push(Kind::OpenFile, false); }
    ScriptedPrompts& CancelSave() { return Push(Kind::SaveFile, false); }
    ScriptedPrompts& ChooseFont(const QFont& font);
    ScriptedPrompts& CancelFont() { return Push(Kind::Font, false); }
    // The print dialog's OK, after `change` made its choices.
    ScriptedPrompts& PrintOptions(std::function<void(::PrintOptions&)> change = {});
    ScriptedPrompts& CancelPrint() { return Push(Kind::Print, false); }
    // The printer's dialog's OK, the printer printing into the PDF file `path`.
    ScriptedPrompts& Printer(const QString& path) { return Push(Kind::Printer, true, path); }
    // The preview, opened and closed with 印刷 (or 閉じる); its text is the page count.
    ScriptedPrompts& Preview(bool print) { return Push(Kind::Preview, print); }
    // What the print dialog offered last.
    const ::PrintOptions& OfferedPrint() const { return offeredPrint_; }

    const std::vector<Asked>& asked() const { return asked_; }
    // The texts of everything asked, in order.
    QStringList AskedTexts() const;
    bool AllAnswered() const { return script_.empty(); }

    Answer AskYesNoOrCancel(QWidget* parent, const QString& text) override;
    Answer WarnYesNoOrCancel(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    bool AskOkCancel(QWidget* parent, const QString& text) override;
    bool AskToProceed(QWidget* parent, const QString& text) override;
    void Inform(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> AskOpenFileName(QWidget* parent,
                                           const FileDialogRequest& request) override;
    std::optional<ChosenFile> AskSaveFileName(QWidget* parent,
                                              const FileDialogRequest& request) override;
    std::optional<QFont> AskFont(QWidget* parent, const QFont& initial) override;
    std::optional<::PrintOptions> AskPrintOptions(QWidget* parent,
                                                  const ::PrintOptions& initial) override;
    bool AskPrinter(QWidget* parent, QPrinter& printer) override;
    bool ShowPrintPreview(QWidget* parent, const TablePrinter& pages) override;

  private:
    struct Step {
        Kind kind;
        bool accept;
        QString fileName;
        QFont font;
        bool dismissed = false;
        int filter = -1;
        std::function<void(::PrintOptions&)> print = nullptr;
    };

    ScriptedPrompts& Push(Kind kind, bool accept, const QString& fileName = {}) {
        script_.push_back({kind, accept, fileName, {}, false, -1});
        return *this;
    }
    // The next step if it is of `kind`; otherwise the test fails and the
    // answer is the negative one.
    Step Next(Kind kind, QWidget* parent, const QString& text, const QString& title = {});

    std::deque<Step> script_;
    std::vector<Asked> asked_;
    ::PrintOptions offeredPrint_;
};
