#pragma once
// A printout of the table: laid out once for one paper, then painted a page
// at a time on any device (the PDF writer, a printer, the preview's image),
// so that the pages are the same everywhere and a preview of twenty thousand
// pages paints only those shown. Each page is headed by the file's name and
// the date and footed by its number. The table's pages repeat the item names
// as their first row; cards show each record's item names and texts, whole
// cards only.

#include <QFont>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

#include "edit/PagePlan.h"
#include "table/TableModel.h"

class QPainter;

class TablePrinter {
  public:
    // Painting is done in pixels of this many per inch; a painter on a device
    // of another resolution is scaled to it.
    static constexpr double kResolution = 1200;

    struct Content {
        std::vector<int> records;  // the printed records, in order
        int firstCol = 1;          // the printed item columns
        int lastCol = 1;
        bool cards = false;
        QString title;  // the page head's name of the file
        QString date;
    };

    TablePrinter(const tabulon::TableModel& model, Content content, const QPageLayout& layout);

    const QPageLayout& Layout() const { return layout_; }
    int PageCount() const;
    // Paints page `page` (from 0) on a painter whose origin is the top left
    // of the paper's printable area and whose unit is a pixel of kResolution.
    void PaintPage(QPainter& painter, int page) const;

  private:
    void PaintHead(QPainter& painter, int page) const;
    void PaintTable(QPainter& painter, int page) const;
    void PaintCards(QPainter& painter, int page) const;
    double CardHeight(int index) const;
    // The height of `text` wrapped to `width`, at least one line.
    double TextHeight(const QString& text, double width) const;
    QString Cell(int col, int row) const;

    const tabulon::TableModel& model_;
    const Content content_;
    const QPageLayout layout_;
    QFont font_;
    QFont boldFont_;
    QSizeF area_;  // the printable area
    double line_ = 0;
    double padding_ = 0;
    double headHeight_ = 0;  // the head's and the foot's
    // The table's pages, or the first card of each page of cards.
    std::optional<tabulon::TablePagePlan> table_;
    std::vector<double> widths_;
    double rowHeight_ = 0;
    std::vector<int> cardPages_;
    double labelWidth_ = 0;
};
