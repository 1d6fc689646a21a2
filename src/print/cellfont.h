#pragma once
// The font a print table cell is painted in, shared by the renderer and by the row fitting
// that measures wrapped text.

#include <QFont>

namespace mv {

// Room left and right of a cell's text, in 0.1 mm.
inline constexpr int kCellPadding = 10;

class PrintTable;
struct PrintCell;

// The cell's font (or the table's default), with fallbacks that hold Chinese glyphs, sized
// for a device with unit pixels per 0.1 mm.
QFont cellFont(const PrintTable& table, const PrintCell& cell, double unit);

} // namespace mv
