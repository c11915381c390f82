#include "PrintDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "WindowFont.h"

using namespace Qt::StringLiterals;

namespace {

constexpr QPageSize::PageSizeId kPapers[] = {QPageSize::A4,   QPageSize::A3, QPageSize::A5,
                                             QPageSize::B4,   QPageSize::B5, QPageSize::Letter,
                                             QPageSize::Legal};

QRadioButton* AddChoice(QLayout* layout, const QString& caption, const char* name, bool enabled) {
    auto* button = new QRadioButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setEnabled(enabled);
    layout->addWidget(button);
    return button;
}

}  // namespace

PrintDialog::PrintDialog(QWidget* parent, const PrintOptions& initial)
    : QDialog(parent), options_(initial) {
    setObjectName(u"printDialog"_s);
    setWindowTitle(u"印刷"_s);
    setFont(WindowFont());

    auto* range = new QGroupBox(u"印刷する範囲"_s);
    auto* rangeLayout = new QVBoxLayout(range);
    all_ = AddChoice(rangeLayout, u"すべてのレコード(&A)"_s, "allRecords", true);
    shown_ =
        AddChoice(rangeLayout, u"表示中のレコード(&F)"_s, "shownRecords", initial.shownOffered);
    selection_ =
        AddChoice(rangeLayout, u"選択範囲(&S)"_s, "selectedCells", initial.selectionOffered);
    (initial.range == PrintedRange::Shown       ? shown_
     : initial.range == PrintedRange::Selection ? selection_
                                                : all_)
        ->setChecked(true);
    cards_ = new QCheckBox(u"カード形式"_s);
    cards_->setObjectName(u"cards"_s);
    cards_->setChecked(initial.cards);

    paper_ = new QComboBox;
    paper_->setObjectName(u"paper"_s);
    for (const QPageSize::PageSizeId id : kPapers) {
        paper_->addItem(QPageSize::name(id), static_cast<int>(id));
    }
    paper_->setCurrentIndex(std::max(0, paper_->findData(static_cast<int>(initial.paper))));
    auto* orientation = new QHBoxLayout;
    portrait_ = AddChoice(orientation, u"縦(&P)"_s, "portrait", true);
    landscape_ = AddChoice(orientation, u"横(&L)"_s, "landscape", true);
    (initial.orientation == QPageLayout::Landscape ? landscape_ : portrait_)->setChecked(true);
    auto* paper = new QGroupBox(u"用紙"_s);
    auto* paperLayout = new QFormLayout(paper);
    paperLayout->addRow(u"サイズ(&Z)"_s, paper_);
    paperLayout->addRow(u"向き"_s, orientation);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(u"OK"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"キャンセル"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(range);
    layout->addWidget(cards_);
    layout->addWidget(paper);
    layout->addWidget(buttons);
}

PrintOptions PrintDialog::Chosen() const {
    PrintOptions chosen = options_;
    chosen.range = shown_->isChecked()       ? PrintedRange::Shown
                   : selection_->isChecked() ? PrintedRange::Selection
                                             : PrintedRange::All;
    chosen.cards = cards_->isChecked();
    chosen.paper = static_cast<QPageSize::PageSizeId>(paper_->currentData().toInt());
    chosen.orientation = landscape_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    return chosen;
}
