#pragma once
// The Qt face of find all's list: column index, row index and text of each
// hit. An empty list still shows one empty line, as the grid it stands for
// never has fewer than one line below its header.

#include <QAbstractTableModel>

#include "search/FoundCells.h"

class FoundCellsModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetCells(tabulon::FoundCells cells);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    tabulon::FoundCells cells_;
};
