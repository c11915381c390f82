#include "TableItemModel.h"

#include <algorithm>

#include "Cp932Text.h"

using tabulon::TableChange;

namespace {

QString Display(std::string_view cp932) {
    return cp932.empty() ? QString() : FromCp932(cp932);
}

}  // namespace

TableItemModel::TableItemModel(tabulon::TableModel& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
    table_.AddObserver(this);
}

TableItemModel::~TableItemModel() {
    table_.RemoveObserver(this);
}

int TableItemModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.RowCount() - 1;
}

int TableItemModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.ColCount() - 1;
}

QVariant TableItemModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) ||
        (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return Display(table_.GetCell(index.column() + 1, index.row() + 1));
}

QVariant TableItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || section < 0) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return Display(table_.GetCell(section + 1, 0));
    }
    return Display(table_.GetCell(0, section + 1));
}

Qt::ItemFlags TableItemModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void TableItemModel::SelectionChanged(int col, int row) {
    emit selectionChanging(col, row);
}

void TableItemModel::CurrentCellMoved() {
    emit currentCellMoved();
}

bool TableItemModel::ViewRange(const TableChange& change, int& first, int& last) {
    first = change.first - 1;
    last = first + change.count - 1;
    return change.kind != TableChange::Kind::Reset && first >= 0 && change.count > 0;
}

void TableItemModel::TableChanging(const TableChange& change) {
    changing_ = true;
    int first = 0;
    int last = 0;
    resetting_ = !ViewRange(change, first, last);
    if (resetting_) {
        beginResetModel();
        return;
    }
    switch (change.kind) {
        case TableChange::Kind::RowsInserted:
            beginInsertRows({}, first, last);
            break;
        case TableChange::Kind::RowsRemoved:
            beginRemoveRows({}, first, last);
            break;
        case TableChange::Kind::ColumnsInserted:
            beginInsertColumns({}, first, last);
            break;
        case TableChange::Kind::ColumnsRemoved:
            beginRemoveColumns({}, first, last);
            break;
        case TableChange::Kind::Reset:
            break;
    }
}

void TableItemModel::TableChanged(const TableChange& change) {
    if (resetting_) {
        endResetModel();
    } else {
        switch (change.kind) {
            case TableChange::Kind::RowsInserted:
                endInsertRows();
                break;
            case TableChange::Kind::RowsRemoved:
                endRemoveRows();
                break;
            case TableChange::Kind::ColumnsInserted:
                endInsertColumns();
                break;
            case TableChange::Kind::ColumnsRemoved:
                endRemoveColumns();
                break;
            case TableChange::Kind::Reset:
                break;
        }
    }
    resetting_ = false;
    changing_ = false;
}

void TableItemModel::CellsChanged(int col0, int row0, int col1, int row1) {
    // Row 0 and column 0 are headers; the rest of the rectangle is cells.
    if (row0 == 0 && col1 >= 1) {
        emit headerDataChanged(Qt::Horizontal, std::max(col0, 1) - 1, col1 - 1);
    }
    if (col0 == 0 && row1 >= 1) {
        emit headerDataChanged(Qt::Vertical, std::max(row0, 1) - 1, row1 - 1);
    }
    if (col1 >= 1 && row1 >= 1) {
        emit dataChanged(index(std::max(row0, 1) - 1, std::max(col0, 1) - 1),
                         index(row1 - 1, col1 - 1), {Qt::DisplayRole, Qt::EditRole});
    }
}

void TableItemModel::ColumnWidthsChanged() {
    emit columnWidthsChanged();
}

void TableItemModel::RowHeightChanged() {
    emit rowHeightChanged();
}

void TableItemModel::FontChanged() {
    emit fontChanged();
}
