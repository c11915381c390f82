#pragma once
// The HTML export window: the file name, the page title and two options, then
// SaveHtml writes the table as one page. It exists from start-up to the end
// and is only shown and hidden; the main window stays usable while it is open.

#include <QWidget>
#include <functional>
#include <utility>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QUrl;
class TfoMain;

class TfoHtml : public QWidget {
    Q_OBJECT

  public:
    explicit TfoHtml(TfoMain* mainWindow);

    // Opens a written page with the desktop's application for its type. Tests
    // put their own here to see the call without launching anything.
    using FileOpener = std::function<void(const QUrl&)>;
    void SetFileOpener(FileOpener opener) { openFile_ = std::move(opener); }

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FormShow();
    void btSaveClick();
    void btReferClick();

    TfoMain& main_;
    FileOpener openFile_;
    QString lastChosen_;  // where the save dialog starts next time

    QLabel* laTitle = nullptr;
    QLineEdit* laedTitle = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* laName = nullptr;
    QLineEdit* laedName = nullptr;
    QPushButton* btRefer = nullptr;
    QFrame* Bevel1 = nullptr;
    QCheckBox* cbHead = nullptr;
    QCheckBox* cbAutoOpen = nullptr;
    QPushButton* btSave = nullptr;
};

extern TfoHtml* foHtml;
