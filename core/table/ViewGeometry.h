#pragma once
// The row height and the column widths as the grid shows them and the two
// geometry dialogs take them. Both are bounded to 1 .. 1000 pixels: rows or
// columns drawn at 0 or less would vanish from the grid, and the cell editor
// with them, and one of two thousand million pixels blanks the grid and costs
// gigabytes. Files and settings keep whatever they say; only what is shown
// and what is typed is bounded. The font, with the marker column's width
// that follows it, is set here too.

#include <string>
#include <vector>

#include "table/TableModel.h"

namespace tabulon {

inline constexpr int kSmallestViewSize = 1;
inline constexpr int kLargestViewSize = 1000;

// The size in pixels at which the grid draws a row height or column width
// held by the model (the marker column's width included).
int ShownSize(int pixels);

// A typed height below 1 pixel is refused and the old one kept, silently (the
// dialog reads a text that is no number as 0); one above the largest size is
// taken as the largest.
void ApplyRowHeight(TableModel& model, int height);

// The marker column is as wide as the table font's size plus a margin of 6.
void FitMarkerColumnToFont(TableModel& model);

// Width text i (cp932) sets column i + 1, in order, bounded as the height is.
// A text that is no integer stops with "'text' は整数ではありません", a text
// beyond the last column with "グリッドインデックス が範囲を超えています"; the
// columns before stay set.
void ApplyColumnWidths(TableModel& model, const std::vector<std::string>& widths);

// The table font; the marker column becomes the font's size in points + 6
// pixels wide, which the font command does whether or not its dialog chose a font.
void ApplyFont(TableModel& model, const FontDesc& font);

}  // namespace tabulon
