#pragma once
// Starts the real main window (and so its secondary windows) in a temporary run folder with
// scripted prompts, and offers the grid, the editor, cells and panels in
// UTF-8. Every scripted answer must have been used by the end of a test.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "CellEditor.h"
#include "MainWindow.h"
#include "ScriptedPrompts.h"
#include "TableGrid.h"

class MainWindowFixture : public ::testing::Test {
  public:
    void SetUp() override;
    void TearDown() override;

    // Creates the windows with these command-line parameters and shows the main one.
    void Start(const QStringList& parameters = {});
    // Closes and destroys the windows; returns whether the main window closed.
    bool Close();

    QString RunDir() const { return runDir_.path(); }
    QString DataDir() const { return runDir_.path() + QStringLiteral("/data"); }
    // The user guide the window is given: a page in the run folder.
    QString HelpGuide() const { return runDir_.path() + QStringLiteral("/help.html"); }
    // A path inside the test's own folder for table files.
    QString PathOf(const QString& name) const { return files_.filePath(name); }

    tabulon::TableModel& model() const { return window_->model(); }
    TableGrid* grid() const;
    CellEditor* editor() const { return grid()->Editor(); }
    QAction* action(const char* name) const;
    QString Panel(int index) const;

    // Empties the table and fills it: rows[0] are the item names, the rest
    // records; a blank trailing row follows. The current cell is (1, 1).
    // widths[i], when given and not 0, is the width of item column i + 1.
    void Fill(const std::vector<QStringList>& rows, const std::vector<int>& widths = {});
    // The present state as saved, or changed as the history cannot undo (the
    // first item one pixel wider): what a save question depends on.
    void MarkSaved() { window_->history().MarkClean(); }
    void MarkChanged();
    QString Cell(int col, int row) const;
    // The texts of a row, columns 0 .. ColCount - 1, joined with "|".
    QString Row(int row) const;
    // Rows of column 0 that hold the marker.
    std::vector<int> MarkerRows() const;
    // Moves the current cell by the model, as a search would.
    void Select(int col, int row);

    // Types each character as a key press carrying its text, into the cell
    // editor or the given widget.
    void Type(const QString& text, QWidget* into = nullptr);
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(editor(), key, modifiers);
    }

    ScriptedPrompts prompts_;
    size_t undoBudget = tabulon::UndoHistory::kDefaultMemoryBudget;  // for Start
    // For Start: where unsaved edits are kept, written after a quiet 10 ms; none by default.
    QString recoveryDir;

  private:
    std::unique_ptr<MainWindow> window_;
    QTemporaryDir runDir_;
    QTemporaryDir files_;
};

// The main window of the running test, and its secondary windows by type.
MainWindow* mainWindow();
template <typename Window>
Window* window() {
    return mainWindow()->findChild<Window*>();
}

// The control of that objectName and type inside `window`, or a test failure.
template <typename T>
T* Child(const QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

QString ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);
// Text in UTF-8 as the cp932 bytes of a file.
QByteArray Cp932(const QString& text);
