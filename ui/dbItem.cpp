#include "dbItem.h"

using namespace Qt::StringLiterals;

TfoItems* foItems = nullptr;

TfoItems::TfoItems(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
    setObjectName(u"foItems"_s);
    setWindowTitle(u"項目編集"_s);
}
