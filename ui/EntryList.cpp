#include "EntryList.h"

#include <QHeaderView>

#include "CellDelegate.h"
#include "CellEditor.h"
#include "Cp932Text.h"
#include "text/Cp932.h"

namespace {

constexpr int kRowHeight = 18;
constexpr int kBytesRole = Qt::UserRole;

}  // namespace

EntryList::EntryList(int labelWidth, int entryWidth, QWidget* parent) : QTableWidget(parent) {
    setColumnCount(1);
    // The editor keeps its keys: Up and Down reach the list, Tab moves the
    // focus on, Enter and Esc reach the dialog's buttons.
    setItemDelegate(new CellDelegate([](QWidget*, auto*) { return false; }, this));
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);
    // The open editor takes the focus for the list, so Tab leaves the list
    // from the editor and comes back to it.
    setFocusPolicy(Qt::NoFocus);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->resizeSection(0, entryWidth);

    QHeaderView* labels = verticalHeader();
    labels->setFixedWidth(labelWidth);
    labels->setSectionResizeMode(QHeaderView::Fixed);
    labels->setSectionsClickable(false);
    labels->setHighlightSections(false);
    labels->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The default size is silently raised to the minimum, so lower that first.
    labels->setMinimumSectionSize(kRowHeight);
    labels->setDefaultSectionSize(kRowHeight);
}

void EntryList::Fill(const std::vector<std::string>& labels,
                     const std::vector<std::string>& entries) {
    setRowCount(static_cast<int>(labels.size()));
    for (size_t r = 0; r < labels.size(); ++r) {
        const int row = static_cast<int>(r);
        setVerticalHeaderItem(row, new QTableWidgetItem(FromCp932(labels[r])));
        const std::string bytes = r < entries.size() ? entries[r] : std::string();
        auto* entry = new QTableWidgetItem(FromCp932(bytes));
        entry->setData(kBytesRole, QByteArray::fromStdString(bytes));
        setItem(row, 0, entry);
    }
    if (rowCount() > 0) {
        setCurrentCell(0, 0);
        scrollToTop();
        FocusEditor();
    }
}

std::vector<std::string> EntryList::Entries() const {
    std::vector<std::string> entries;
    entries.reserve(static_cast<size_t>(rowCount()));
    for (int row = 0; row < rowCount(); ++row) {
        const QTableWidgetItem* entry = item(row, 0);
        const std::string filled = entry->data(kBytesRole).toByteArray().toStdString();
        const QString text = entry->text();
        entries.push_back(
            text == FromCp932(filled) ? filled : tabulon::Utf8ToCp932(text.toStdString()).bytes);
    }
    return entries;
}

CellEditor* EntryList::Editor() const {
    return static_cast<CellEditor*>(indexWidget(currentIndex()));
}

void EntryList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableWidget::currentChanged(current, previous);
    if (previous.isValid()) {
        closePersistentEditor(itemFromIndex(previous));
    }
    if (current.isValid()) {
        openPersistentEditor(itemFromIndex(current));
        CellEditor* editor = Editor();
        // Every keystroke goes straight into the entry; nothing waits for a commit.
        const QPersistentModelIndex entry(current);
        connect(editor, &CellEditor::editTextChanged, this,
                [this, entry](const QString& text) { model()->setData(entry, text); });
        connect(editor, &CellEditor::charactersRefused, this, &EntryList::charactersRefused);
        FocusEditor();
    }
}

void EntryList::FocusEditor() {
    // As in the table, an entry is entered with its whole text selected.
    CellEditor* editor = Editor();
    editor->selectAll();
    editor->setFocus();
}
