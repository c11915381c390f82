#pragma once
// The Qt face of the element search's list: the row number in column 0 under
// "縦位置", then the record's texts under the item names. Before the first
// search it is that one column over one empty line.

#include <QAbstractTableModel>

#include "search/FoundRecords.h"

class FoundRecordsModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRecords(tabulon::FoundRecords records);
    const tabulon::FoundRecords& Records() const { return records_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    tabulon::FoundRecords records_;
};
