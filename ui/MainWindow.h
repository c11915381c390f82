#pragma once
// The main window. It owns the one TableModel of the run, shows it in the
// grid (all records, or those its filter shows) and the card, owns the
// eleven secondary windows and applies what they ask for: every change to the
// table runs here, through runCommand, as a core operation.

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FileProgress.h"
#include "PrintOptions.h"
#include "SearchRequest.h"
#include "edit/RecordSort.h"
#include "edit/UndoHistory.h"
#include "files/FileStamp.h"
#include "files/TableFile.h"
#include "search/RecordFilter.h"
#include "table/TableModel.h"

class AboutBox;
class CardWindow;
class ColumnWidthsDialog;
class FilterDialog;
class FindDialog;
class FoundCellsWindow;
class FoundRecordsWindow;
class HtmlExportDialog;
class ItemNamesDialog;
class MenuKeyGuard;
class Prompts;
class QAction;
class QLabel;
class QMenu;
class QMimeData;
class QPagedPaintDevice;
class QPlainTextEdit;
class RecentFilesMenu;
class RecoveryKeeper;
class QSplitter;
class RowHeightDialog;
class SortDialog;
class StatusPanels;
class TableGrid;
class TableItemModel;
class TablePrinter;
struct HtmlExportRequest;

struct StartOptions {
    QString runDir;  // the executable's folder; the settings live in its data/
    // The command line after the program's name, as the system's bytes: a
    // file name need not be valid UTF-8.
    std::vector<std::string> parameters;
    QString helpGuide;                                               // the user guide's first page
    size_t undoBudget = tabulon::UndoHistory::kDefaultMemoryBudget;  // the history's memory
    // Where unsaved edits are kept against a crash (none: not kept), and how
    // long the table stays unchanged before they are written.
    QString recoveryDir{};
    int recoveryQuietMs = 2000;
};

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    MainWindow(Prompts& prompts, const StartOptions& options);
    ~MainWindow() override;

    const tabulon::TableModel& model() const { return model_; }
    // For tests that set up a table directly.
    tabulon::TableModel& model() { return model_; }
    // For tests that mark the present state as saved.
    tabulon::UndoHistory& history() { return history_; }
    const tabulon::RecordFilter& filter() const { return filter_; }

    // Runs one command to its end. A failure it does not handle itself ends it
    // in the common error box; what it did before stays done. Returns whether
    // the command ran to its end; none runs while a file is read or written.
    bool runCommand(const std::function<void()>& command);

    // For tests: feedback on files of test size, as often as they report.
    void setFileFeedback(const FileFeedback& feedback) { fileFeedback_ = feedback; }

  signals:
    // Closing went through: the settings are written and the program may end.
    void closed();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A file dropped on the window opens as Open opens it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    struct MenuCommand;
    struct CommandMenu;

    void createWidgets();
    void createSecondaryWindows();
    // Every menu command: caption, keys, hint, handler and enabling.
    std::vector<CommandMenu> commandTable();
    void createMenus();
    // The file menu's list of recent files, before 終了.
    void createRecentFilesMenu();
    QAction* addCommand(QMenu* menu, const MenuCommand& command);
    void updateEditMenu();
    void updateEditActions();
    void runEditAction(QAction* action);

    // Start-up and closing.
    void openStartupFile(const std::vector<std::string>& parameters);
    // Offers the edits that copies of the program left unsaved; whether one
    // was restored.
    bool offerRecovery();
    bool confirmClose();
    void readSettings();
    void writeSettings();

    // File commands.
    void newDocument();
    void open();
    // Open's steps once a file is chosen: its format's question, the save question.
    void openPath(const std::string& path);
    void openRecentFile(const std::string& path);
    void openDroppedFiles(const std::vector<std::string>& paths);
    void save();
    // Returns whether the table was written (false when the user cancelled).
    bool saveAs();
    // With no encoding, in the document's own.
    void writeTable(const std::string& path, tabulon::TableFormat format,
                    std::optional<tabulon::TextEncoding> encoding);
    // Whether `path` is the document's own file and another program changed
    // it since it was last read or written.
    bool ownFileChanged(const std::string& path) const;
    // Whether the file a writer is to make at `path` may be written: at once
    // when there is none, otherwise when the user agrees to replace it.
    bool mayReplace(const std::string& path, QWidget* parent);
    // Returns whether the asking command may go on.
    bool confirmSave();
    bool mayOpenAs(tabulon::TableFormat format);
    void openDocument(const std::string& path, tabulon::TableFormat format);
    void offerBackup(const std::string& path);
    void showAsText(const std::string& path);
    void resetToEmpty();
    void updateCaption();
    // The file's name without folder and extension, or NoName.
    QString documentName() const;
    void showFailure(const std::string& message);
    QWidget* promptParent();
    void refuseCharacters(const QString& characters);

    // The grid's handlers.
    void onCurrentCellChanging(int col, int row);
    void onCellEdited(int col, int row, const QString& text);
    void onColumnDragged(int from, int to);
    void onRowDragged(int from, int to);
    void onColumnResized(int col, int width);
    void showPosition(int col, int row);
    void showCellText(int col, int row);
    // The card, and the cell it or the grid moves to.
    void toggleCard();
    void moveToCell(int col, int row);
    void returnToGrid();

    // Blocks of cells between the grid's range and the clipboard, each one step.
    void copyRange();
    void clearRange(bool cut);
    void pasteBlock(const std::string& plain, const QMimeData* offered);
    // The question before a command too big to undo: OK runs it without a step.
    tabulon::UndoHistory::MayForgoUndo mayForgoUndo();

    // Row and column commands.
    void insertRow();
    void insertColumn();
    void deleteRow();
    void deleteColumn();

    // Commands of the other menus and what the secondary windows ask for.
    void chooseFont();
    void showHelp();
    void findNext();
    void search(SearchKind kind, const SearchRequest& request);
    void showFoundText(const std::string& text, tabulon::FindOptions options);
    void sortRecords(int keyItem, tabulon::SortOrder order);
    void applyItemNames(const std::vector<std::string>& entries);
    void applyRowHeight(int height);
    void applyColumnWidths(const std::vector<std::string>& widths);
    void exportHtml(const HtmlExportRequest& request);
    void goToCell(const QString& col, const QString& row);
    void goToRecord(const QString& row);

    // The print commands: the printout as a PDF file, in the preview, on a
    // printer. Each asks first what to print and on what paper.
    void exportPdf();
    void previewPrintout();
    void print();
    std::optional<PrintOptions> askPrintOptions();
    std::unique_ptr<TablePrinter> printout(const PrintOptions& options, const QPageLayout& layout);
    void printOnPrinter(const PrintOptions& options, const QPageLayout& layout);
    // Paints pages first .. last on `device`, with feedback for a large table;
    // returns false when the user stopped it with Esc.
    bool printPages(QPagedPaintDevice& device, const TablePrinter& pages, const QString& doing,
                    int first, int last);

    // The filter: applied from its dialog or to the current cell's value, and
    // removed. While it is on the current cell stays on a shown record.
    void applyFilter(const std::vector<std::string>& conditions, tabulon::FindOptions options);
    void filterByCurrentValue();
    void clearFilter();
    void followFilter();
    // The filter when it is on, for the commands that act on shown records.
    const tabulon::RecordFilter* shownRecords() const;

    Prompts& prompts_;
    const QString runDir_;
    const QString helpGuide_;
    // The table file as last read or written, to notice another writer.
    std::optional<tabulon::FileStamp> fileStamp_;
    FileFeedback fileFeedback_;
    PrintOptions printOptions_;  // as last chosen
    // A file is being read or written; events run meanwhile only for feedback.
    bool fileBusy_ = false;
    tabulon::TableModel model_;
    tabulon::UndoHistory history_{model_};       // every change to the table goes through it
    tabulon::RecordFilter filter_{model_};       // observes the model before the item model
    std::unique_ptr<TableItemModel> itemModel_;  // destroyed before the model it observes
    std::unique_ptr<RecoveryKeeper> recovery_;   // likewise
    MenuKeyGuard* menuKeys_ = nullptr;

    TableGrid* grid_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QPlainTextEdit* textPane_ = nullptr;
    StatusPanels* statusPanels_ = nullptr;
    QLabel* encodingLabel_ = nullptr;
    QLabel* filterLabel_ = nullptr;
    QMenu* gridMenu_ = nullptr;
    RecentFilesMenu* recentFiles_ = nullptr;

    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QAction* cutAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* pasteAction_ = nullptr;
    QAction* deleteAction_ = nullptr;
    QAction* cardAction_ = nullptr;
    // Commands whose enabling follows the table, refreshed with their menu.
    std::vector<std::pair<QAction*, std::function<bool()>>> tableEnabling_;

    AboutBox* aboutBox_ = nullptr;
    ItemNamesDialog* itemNamesDialog_ = nullptr;
    RowHeightDialog* rowHeightDialog_ = nullptr;
    SortDialog* sortDialog_ = nullptr;
    FindDialog* findDialog_ = nullptr;
    ColumnWidthsDialog* columnWidthsDialog_ = nullptr;
    FoundCellsWindow* foundCellsWindow_ = nullptr;
    HtmlExportDialog* htmlExportDialog_ = nullptr;
    FoundRecordsWindow* foundRecordsWindow_ = nullptr;
    FilterDialog* filterDialog_ = nullptr;
    CardWindow* cardWindow_ = nullptr;
};
