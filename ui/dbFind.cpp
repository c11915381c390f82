#include "dbFind.h"

using namespace Qt::StringLiterals;

TfoFind* foFind = nullptr;

TfoFind::TfoFind(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
    setObjectName(u"foFind"_s);
    setWindowTitle(u"検索"_s);
}
