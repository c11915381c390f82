#include "dbHtml.h"

using namespace Qt::StringLiterals;

TfoHtml* foHtml = nullptr;

TfoHtml::TfoHtml(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
    setObjectName(u"foHtml"_s);
    setWindowTitle(u"HTML形式で保存"_s);
}
