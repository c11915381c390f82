#pragma once
// The font the search windows are drawn in. A system without the face falls
// back through fontconfig; the name stays.

#include <QFont>

inline QFont WindowFont() {
    return QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9);
}
