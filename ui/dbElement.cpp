#include "dbElement.h"

using namespace Qt::StringLiterals;

TfoElement* foElement = nullptr;

TfoElement::TfoElement(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
    setObjectName(u"foElement"_s);
    setWindowTitle(u"要素検索"_s);
}
