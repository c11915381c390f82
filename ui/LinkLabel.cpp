#include "LinkLabel.h"

#include <QMouseEvent>

namespace {

const QColor kLinkColour(0x33, 0x99, 0xFF);
const QColor kHoverColour(0xFF, 0x66, 0x66);

}  // namespace

LinkLabel::LinkLabel(const QString& text, const QUrl& target, QWidget* parent)
    : QLabel(text, parent), target_(target) {
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    SetColour(kLinkColour);
}

void LinkLabel::SetColour(const QColor& colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, colour);
    setPalette(palette);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    SetColour(kHoverColour);
}

void LinkLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    SetColour(kLinkColour);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        event->accept();
    } else {
        event->ignore();
    }
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    if (rect().contains(event->position().toPoint())) {
        emit clicked(target_);
    }
}
