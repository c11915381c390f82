#include "TablePrinter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "Cp932Text.h"
#include "FontMapping.h"
#include "table/ItemLabels.h"
#include "text/IntegerText.h"

using namespace Qt::StringLiterals;

namespace {

// The table's widths and heights are screen pixels of this resolution.
constexpr double kScreenResolution = 96;
// Text is scaled down to fit a page no smaller than this.
constexpr double kReadablePoints = 6;
const QColor kRuleColour(128, 128, 128);
const QColor kNamesBackground(230, 230, 230);

// The table font at the painting resolution, by pixels: a size in points
// would follow each device's resolution on top of the painter's scale.
QFont PrintFont(const tabulon::FontDesc& desc) {
    QFont font = ToQFont(desc);
    const double pixels = font.pointSizeF() > 0
                              ? font.pointSizeF() * TablePrinter::kResolution / 72
                              : font.pixelSize() * TablePrinter::kResolution / kScreenResolution;
    font.setPixelSize(std::max(1, qRound(pixels)));
    return font;
}

// One line of `text` at the left of `box`, centred in its height, cut with
// "…" where it is wider. Drawn from its baseline: a box with alignment would
// lay the text out as a paragraph, which doubles the time of a large PDF.
void DrawLine(QPainter& painter, const QFontMetricsF& metrics, const QRectF& box,
              const QString& text) {
    const QString shown = metrics.horizontalAdvance(text) <= box.width()
                              ? text
                              : metrics.elidedText(text, Qt::ElideRight, box.width());
    painter.drawText(
        QPointF(box.left(), box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent()),
        shown);
}

}  // namespace

TablePrinter::TablePrinter(const tabulon::TableModel& model, Content content,
                           const QPageLayout& layout)
    : model_(model),
      content_(std::move(content)),
      layout_(layout),
      font_(PrintFont(model.Font())),
      boldFont_(font_),
      area_(layout.paintRectPixels(static_cast<int>(kResolution)).size()) {
    boldFont_.setBold(true);
    const QFontMetricsF metrics(font_);
    line_ = metrics.height();
    padding_ = line_ / 4;
    headHeight_ = line_ * 2;
    const double bodyHeight = std::max(area_.height() - 2 * headHeight_, line_);
    if (content_.cards) {
        for (int col = content_.firstCol; col <= content_.lastCol; ++col) {
            labelWidth_ = std::max(labelWidth_, QFontMetricsF(boldFont_).horizontalAdvance(
                                                    FromCp932(tabulon::ItemLabel(model_, col))));
        }
        labelWidth_ = std::min(labelWidth_ + 3 * padding_, area_.width() * 0.4);
        std::vector<double> heights(content_.records.size());
        for (size_t i = 0; i < heights.size(); ++i) {
            heights[i] = CardHeight(static_cast<int>(i));
        }
        cardPages_ = tabulon::PlanCardPages(heights, bodyHeight, line_);
        return;
    }
    const double unit = kResolution / kScreenResolution;
    for (int col = content_.firstCol; col <= content_.lastCol; ++col) {
        widths_.push_back(model_.GetColWidth(col) * unit);
    }
    rowHeight_ = std::max(model_.RowHeight() * unit, line_ + padding_);
    const double points = font_.pixelSize() * 72 / kResolution;
    table_.emplace(tabulon::TablePageInput{widths_, rowHeight_,
                                           static_cast<int>(content_.records.size()), area_.width(),
                                           bodyHeight, std::min(1.0, kReadablePoints / points)});
}

int TablePrinter::PageCount() const {
    return table_ ? table_->PageCount() : static_cast<int>(cardPages_.size());
}

QString TablePrinter::Cell(int col, int row) const {
    return FromCp932(model_.GetCell(col, row));
}

void TablePrinter::PaintPage(QPainter& painter, int page) const {
    painter.save();
    PaintHead(painter, page);
    painter.translate(0, headHeight_);
    painter.setClipRect(QRectF(0, 0, area_.width(), area_.height() - 2 * headHeight_));
    if (table_) {
        PaintTable(painter, page);
    } else {
        PaintCards(painter, page);
    }
    painter.restore();
}

void TablePrinter::PaintHead(QPainter& painter, int page) const {
    painter.setFont(font_);
    painter.setPen(Qt::black);
    const QRectF head(0, 0, area_.width(), line_);
    DrawLine(painter, QFontMetricsF(font_), QRectF(0, 0, area_.width() * 0.7, line_),
             content_.title);
    painter.drawText(head, Qt::AlignRight | Qt::AlignVCenter, content_.date);
    painter.setPen(QPen(kRuleColour, 0));
    painter.drawLine(QPointF(0, line_ * 1.4), QPointF(area_.width(), line_ * 1.4));
    painter.setPen(Qt::black);
    const QString number =
        u"%1 / %2"_s.arg(QString::fromStdString(tabulon::GroupedDigits(page + 1)),
                         QString::fromStdString(tabulon::GroupedDigits(PageCount())));
    painter.drawText(QRectF(0, area_.height() - line_, area_.width(), line_), Qt::AlignCenter,
                     number);
}

