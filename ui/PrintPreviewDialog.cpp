#include "PrintPreviewDialog.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "TablePrinter.h"
#include "WindowFont.h"
#include "text/IntegerText.h"

using namespace Qt::StringLiterals;

PrintPreviewDialog::PrintPreviewDialog(QWidget* parent, const TablePrinter& pages)
    : QDialog(parent), pages_(pages) {
    setObjectName(u"printPreview"_s);
    setWindowTitle(u"印刷プレビュー"_s);
    setFont(WindowFont());

    auto* previous = new QPushButton(u"前のページ"_s);
    previous->setShortcut(Qt::Key_PageUp);
    auto* next = new QPushButton(u"次のページ"_s);
    next->setShortcut(Qt::Key_PageDown);
    pageBox_ = new QSpinBox;
    pageBox_->setObjectName(u"pageBox"_s);
    pageBox_->setRange(1, pages_.PageCount());
    pageBox_->setSuffix(
        u" / %1"_s.arg(QString::fromStdString(tabulon::GroupedDigits(pages_.PageCount()))));
    auto* print = new QPushButton(u"印刷(&P)..."_s);
    auto* close = new QPushButton(u"閉じる"_s);
    connect(previous, &QPushButton::clicked, pageBox_, &QSpinBox::stepDown);
    connect(next, &QPushButton::clicked, pageBox_, &QSpinBox::stepUp);
    connect(pageBox_, &QSpinBox::valueChanged, this, &PrintPreviewDialog::ShowPage);
    connect(print, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    view_ = new QLabel;
    view_->setAlignment(Qt::AlignCenter);
    view_->setMinimumSize(200, 200);
    view_->setStyleSheet(u"background: #808080"_s);
    auto* tools = new QHBoxLayout;
    for (QWidget* widget : {static_cast<QWidget*>(previous), static_cast<QWidget*>(next),
                            static_cast<QWidget*>(pageBox_)}) {
        tools->addWidget(widget);
    }
    tools->addStretch(1);
    tools->addWidget(print);
    tools->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(view_, 1);
    resize(760, 900);
}

void PrintPreviewDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    ShowPage();
}

void PrintPreviewDialog::ShowPage() {
    const QPageLayout& layout = pages_.Layout();
    const auto resolution = static_cast<int>(TablePrinter::kResolution);
    const QRectF paper = layout.fullRectPixels(resolution);
    const QSizeF room = view_->size() - QSizeF(16, 16);
    const double scale =
        std::max(std::min(room.width() / paper.width(), room.height() / paper.height()), 0.01);
    QImage image((paper.size() * scale).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    painter.translate(layout.paintRectPixels(resolution).topLeft());
    pages_.PaintPage(painter, pageBox_->value() - 1);
    painter.end();
    view_->setPixmap(QPixmap::fromImage(image));
}
