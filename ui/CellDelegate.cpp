#include "CellDelegate.h"

#include <QKeyEvent>

#include "CellEditor.h"

CellDelegate::CellDelegate(KeyHandler keyHandler, QObject* parent)
    : QStyledItemDelegate(parent), keyHandler_(std::move(keyHandler)) {}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex&) const {
    return new CellEditor(parent);
}

void CellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* cellEditor = static_cast<CellEditor*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    // Refilling an unchanged text would move the caret and forget the undo step.
    if (cellEditor->text() != text) {
        cellEditor->SetTextQuietly(text);
    }
}

void CellDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {}

bool CellDelegate::eventFilter(QObject* object, QEvent* event) {
    // Qt's own filter would commit and close the editor on focus loss, Tab,
    // Enter and Esc; this editor stays open and has nothing to commit.
    if (event->type() == QEvent::KeyPress) {
        return keyHandler_(static_cast<QWidget*>(object), static_cast<QKeyEvent*>(event));
    }
    return false;
}
