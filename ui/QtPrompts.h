#pragma once
// The prompts as the user sees them: QMessageBox, QFileDialog, QFontDialog,
// the print dialogs and the preview.

#include "Prompts.h"

class QtPrompts : public Prompts {
  public:
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
    std::optional<PrintOptions> AskPrintOptions(QWidget* parent,
                                                const PrintOptions& initial) override;
    bool AskPrinter(QWidget* parent, QPrinter& printer) override;
    bool ShowPrintPreview(QWidget* parent, const TablePrinter& pages) override;
};
