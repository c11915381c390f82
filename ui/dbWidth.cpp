#include "dbWidth.h"

using namespace Qt::StringLiterals;

TfoWidth* foWidth = nullptr;

TfoWidth::TfoWidth(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
    setObjectName(u"foWidth"_s);
    setWindowTitle(u"横幅の変更"_s);
}
