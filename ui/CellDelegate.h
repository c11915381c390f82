#pragma once
// Creates the cell editor and fills it from the model. The model already holds
// every keystroke, so nothing is written back when the editor closes, and the
// keys that Qt's delegate would use to close the editor go to the grid instead.

#include <QStyledItemDelegate>
#include <functional>

class QKeyEvent;

class CellDelegate : public QStyledItemDelegate {
  public:
    // Returns true when the grid has used the key.
    using KeyHandler = std::function<bool(QWidget* editor, QKeyEvent* event)>;

    CellDelegate(KeyHandler keyHandler, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  protected:
    bool eventFilter(QObject* object, QEvent* event) override;

  private:
    KeyHandler keyHandler_;
};
