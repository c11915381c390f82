#pragma once
// The card: the current record alone, one line per item, the item's name on
// the left and its text in a field on the right, under the record's number.
// It follows the table's current cell and moves it: entering a field makes
// that cell current, PgDn / PgUp / Ctrl+Home / Ctrl+End change the record and
// keep the item. A field's typing goes to the main window as the grid's does,
// so both edit through one path. It fills itself only while shown, and makes
// fields for a block of items around the current one, not for a million.

#include <QWidget>
#include <vector>

#include "edit/RecordSteps.h"

class CellEditor;
class MenuKeyGuard;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QScrollArea;
class TableItemModel;

class CardWindow : public QWidget {
    Q_OBJECT

  public:
    CardWindow(QWidget* mainWindow, TableItemModel* model, MenuKeyGuard* menuKeys);

    // The field that has the keyboard, or null.
    CellEditor* FocusedField() const;

  signals:
    // Cell (col, row) of the model is to become current.
    void cellChosen(int col, int row);
    // The user changed the text of cell (col, row), which is current.
    void fieldEdited(int col, int row, const QString& text);
    void charactersRefused(const QString& characters);
    // Esc: the keyboard goes back to the grid; the card stays.
    void gridRequested();
    void shownChanged(bool shown);

  protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    // Fields for the block of items holding `col`, showing the current record.
    void ShowItemsOf(int col);
    // One name and one field per item of the block.
    void MakeFields();
    void ShowNames();
    // Texts of item columns first .. last of the record shown; a field that
    // already shows its text keeps its caret and its undo.
    void ShowTexts(int first, int last);
    // The current record, every field anew.
    void ShowRecord();
    void FollowCurrentCell();
    void FocusField(int col);
    void Step(tabulon::RecordStep step);
    bool HandleKey(int col, const QKeyEvent& event);
    // The item column of a field, or 0; the field of an item column, or null.
    int ColumnOf(const QObject* field) const;
    CellEditor* FieldOf(int col) const;

    TableItemModel* model_;
    MenuKeyGuard* menuKeys_;
    QLabel* recordLabel_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* fieldsPanel_ = nullptr;
    QGridLayout* fieldsLayout_ = nullptr;
    int firstCol_ = 1;                 // the item column of the first field
    std::vector<QLabel*> names_;       // names_[i] names item column firstCol_ + i
    std::vector<CellEditor*> fields_;  // fields_[i] holds its text
    int row_ = 0;                      // the record shown
    bool typing_ = false;              // a field's text is on its way to the table
};
