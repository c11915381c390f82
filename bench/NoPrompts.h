#pragma once
// Prompts for the benchmarks that drive the main window.

#include <cstdio>
#include <cstdlib>

#include "Prompts.h"

// Any question in a measured run is a failure of the run.
class NoPrompts : public Prompts {
  public:
    // Set, the print dialog's choices are taken as offered and a PDF is saved here.
    QString pdfPath;

    Answer AskYesNoOrCancel(QWidget*, const QString& text) override {
        Fail(text);
        return Answer::Cancel;
    }
    Answer WarnYesNoOrCancel(QWidget* parent, const QString& text) override {
        return AskYesNoOrCancel(parent, text);
    }
    bool AskYesNo(QWidget*, const QString& text) override { return Fail(text); }
    bool AskOkCancel(QWidget*, const QString& text) override { return Fail(text); }
    void Inform(QWidget*, const QString& text) override { Fail(text); }
    void ShowError(QWidget*, const QString&, const QString& text) override { Fail(text); }
    std::optional<QString> AskOpenFileName(QWidget*, const FileDialogRequest&) override {
        return std::nullopt;
    }
    bool AskToProceed(QWidget*, const QString& text) override { return Fail(text); }
    std::optional<ChosenFile> AskSaveFileName(QWidget*, const FileDialogRequest&) override {
        return pdfPath.isEmpty() ? std::nullopt : std::optional(ChosenFile{pdfPath});
    }
    std::optional<QFont> AskFont(QWidget*, const QFont&) override { return std::nullopt; }
    std::optional<PrintOptions> AskPrintOptions(QWidget*, const PrintOptions& initial) override {
        return pdfPath.isEmpty() ? std::nullopt : std::optional(initial);
    }
    bool AskPrinter(QWidget*, QPrinter&) override { return false; }
    bool ShowPrintPreview(QWidget*, const TablePrinter&) override { return false; }

  private:
    static bool Fail(const QString& text) {
        std::fprintf(stderr, "unexpected prompt: %s\n", qPrintable(text));
        std::exit(2);
    }
};
