#pragma once
// Every modal question, notice, error box and file or font dialog of the
// program goes through this interface, so that tests can answer from a script.

#include <QFont>
#include <QString>
#include <optional>

#include "PrintOptions.h"

class QPrinter;
class QWidget;
class TablePrinter;

struct FileDialogRequest {
    QString filter;          // the choices, "name(*.ext)" separated by ";;"
    QString defaultSuffix;   // added to a name typed without extension
    QString title;           // empty: the platform's own
    QString startPath;       // the name (or, ending in "/", the folder) the dialog starts from;
                             // empty: its own choice
    int selectedFilter = 0;  // the filter shown first
};

// A file chosen in the save dialog, with the filter it was chosen under.
struct ChosenFile {
    QString path;
    int filter = 0;
};

class Prompts {
  public:
    virtual ~Prompts() = default;

    // Boxes captioned "情報": questions with the question icon, notices with
    // the information icon. OK/Cancel return true for the first button.
    // はい／いいえ／キャンセル, はい the default; Esc and the box's close
    // button cancel the command that asks, as キャンセル does.
    enum class Answer { Yes, No, Cancel };
    virtual Answer AskYesNoOrCancel(QWidget* parent, const QString& text) = 0;
    // The same with the warning icon and いいえ the default, where はい would
    // write over another program's changes.
    virtual Answer WarnYesNoOrCancel(QWidget* parent, const QString& text) = 0;
    // はい／いいえ with いいえ the default, where はい replaces a file or drops
    // data; Esc and the close button answer いいえ.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    virtual bool AskOkCancel(QWidget* parent, const QString& text) = 0;
    // OK／キャンセル with キャンセル the default, for a step that changes the
    // user's text.
    virtual bool AskToProceed(QWidget* parent, const QString& text) = 0;
    virtual void Inform(QWidget* parent, const QString& text) = 0;
    // The common error box: error icon, one OK, `title` as its caption.
    virtual void ShowError(QWidget* parent, const QString& title, const QString& text) = 0;

    // Neither file dialog asks whether the file exists or may be replaced:
    // the window asks, once, with its own question.
    virtual std::optional<QString> AskOpenFileName(QWidget* parent,
                                                   const FileDialogRequest& request) = 0;
    virtual std::optional<ChosenFile> AskSaveFileName(QWidget* parent,
                                                      const FileDialogRequest& request) = 0;

    virtual std::optional<QFont> AskFont(QWidget* parent, const QFont& initial) = 0;

    // The print commands' dialog: what to print, on what paper; none when cancelled.
    virtual std::optional<PrintOptions> AskPrintOptions(QWidget* parent,
                                                        const PrintOptions& initial) = 0;
    // The system's print dialog, which sets up `printer`; false when cancelled.
    virtual bool AskPrinter(QWidget* parent, QPrinter& printer) = 0;
    // The preview of `pages`; true when the user goes on to print them.
    virtual bool ShowPrintPreview(QWidget* parent, const TablePrinter& pages) = 0;
};
