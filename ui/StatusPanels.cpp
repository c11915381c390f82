#include "StatusPanels.h"

#include <QLabel>

namespace {

constexpr int kHintWidth = 300;
constexpr int kPositionWidth = 80;
constexpr int kCellTextWidth = 50;

}  // namespace

StatusPanels::StatusPanels(QWidget* parent) : QWidget(parent) {
    for (QLabel*& label : labels_) {
        label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
    }
    labels_[1]->setAlignment(Qt::AlignCenter);
}

void StatusPanels::SetText(int panel, const QString& text) {
    labels_.at(static_cast<size_t>(panel))->setText(text);
}

QString StatusPanels::Text(int panel) const {
    return labels_.at(static_cast<size_t>(panel))->text();
}

QSize StatusPanels::sizeHint() const {
    return {kHintWidth + kPositionWidth + kCellTextWidth, labels_[0]->sizeHint().height()};
}

QSize StatusPanels::minimumSizeHint() const {
    return {0, labels_[0]->minimumSizeHint().height()};
}

void StatusPanels::resizeEvent(QResizeEvent*) {
    const int h = height();
    // A narrow window (the default one is) shortens the hints first, so the
    // position and the cell text stay in view.
    const int hint = std::clamp(width() - kPositionWidth - kCellTextWidth, 0, kHintWidth);
    labels_[0]->setGeometry(0, 0, hint, h);
    labels_[1]->setGeometry(hint, 0, kPositionWidth, h);
    const int rest = width() - hint - kPositionWidth;
    labels_[2]->setGeometry(hint + kPositionWidth, 0, std::max(rest, kCellTextWidth), h);
}
