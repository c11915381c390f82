#include "DialogButton.h"

#include <QPushButton>
#include <algorithm>

QPushButton* MakeDialogButton(const QString& caption, const QString& name, QWidget* parent) {
    constexpr int kWidth = 75;
    constexpr int kHeight = 25;
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(true);
    button->setFixedSize(std::max(kWidth, button->sizeHint().width()), kHeight);
    return button;
}
