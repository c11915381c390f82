#include "PaintedImage.h"

#include <QPainter>

PaintedImage::PaintedImage(Painter paint, QWidget* parent)
    : QWidget(parent), paint_(std::move(paint)) {}

void PaintedImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paint_(painter, rect());
}
