#pragma once
// What the print commands (PDF, preview, printer) print and on what paper, as
// the print dialog offers it.

#include <QPageLayout>
#include <QPageSize>

// Which records: every one, those the filter shows, or the selected cells.
enum class PrintedRange { All, Shown, Selection };

struct PrintOptions {
    PrintedRange range = PrintedRange::All;
    bool cards = false;  // each record as a card rather than a row of the table
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    // The ranges the table offers at the moment: a filter is on, a block of
    // cells is selected.
    bool shownOffered = false;
    bool selectionOffered = false;
};
