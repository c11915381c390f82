#include "CardField.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <climits>

namespace {

// Japanese breaks between any two characters; a word too long for the line breaks too.
constexpr int kWrap = Qt::TextWordWrap | Qt::TextWrapAnywhere;

}  // namespace

CardField::CardField(QWidget* parent) : CellEditor(parent) {
    setFrame(true);
    // The line being edited stays where the first wrapped line was.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    connect(this, &QLineEdit::textChanged, this, [this] { updateGeometry(); });
}

QRect CardField::TextRect(QSize size) const {
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    panel.rect = QRect(QPoint(), size);
    return style()
        ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
        .adjusted(2, 1, -2, -1);
}

int CardField::heightForWidth(int width) const {
    const int single = sizeHint().height();
    const QRect room = TextRect({width, single});
    const int lines =
        fontMetrics().boundingRect(QRect(0, 0, room.width(), INT_MAX), kWrap, text()).height();
    return single + std::max(lines - fontMetrics().height(), 0);
}

void CardField::paintEvent(QPaintEvent* event) {
    if (hasFocus()) {
        CellEditor::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(TextRect(size()), kWrap | Qt::AlignLeft | Qt::AlignTop, text());
}
