#pragma once
// The HTML export window: the file name, the page title and two options (a
// third, the shown records only, while the table is filtered); Save
// asks the main window to write the table as one page. It exists from
// start-up to the end and is only shown and hidden; the main window stays
// usable while it is open.

#include <QWidget>
#include <functional>
#include <string>
#include <utility>

#include "RefillOnShow.h"
#include "search/RecordFilter.h"
#include "table/TableModel.h"

class Prompts;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QUrl;

struct HtmlExportRequest {
    QString path;
    std::string title;  // cp932
    bool headerRow = true;
    bool openAfterSaving = false;
    bool shownOnly = false;  // only the records the filter shows
};

class HtmlExportDialog : public RefillOnShow<QWidget> {
    Q_OBJECT

  public:
    HtmlExportDialog(QWidget* mainWindow, const tabulon::TableModel& model,
                     const tabulon::RecordFilter& filter, Prompts& prompts);

    // Opens a written page with the desktop's application for its type. Tests
    // put their own here to see the call without launching anything.
    using FileOpener = std::function<void(const QUrl&)>;
    void setFileOpener(FileOpener opener) { openFile_ = std::move(opener); }

    // The page of `request` was written: the window closes and, if asked,
    // the page is opened.
    void finishExport(const HtmlExportRequest& request);

  signals:
    void exportRequested(const HtmlExportRequest& request);

  protected:
    void refill() override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void requestExport();
    void browse();

    const tabulon::TableModel& model_;
    const tabulon::RecordFilter& filter_;
    Prompts& prompts_;
    FileOpener openFile_;
    QString lastChosen_;  // where the save dialog starts next time

    QLabel* titleLabel_ = nullptr;
    QLineEdit* titleEdit_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QLabel* fileNameLabel_ = nullptr;
    QLineEdit* fileNameEdit_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QFrame* separator_ = nullptr;
    QCheckBox* headerRowBox_ = nullptr;
    QCheckBox* openAfterSavingBox_ = nullptr;
    QCheckBox* shownOnlyBox_ = nullptr;
    QPushButton* saveButton_ = nullptr;
};
