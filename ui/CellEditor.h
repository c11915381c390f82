#pragma once
// The one text editor of the table, open on the current cell. It takes only
// characters that cp932 can hold: a keystroke or paste that would add any
// other is refused whole, and charactersRefused names what was refused.

#include <QLineEdit>

class CellEditor : public QLineEdit {
    Q_OBJECT

  public:
    explicit CellEditor(QWidget* parent);

    // Fills the editor from the cell without announcing a change.
    void SetTextQuietly(const QString& text);

  signals:
    // The user changed the text: typing, paste, cut, delete, undo.
    void editTextChanged(const QString& text);
    void charactersRefused(const QString& characters);

  public:
    // The text as it stood before the change now being made.
    const QString& AcceptedText() const { return accepted_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Files dragged over it are the main window's to open, not text to insert.
    void dragEnterEvent(QDragEnterEvent* event) override;

  private:
    bool quiet_ = false;
    QString accepted_;
};
