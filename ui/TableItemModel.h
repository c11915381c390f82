#pragma once
// The Qt face of the TableModel, holding no data of its own. Row 0 (item
// names) and column 0 (the marker) are the view's headers, so model cell
// (c, r) is index (p, c - 1), where p is record r's position among those the
// filter shows (r - 1 without a filter). Model notices become Qt's begin/end
// pairs, dataChanged for just the changed cells, and plain signals for the rest.
// While filtered, the row headers show the record numbers.

#include <QAbstractTableModel>
#include <functional>
#include <optional>

#include "search/RecordFilter.h"
#include "table/TableModel.h"
#include "table/TableObserver.h"

class TableItemModel : public QAbstractTableModel, private tabulon::TableObserver {
    Q_OBJECT

  public:
    // The filter observes the table before this model does, so that it has
    // followed a change when this model tells the view.
    TableItemModel(tabulon::TableModel& table, const tabulon::RecordFilter& filter,
                   QObject* parent = nullptr);
    ~TableItemModel() override;

    tabulon::TableModel& Table() const { return table_; }
    const tabulon::RecordFilter& Filter() const { return filter_; }
    // View rows and table records: the record a row shows, the row showing a
    // record (none while the filter hides it).
    int Record(int viewRow) const { return filter_.RecordAt(viewRow); }
    std::optional<int> ViewRow(int record) const { return filter_.PositionOf(record); }
    // Runs a change of the filter, the view reset around it.
    void ChangeFilter(const std::function<void()>& change);
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
    // The view rows [first, last] showing records row0 .. row1; empty when none.
    void ViewRows(int row0, int row1, int& first, int& last) const;
    void ColumnWidthsChanged() override;
    void RowHeightChanged() override;
    void FontChanged() override;

    // The view's range of a change of model rows/columns, or false if it has
    // none that Qt could announce piecewise (then the change is a reset).
    bool ViewRange(const tabulon::TableChange& change, int& first, int& last) const;

    tabulon::TableModel& table_;
    const tabulon::RecordFilter& filter_;
    bool changing_ = false;
    bool resetting_ = false;
    bool unseen_ = false;
};