void TablePrinter::PaintTable(QPainter& painter, int page) const {
    const tabulon::TablePage at = table_->PageAt(page);
    const double scale = table_->Scale();
    painter.scale(scale, scale);
    // A column wider than the page alone is cut at its edge.
    const double room = area_.width() / scale;
    std::vector<double> lefts{0};
    for (int c = at.columnBegin; c < at.columnEnd; ++c) {
        lefts.push_back(lefts.back() + std::min(widths_[static_cast<size_t>(c)], room));
    }
    const double right = lefts.back();
    const int rows = at.recordCount + 1;
    painter.fillRect(QRectF(0, 0, right, rowHeight_), kNamesBackground);
    for (int r = 0; r < rows; ++r) {
        const int row = r == 0 ? 0 : content_.records[static_cast<size_t>(at.firstRecord + r - 1)];
        const QFont& font = r == 0 ? boldFont_ : font_;
        const QFontMetricsF metrics(font);
        painter.setFont(font);
        for (int c = at.columnBegin; c < at.columnEnd; ++c) {
            const size_t i = static_cast<size_t>(c - at.columnBegin);
            const QRectF cell(lefts[i] + padding_, r * rowHeight_,
                              lefts[i + 1] - lefts[i] - 2 * padding_, rowHeight_);
            DrawLine(painter, metrics, cell, Cell(content_.firstCol + c, row));
        }
    }
    painter.setPen(QPen(kRuleColour, 0));
    for (int r = 0; r <= rows; ++r) {
        painter.drawLine(QPointF(0, r * rowHeight_), QPointF(right, r * rowHeight_));
    }
    for (const double x : lefts) {
        painter.drawLine(QPointF(x, 0), QPointF(x, rows * rowHeight_));
    }
}

double TablePrinter::TextHeight(const QString& text, double width) const {
    const QFontMetricsF metrics(font_);
    if (metrics.horizontalAdvance(text) <= width) {
        return line_;
    }
    return std::max(
        line_, metrics.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWrapAnywhere, text).height());
}

double TablePrinter::CardHeight(int index) const {
    const int row = content_.records[static_cast<size_t>(index)];
    double height = line_ + 3 * padding_;
    const double width = area_.width() - labelWidth_ - 2 * padding_;
    for (int col = content_.firstCol; col <= content_.lastCol; ++col) {
        height += TextHeight(Cell(col, row), width);
    }
    return height;
}

void TablePrinter::PaintCards(QPainter& painter, int page) const {
    const auto first = static_cast<size_t>(page);
    const int begin = cardPages_[first];
    const int end = first + 1 < cardPages_.size() ? cardPages_[first + 1]
                                                  : static_cast<int>(content_.records.size());
    const double textLeft = labelWidth_ + padding_;
    const double textWidth = area_.width() - labelWidth_ - 2 * padding_;
    const QString count = QString::fromStdString(
        tabulon::GroupedDigits(static_cast<int64_t>(content_.records.size())));
    const QFontMetricsF labelMetrics(boldFont_);
    double top = 0;
    for (int index = begin; index < end; ++index) {
        const int row = content_.records[static_cast<size_t>(index)];
        const double height = CardHeight(index);
        painter.setPen(Qt::black);
        painter.setFont(boldFont_);
        painter.drawText(QRectF(padding_, top + padding_, area_.width(), line_),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         u"レコード %1 / %2"_s.arg(
                             QString::fromStdString(tabulon::GroupedDigits(index + 1)), count));
        double y = top + line_ + 2 * padding_;
        for (int col = content_.firstCol; col <= content_.lastCol; ++col) {
            const QString text = Cell(col, row);
            const double textHeight = TextHeight(text, textWidth);
            painter.setFont(boldFont_);
            DrawLine(painter, labelMetrics, QRectF(padding_, y, labelWidth_ - 2 * padding_, line_),
                     FromCp932(tabulon::ItemLabel(model_, col)));
            painter.setFont(font_);
            painter.drawText(QRectF(textLeft, y, textWidth, textHeight),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere, text);
            y += textHeight;
        }
        painter.setPen(QPen(kRuleColour, 0));
        painter.drawRect(QRectF(0, top, area_.width(), height));
        painter.drawLine(QPointF(0, top + line_ + 1.5 * padding_),
                         QPointF(area_.width(), top + line_ + 1.5 * padding_));
        top += height + line_;
    }
}
