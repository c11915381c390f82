#include "AboutBox.h"

#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "AboutArt.h"
#include "LinkLabel.h"
#include "PaintedImage.h"

using namespace Qt::StringLiterals;

namespace {

const QColor kTextColour(0x66, 0x66, 0xCC);
constexpr int kWidth = 382;
constexpr int kHeight = 219;
constexpr int kRight = kWidth - 8;  // right edge of the right-aligned texts

struct Credit {
    QString name;
    QString link;
    QUrl target;
};

QFont BoxFont(int pixels, bool bold) {
    QFont font(u"ＭＳ Ｐゴシック"_s);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A lowered bevel line: shadow, then highlight.
void Bevel(QPainter& painter, QPoint from, QPoint to, QPoint inward) {
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawLine(from, to);
    painter.setPen(Qt::white);
    painter.drawLine(from + inward, to + inward);
}

}  // namespace

AboutBox::AboutBox(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Dialog | Qt::FramelessWindowHint),
      openLink_([](const QUrl& target) { QDesktopServices::openUrl(target); }) {
    setObjectName(u"aboutBox"_s);
    setWindowTitle(u"バージョン情報"_s);
    setFixedSize(kWidth, kHeight);
    setCursor(Qt::CrossCursor);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(BoxFont(12, false));

    // Created first, so every text lies in front of it.
    auto* picture = new PaintedImage(PaintCardStack, this);
    picture->setObjectName(u"cardStackImage"_s);
    picture->setGeometry(136, 8, 210, 204);
    auto* icon = new PaintedImage(PaintTabulonIcon, this);
    icon->setObjectName(u"iconImage"_s);
    icon->setGeometry(10, 10, 32, 32);

    QLabel* version = addLabel(u"Tabulon ver"_s + QString::fromLatin1(TABULON_VERSION),
                               QRect(52, 18, 220, 16), kTextColour, true);
    version->setObjectName(u"versionLabel"_s);
    version->setFont(BoxFont(13, true));

    addLabel(u"SpecialThanks :"_s, QRect(10, 58, 200, 14), kTextColour, true);
    const QUrl readme = QUrl::fromLocalFile(QDir::cleanPath(QString::fromUtf8(TABULON_README)));
    const Credit credits[] = {
        {u"Qt"_s, u"www.qt.io"_s, QUrl(u"https://www.qt.io/"_s)},
        {u"ICU"_s, u"icu.unicode.org"_s, QUrl(u"https://icu.unicode.org/"_s)},
        {u"GoogleTest"_s, u"github.com/google/googletest"_s,
         QUrl(u"https://github.com/google/googletest"_s)},
        {u"Debian"_s, u"www.debian.org"_s, QUrl(u"https://www.debian.org/"_s)},
    };
    int y = 76;
    for (const Credit& credit : credits) {
        addLabel(credit.name, QRect(26, y, 110, 14), kTextColour, false);
        addLink(credit.link, credit.target, QPoint(150, y));
        y += 16;
    }

    QLabel* heading = addLabel(u"ApplicationCondition :"_s, QRect(10, 152, 200, 14),
                               QColor(0x80, 0x80, 0x80), true);
    heading->setObjectName(u"conditionHeading"_s);
    conditionLabel_ = addLabel(u"Running"_s, QRect(250, 152, 92, 14), kTextColour, true);
    conditionLabel_->setObjectName(u"conditionLabel"_s);
    conditionLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    dotsLabel_ = addLabel(u"..."_s, QRect(342, 152, 24, 14), kTextColour, true);
    dotsLabel_->setObjectName(u"dotsLabel"_s);

    QLabel* notice = addLabel(u"Presented by"_s, QRect(10, 180, 0, 14), kTextColour, false);
    notice->setObjectName(u"noticeLabel"_s);
    notice->adjustSize();
    addLink(u"Tabulon developers"_s, readme, QPoint(notice->geometry().right() + 6, 180));
    LinkLabel* mail =
        addLink(u"dev@tabulon.invalid"_s, QUrl(u"mailto:dev@tabulon.invalid"_s), QPoint(0, 198));
    mail->move(kRight - mail->width(), 198);

    dotsTimer_ = new QTimer(this);
    dotsTimer_->setObjectName(u"dotsTimer"_s);
    dotsTimer_->setInterval(150);
    connect(dotsTimer_, &QTimer::timeout, this, &AboutBox::advanceDots);
}

QLabel* AboutBox::addLabel(const QString& text, const QRect& geometry, const QColor& colour,
                           bool bold) {
    auto* label = new QLabel(text, this);
    label->setGeometry(geometry);
    label->setFont(BoxFont(12, bold));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

LinkLabel* AboutBox::addLink(const QString& text, const QUrl& target, const QPoint& where) {
    auto* link = new LinkLabel(text, target, this);
    link->adjustSize();
    link->move(where);
    connect(link, &LinkLabel::clicked, this, [this](const QUrl& url) { openLink_(url); });
    return link;
}

void AboutBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int right = width() - 1;
    const int bottom = height() - 1;
    // The frame along the four edges.
    Bevel(painter, {0, 0}, {right, 0}, {0, 1});
    Bevel(painter, {0, 0}, {0, bottom}, {1, 0});
    Bevel(painter, {0, bottom - 1}, {right, bottom - 1}, {0, 1});
    Bevel(painter, {right - 1, 0}, {right - 1, bottom}, {1, 0});
    // The rules between the parts.
    for (const int y : {50, 144, 172}) {
        Bevel(painter, {8, y}, {right - 8, y}, {0, 1});
    }
}

void AboutBox::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    dotsTimer_->start();
}

void AboutBox::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    dotsTimer_->stop();
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            close();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void AboutBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
    }
}

void AboutBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        close();
    }
}

void AboutBox::advanceDots() {
    const QString text = dotsLabel_->text();
    if (text.isEmpty()) {
        dotsLabel_->setText(u"."_s);
    } else if (text == u"."_s) {
        dotsLabel_->setText(u".."_s);
    } else if (text == u".."_s) {
        dotsLabel_->setText(u"..."_s);
    } else if (text == u"..."_s) {
        dotsLabel_->clear();
    }
}
