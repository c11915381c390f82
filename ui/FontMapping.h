#pragma once
// The table font is kept as data (FontDesc); these build the QFont that shows
// it and take back what the font dialog chose. A face the system lacks falls
// back through fontconfig while the description keeps its name.

#include <QColor>
#include <QFont>

#include "table/FontDesc.h"

class QPalette;

QFont ToQFont(const tabulon::FontDesc& font);
// Face, size and style of `chosen`; character set and colour stay as they are.
void TakeQFont(tabulon::FontDesc& font, const QFont& chosen);
// The font's colour; a system colour (high byte set) means the window text.
QColor TextColor(const tabulon::FontDesc& font, const QPalette& palette);
