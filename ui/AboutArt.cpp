#include "AboutArt.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// Draws in the icon's own 64 x 64 units, scaled to `area`.
void ScaleTo(QPainter& painter, const QRect& area, qreal width, qreal height) {
    painter.translate(area.topLeft());
    painter.scale(area.width() / width, area.height() / height);
}

void Line(QPainter& painter, const QColor& colour, qreal width, QPointF from, QPointF to) {
    painter.setPen(QPen(colour, width));
    painter.drawLine(from, to);
}

}  // namespace

void PaintTabulonIcon(QPainter& painter, const QRect& area) {
    painter.save();
    ScaleTo(painter, area, 64, 64);
    const QColor frame(0x5b, 0x6f, 0x8f);
    const QColor rule(0x9a, 0xa9, 0xc2);
    const QColor marker(0xd9, 0x53, 0x4f);

    painter.setPen(QPen(frame, 2));
    painter.setBrush(QColor(0xfd, 0xfa, 0xf0));
    painter.drawRoundedRect(QRectF(6, 8, 52, 48), 4, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(frame);
    painter.drawRoundedRect(QRectF(6, 8, 52, 10), 4, 4);

    Line(painter, frame, 1.5, {18, 18}, {18, 56});
    for (const qreal y : {28.0, 38.0, 48.0}) {
        Line(painter, rule, 1.5, {6, y}, {58, y});
    }
    Line(painter, rule, 1.5, {38, 18}, {38, 56});

    QPainterPath arrow;
    arrow.moveTo(9, 33);
    arrow.lineTo(14, 33);
    arrow.lineTo(14, 30);
    arrow.lineTo(18, 33);
    arrow.lineTo(14, 36);
    arrow.lineTo(14, 33);
    painter.setPen(QPen(marker, 1));
    painter.setBrush(marker);
    painter.drawPath(arrow);
    painter.restore();
}

void PaintCardStack(QPainter& painter, const QRect& area) {
    painter.save();
    ScaleTo(painter, area, 210, 204);
    // Pale enough that the texts in front stay easy to read.
    const QColor paper(0xf7, 0xf7, 0xfd);
    const QColor edge(0xdd, 0xdd, 0xf2);
    const QColor rule(0xea, 0xea, 0xf7);
    const QColor tab(0xe6, 0xe6, 0xf8);
    const qreal angles[] = {-14, -6, 3};
    for (const qreal angle : angles) {
        painter.save();
        painter.translate(112, 104);
        painter.rotate(angle);
        const QRectF card(-78, -58, 156, 116);
        painter.setPen(Qt::NoPen);
        painter.setBrush(tab);
        painter.drawRoundedRect(QRectF(card.left() + 14, card.top() - 12, 40, 18), 4, 4);
        painter.setPen(QPen(edge, 1.5));
        painter.setBrush(paper);
        painter.drawRoundedRect(card, 6, 6);
        painter.setPen(QPen(rule, 1));
        for (qreal y = card.top() + 24; y < card.bottom() - 6; y += 16) {
            painter.drawLine(QPointF(card.left() + 8, y), QPointF(card.right() - 8, y));
        }
        painter.restore();
    }
    // The marker arrow, large and faint, on the front card.
    QPainterPath arrow;
    arrow.moveTo(58, 150);
    arrow.lineTo(118, 150);
    arrow.lineTo(118, 136);
    arrow.lineTo(150, 158);
    arrow.lineTo(118, 180);
    arrow.lineTo(118, 166);
    arrow.lineTo(58, 166);
    arrow.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xfb, 0xe4, 0xe3));
    painter.drawPath(arrow);
    painter.restore();
}
