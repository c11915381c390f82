#pragma once
// The read-only grid of the two result lists: whole-line selection, grid
// lines, one header row and no header column, one row height. There is always
// a selected line once the list has one, and a double-click anywhere in the
// grid (header and empty area included) or Enter means "the selected line".

#include <QTableView>

class ResultGrid : public QTableView {
    Q_OBJECT

  public:
    ResultGrid(QAbstractItemModel* model, QWidget* parent);

    // The selected line, counted from 0 below the header, or -1.
    int SelectedLine() const;
    // The text shown in column `col` of the selected line; empty without one.
    QString SelectedText(int col) const;

  signals:
    void lineChosen();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void SelectFirstLine();
};
