#pragma once
// The main window TfoMain. It owns the one TableModel of the run, shows it in
// the grid sgMain, and carries the start and close steps, the file commands,
// the cell-editing handlers, the row and column commands and both menus.

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "TableFile.h"
#include "TableModel.h"

class MenuKeyGuard;
class Prompts;
class QAction;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class StatusPanels;
class TableGrid;
class TableItemModel;

struct StartOptions {
    QString runDir;          // the executable's folder; the settings live in its data/
    QStringList parameters;  // the command line after the program's name
};

class TfoMain : public QMainWindow {
    Q_OBJECT

  public:
    TfoMain(Prompts& prompts, const StartOptions& options);
    ~TfoMain() override;

    tabulon::TableModel& Model() { return model_; }

    // Tells the user that typed characters were refused: cp932 cannot hold them.
    void RefuseCharacters(const QString& characters);
    // The secondary windows ask their questions and run their dialogs through these.
    Prompts& GetPrompts() { return prompts_; }

    // Runs one command to its end. A failure it does not handle itself ends it
    // in the common error box; what it did before stays done.
    void RunCommand(const std::function<void()>& command);

  signals:
    // Closing went through: the settings are written and the program may end.
    void formClosed();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateComponents();
    void CreateMenus();
    QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& keys, const QString& hint,
                     const std::function<void()>& handler);

    // Start-up and closing.
    void FormCreate(const QStringList& parameters);
    bool FormClose();
    void ReadSettings();
    void WriteSettings();

    // File commands.
    void mnuNewClick();
    void mnuOpenClick();
    void mnuSaveClick();
    // Returns whether the table was written (false when the user cancelled).
    bool mnuSaveAsClick();
    // Returns whether the asking command may go on.
    bool ConfirmSave();
    void OpenDocument(const std::string& path, tabulon::TableFormat format);
    void ShowAsText(const std::string& path);
    void ResetToEmpty();
    void SetCaption();
    void ShowFailure(const std::string& message);

    // The grid's handlers.
    void sgMainSelectCell(int col, int row);
    void sgMainSetEditText(int col, int row, const QString& text);
    void sgMainKeyDown(int key);
    void sgMainColumnMoved(int from, int to);
    void sgMainRowMoved(int from, int to);
    void ShowPosition(int row, int col);
    void ShowCellText(int col, int row);

    // Row and column commands.
    void mnuLineInsertClick();
    void mnuRowInsertClick();
    void mnuLineDeleteClick();
    void mnuRowDeleteClick();

    // Menu upkeep and the commands of the command table itself.
    void mnuEditClick();
    void PopupMenu1Popup();
    void UpdateEditActions();
    void RunEditAction(QAction* action);
    void Font1Click();
    void mnuHelpShowClick();
    void mnuFindNextClick();

    Prompts& prompts_;
    const QString runDir_;
    tabulon::TableModel model_;
    std::unique_ptr<TableItemModel> itemModel_;  // destroyed before the model it observes
    MenuKeyGuard* menuKeys_ = nullptr;

    TableGrid* sgMain = nullptr;
    QSplitter* spText = nullptr;
    QPlainTextEdit* meText = nullptr;
    StatusPanels* panels_ = nullptr;
    QMenu* PopupMenu1 = nullptr;

    QAction* EditUndo1 = nullptr;
    QAction* EditCut1 = nullptr;
    QAction* EditCopy1 = nullptr;
    QAction* EditPaste1 = nullptr;
    QAction* EditDelete1 = nullptr;
    QAction* mnuLineDelete = nullptr;
    QAction* mnuRowDelete = nullptr;
    QAction* popLineDelete = nullptr;
    QAction* popRowDelete = nullptr;
};

extern TfoMain* foMain;
