#include "dbVarsion.h"

using namespace Qt::StringLiterals;

TfoVarsion* foVarsion = nullptr;

TfoVarsion::TfoVarsion(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
    setObjectName(u"foVarsion"_s);
    setWindowTitle(u"バージョン情報"_s);
}
