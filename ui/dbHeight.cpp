#include "dbHeight.h"

using namespace Qt::StringLiterals;

TfoHeight* foHeight = nullptr;

TfoHeight::TfoHeight(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
    setObjectName(u"foHeight"_s);
    setWindowTitle(u"高さの変更"_s);
}
