#pragma once
// The print preview: one page of the printout at a time, as large as the
// window lets it be, painted when it is shown, so that it opens at once
// whatever the number of pages. 印刷 goes on to the printer.

#include <QDialog>

class QLabel;
class QSpinBox;
class TablePrinter;

class PrintPreviewDialog : public QDialog {
  public:
    PrintPreviewDialog(QWidget* parent, const TablePrinter& pages);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Paints the page the box names.
    void ShowPage();

    const TablePrinter& pages_;
    QSpinBox* pageBox_ = nullptr;
    QLabel* view_ = nullptr;
};
