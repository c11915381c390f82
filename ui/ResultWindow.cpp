#include "ResultWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ResultGrid.h"
#include "SecondaryWindow.h"
#include "WindowFont.h"

using namespace Qt::StringLiterals;

ResultWindow::ResultWindow(QWidget* mainWindow, const tabulon::TableModel& model,
                           Qt::WindowFlags flags)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                              Qt::WindowCloseButtonHint | flags),
      model_(model) {
    setFont(WindowFont());
}

void ResultWindow::createLayout(QAbstractItemModel* list, const QString& viewName,
                                const Footer& footer) {
    view_ = new ResultGrid(list, this);
    view_->setObjectName(viewName);

    auto* panel = new QWidget(this);
    panel->setObjectName(u"footer"_s);
    panel->setFixedHeight(footer.height);
    closeButton_ = new QPushButton(u"閉じる"_s, panel);
    closeButton_->setObjectName(u"closeButton"_s);
    closeButton_->setGeometry(8, footer.buttonTop, 75, 23);
    closeButton_->setDefault(true);
    auto* labels = new QVBoxLayout;
    labels->setContentsMargins(92, 5, 8, 5);
    labels->setSpacing(2);
    for (const auto& [name, caption] : footer.labels) {
        auto* label = new QLabel(caption, panel);
        label->setObjectName(name);
        label->setTextFormat(Qt::PlainText);
        labels->addWidget(label);
        labels_.push_back(label);
    }
    panel->setLayout(labels);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_, 1);
    layout->addWidget(panel);

    connect(closeButton_, &QPushButton::clicked, this, &QWidget::hide);
}

void ResultWindow::showResults() {
    ShowSecondaryWindow(*parentWidget(), *this, WindowPlacement::Centred, MainWindowInput::Usable);
    view_->setFocus();
}
