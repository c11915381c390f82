#pragma once
// The Qt face of the TableModel, holding no data of its own. Row 0 (item
// names) and column 0 (the marker) are the view's headers, so model cell
// (c, r) is index (r - 1, c - 1). Model notices become Qt's begin/end pairs,
// dataChanged for just the changed cells, and plain signals for the rest.

#include <QAbstractTableModel>

#include "table/TableModel.h"
#include "table/TableObserver.h"

class TableItemModel : public QAbstractTableModel, private tabulon::TableObserver {
    Q_OBJECT

  public:
    explicit TableItemModel(tabulon::TableModel& table, QObject* parent = nullptr);
    ~TableItemModel() override;

    tabulon::TableModel& Table() const { return table_; }
    // True between the model's announcement of a structural change and its end.
    bool IsChanging() const { return changing_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  signals:
    // The table's SelectionChanged: (col, row) is about to become current.
    void selectionChanging(int col, int row);
    void currentCellMoved();
    void columnWidthsChanged();
    void rowHeightChanged();
    void fontChanged();

  private:
    void SelectionChanged(int col, int row) override;
    void CurrentCellMoved() override;
    void TableChanging(const tabulon::TableChange& change) override;
    void TableChanged(const tabulon::TableChange& change) override;
    void CellsChanged(int col0, int row0, int col1, int row1) override;
    void ColumnWidthsChanged() override;
    void RowHeightChanged() override;
    void FontChanged() override;

    // The view's range of a change of model rows/columns, or false if it has
    // none that Qt could announce piecewise (then the change is a reset).
    static bool ViewRange(const tabulon::TableChange& change, int& first, int& last);

    tabulon::TableModel& table_;
    bool changing_ = false;
    bool resetting_ = false;
};
