#pragma once
// The main window with the find dialog and the two result lists, driven by
// real keys and clicks: typing a search text, switching tabs, picking the
// scope, ticking options, pressing buttons, double-clicking result lines.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>

#include "MainWindowFixture.h"
#include "ResultGrid.h"
#include "table/CellPosition.h"

class SearchFixture : public MainWindowFixture {
  public:
    // The dialog opened with Ctrl+F from the cell editor, active.
    void OpenFind();
    // Back to the main window, as a click into it would.
    void ActivateMain();
    // Whether `window` became the active window within a second.
    static bool WaitActive(QWidget* window);

    QComboBox* Combo(const char* name) const;
    QWidget* FindControl(const char* name) const;
    QPushButton* Button(QWidget* window, const char* name) const {
        return Child<QPushButton>(window, name);
    }
    QString LabelText(QWidget* window, const char* name) const {
        return Child<QLabel>(window, name)->text();
    }

    // Replaces the search text by typing it, character by character.
    void TypeSearch(const QString& text);
    void ClickTab(int index);
    // Picks an entry of a closed drop-down list with the arrow keys.
    void Pick(const char* combo, int index);
    void Tick(const char* checkBox);
    void Click(QWidget* window, const char* button);
    QStringList History() const;

    ResultGrid* ListGrid() const;
    ResultGrid* ElementGrid() const;
    // The header texts and the lines, each line's cells joined with "|".
    static QStringList Header(const ResultGrid* grid);
    static QStringList Lines(const ResultGrid* grid);
    // A real double-click on a line (the press selects it first).
    static void DoubleClickLine(ResultGrid* grid, int line);

    tabulon::CellPosition Current() const { return {model().CurrentCol(), model().CurrentRow()}; }
};

namespace tabulon {
inline void PrintTo(const CellPosition& cell, std::ostream* out) {
    *out << '(' << cell.col << ", " << cell.row << ')';
}
}  // namespace tabulon
