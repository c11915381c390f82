#pragma once
// The two-column list of the item-name and column-width dialogs: a fixed,
// read-only label column (the vertical header) beside one editable column of
// entries, no grid lines, rows of 18 pixels. The current entry always has its
// editor open; the editor takes only what cp932 holds. Up and Down move
// between entries, Tab leaves the list, Enter and Esc go to the dialog.

#include <QTableWidget>
#include <string>
#include <vector>

class CellEditor;

class EntryList : public QTableWidget {
    Q_OBJECT

  public:
    EntryList(int labelWidth, int entryWidth, QWidget* parent);

    // One row per label; entry i (cp932) goes beside label i, missing ones are
    // empty. The first entry becomes current.
    void Fill(const std::vector<std::string>& labels, const std::vector<std::string>& entries);
    // The entries in cp932. An entry left as it was filled keeps its bytes,
    // even those that show as U+FFFD; an edited one is encoded.
    std::vector<std::string> Entries() const;

    CellEditor* Editor() const;

  signals:
    void charactersRefused(const QString& characters);

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  private:
    void FocusEditor();
};
