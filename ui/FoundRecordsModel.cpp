#include "FoundRecordsModel.h"

#include <algorithm>

#include "Cp932Text.h"

using namespace Qt::StringLiterals;

void FoundRecordsModel::SetRecords(tabulon::FoundRecords records) {
    beginResetModel();
    records_ = std::move(records);
    endResetModel();
}

int FoundRecordsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(static_cast<int>(records_.Records()), 1);
}

int FoundRecordsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : records_.Columns() + 1;
}

QVariant FoundRecordsModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() ||
        static_cast<size_t>(index.row()) >= records_.Records()) {
        return {};
    }
    const auto record = static_cast<size_t>(index.row());
    if (index.column() == 0) {
        return QString::number(records_.Row(record));
    }
    return FromCp932(records_.Text(record, index.column()));
}

QVariant FoundRecordsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (section == 0) {
        return u"縦位置"_s;
    }
    if (section > records_.Columns()) {
        return {};
    }
    return FromCp932(records_.Name(section));
}
