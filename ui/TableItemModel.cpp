#include "TableItemModel.h"

#include <algorithm>

#include "Cp932Text.h"

using tabulon::TableChange;

namespace {

QString Display(std::string_view cp932) {
    return cp932.empty() ? QString() : FromCp932(cp932);
}

}  // namespace

TableItemModel::TableItemModel(tabulon::TableModel& table, const tabulon::RecordFilter& filter,
                               QObject* parent)
    : QAbstractTableModel(parent), table_(table), filter_(filter) {
    table_.AddObserver(this);
}

TableItemModel::~TableItemModel() {
    table_.RemoveObserver(this);
}

int TableItemModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : filter_.Count();
}

int TableItemModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.ColCount() - 1;
}

QVariant TableItemModel::data(const QModelIndex& index, int role) const {
    // While the table is replaced (a file loading, on several threads, with
    // its progress shown meanwhile), its cells are not read.
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) ||
        (role != Qt::DisplayRole && role != Qt::EditRole) || resetting_) {
        return {};
    }
    return Display(table_.GetCell(index.column() + 1, Record(index.row())));
}

QVariant TableItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || section < 0 || resetting_) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return Display(table_.GetCell(section + 1, 0));
    }
    const int record = Record(section);
    if (!filter_.IsOn()) {
        return Display(table_.GetCell(0, record));
    }
    return Display(table_.GetCell(0, record)) + QString::number(record);
}

void TableItemModel::ChangeFilter(const std::function<void()>& change) {
    beginResetModel();
    change();
    endResetModel();
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

// Rows come and go at the end of the table: inserted ones are shown after
// the last shown record, removed ones take the shown records from `first` on.
bool TableItemModel::ViewRange(const TableChange& change, int& first, int& last) const {
    switch (change.kind) {
        case TableChange::Kind::RowsInserted:
            first = filter_.Count();
            last = first + change.count - 1;
            break;
        case TableChange::Kind::RowsRemoved:
            first = filter_.PositionFrom(change.first);
            last = filter_.Count() - 1;
            break;
        default:
            first = change.first - 1;
            last = first + change.count - 1;
            break;
    }
    return change.kind != TableChange::Kind::Reset && first >= 0 && change.count > 0;
}

void TableItemModel::TableChanging(const TableChange& change) {
    changing_ = true;
    int first = 0;
    int last = 0;
    resetting_ = !ViewRange(change, first, last);
    // Rows the filter hides go unseen.
    unseen_ = !resetting_ && first > last;
    if (unseen_) {
        return;
    }
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
        resetting_ = false;  // views read the cells anew as the reset ends
        endResetModel();
    } else if (!unseen_) {
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
    unseen_ = false;
    changing_ = false;
}

void TableItemModel::ViewRows(int row0, int row1, int& first, int& last) const {
    first = filter_.PositionFrom(std::max(row0, 1));
    last = filter_.PositionFrom(row1 + 1) - 1;
}

void TableItemModel::CellsChanged(int col0, int row0, int col1, int row1) {
    // Row 0 and column 0 are headers; the rest of the rectangle is cells.
    if (row0 == 0 && col1 >= 1) {
        emit headerDataChanged(Qt::Horizontal, std::max(col0, 1) - 1, col1 - 1);
    }
    int first = 0;
    int last = 0;
    ViewRows(row0, row1, first, last);
    if (first > last) {
        return;
    }
    // Filtered, the row headers show record numbers, which moved records change.
    if ((col0 == 0 || filter_.IsOn()) && row1 >= 1) {
        emit headerDataChanged(Qt::Vertical, first, last);
    }
    if (col1 >= 1 && row1 >= 1) {
        emit dataChanged(index(first, std::max(col0, 1) - 1), index(last, col1 - 1),
                         {Qt::DisplayRole, Qt::EditRole});
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
