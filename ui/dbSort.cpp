#include "dbSort.h"

using namespace Qt::StringLiterals;

TfoSort* foSort = nullptr;

TfoSort::TfoSort(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
    setObjectName(u"foSort"_s);
    setWindowTitle(u"整列"_s);
}
