#pragma once
// The two pictures of the about box, drawn rather than loaded, since the
// program carries no image files: Tabulon's icon (the card with ruled records
// and the marker arrow of packaging/tabulon.svg) and a pale stack of cards
// that stands behind the texts.

class QPainter;
class QRect;

void PaintTabulonIcon(QPainter& painter, const QRect& area);
void PaintCardStack(QPainter& painter, const QRect& area);
