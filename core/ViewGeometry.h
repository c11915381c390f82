#pragma once
// The row height and the column widths as the two geometry dialogs set them,
// and the font with the marker column's width that follows it.
// A size below 1 pixel is refused and the old size kept, silently: rows or
// columns drawn at 0 or less would vanish from the grid, and the cell editor
// with them, and the row height would come back that way at the next start.

#include <string>
#include <vector>

#include "TableModel.h"

namespace tabulon {

void ApplyRowHeight(TableModel& model, int height);

// The marker column is as wide as the table font's size plus a margin of 6.
void FitMarkerColumnToFont(TableModel& model);

// Width text i (cp932) sets column i + 1, in order. A text that is no integer
// stops with "'text' は整数ではありません", a text beyond the last column with
// "グリッドインデックス が範囲を超えています"; the columns before stay set.
void ApplyColumnWidths(TableModel& model, const std::vector<std::string>& widths);

// The table font; the marker column becomes the font's size in points + 6
// pixels wide, which the font command does whether or not its dialog chose a font.
void ApplyFont(TableModel& model, const FontDesc& font);

}  // namespace tabulon
