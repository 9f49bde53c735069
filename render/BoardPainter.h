#pragma once
// Composing board pictures from the tile sheet.

#include <QImage>
#include <QPoint>
#include <optional>

#include "board/Grid.h"

namespace vornel {

// Top-left corner on the tile sheet of the tile that shows `code`; none for
// a cell without a code, which lets the background show through.
std::optional<QPoint> TileOrigin(Cell code);

// Top-left corner of cell (x, y) on every surface.
inline QPoint CellOrigin(int x, int y) { return {8 + 22 * x, 8 + 22 * y}; }

// The sheet's frame around 256 open tiles.
void DrawBackground(const QImage& source, QImage& background);

// The background with the tile of every board cell of `grid` on top.
void ComposeGrid(const Grid& grid, const QImage& source, const QImage& background, QImage& work);

}  // namespace vornel
