#include "FoundCellsModel.h"

#include <algorithm>

#include "Cp932Text.h"

using namespace Qt::StringLiterals;

void FoundCellsModel::SetCells(tabulon::FoundCells cells) {
    beginResetModel();
    cells_ = std::move(cells);
    endResetModel();
}

int FoundCellsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(static_cast<int>(cells_.size()), 1);
}

int FoundCellsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant FoundCellsModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() ||
        static_cast<size_t>(index.row()) >= cells_.size()) {
        return {};
    }
    const auto line = static_cast<size_t>(index.row());
    switch (index.column()) {
        case 0:
            return QString::number(cells_.Cell(line).col);
        case 1:
            return QString::number(cells_.Cell(line).row);
        default:
            return FromCp932(cells_.Text(line));
    }
}

QVariant FoundCellsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    // " 横位置" is the column, " 縦位置" the row.
    static const QString headers[] = {u" 横位置"_s, u" 縦位置"_s, u" 内容"_s};
    return section >= 0 && section < 3 ? headers[section] : QVariant();
}
