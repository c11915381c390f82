#include "dbListUp.h"

using namespace Qt::StringLiterals;

TfoListUp* foListUp = nullptr;

TfoListUp::TfoListUp(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
    setObjectName(u"foListUp"_s);
    setWindowTitle(u"すべて検索"_s);
}
