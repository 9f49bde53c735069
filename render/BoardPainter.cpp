#include "render/BoardPainter.h"

#include <array>

#include "render/Surface.h"

namespace vornel {

namespace {
constexpr QPoint kOpenTile{118, 8};

// Indexed by the code's byte; a null point means "no tile".
constexpr std::array<QPoint, 128> MakeTileTable() {
  std::array<QPoint, 128> t{};
  t['a'] = kOpenTile;
  t['b'] = {8, 8};
  t['c'] = {96, 8};
  t['d'] = {52, 8};
  t['e'] = {30, 8};
  t['f'] = {74, 8};
  for (int n = 1; n <= 8; ++n) t['0' + n] = {8 + 22 * (n - 1), 30};
  return t;
}
constexpr std::array<QPoint, 128> kTiles = MakeTileTable();
}  // namespace

std::optional<QPoint> TileOrigin(Cell code) {
  const auto i = static_cast<unsigned char>(code);
  if (i >= kTiles.size() || kTiles[i].isNull()) return std::nullopt;
  return kTiles[i];
}

void DrawBackground(const QImage& source, QImage& background) {
  const ConstPixelView sheet = Pixels(source);
  const PixelView bg = Pixels(background);
  BitBlt(bg, 0, 0, kBoxSize, kBoxSize, sheet, 0, 0);
  // One row of open tiles, then that row copied down the board.
  const QPoint first = CellOrigin(0, 0);
  for (int x = 0; x < kBoardSize; ++x)
    BitBlt(bg, CellOrigin(x, 0).x(), first.y(), kTileSize, kTileSize, sheet, kOpenTile.x(),
           kOpenTile.y());
  const ConstPixelView drawn{bg.pixels, bg.stride, bg.width, bg.height};
  for (int y = 1; y < kBoardSize; ++y)
    BitBlt(bg, first.x(), CellOrigin(0, y).y(), kBoardSize * kTileSize, kTileSize, drawn, first.x(),
           first.y());
}

void ComposeGrid(const Grid& grid, const QImage& source, const QImage& background, QImage& work) {
  const ConstPixelView sheet = Pixels(source);
  const ConstPixelView bg = Pixels(background);
  const PixelView out = Pixels(work);
  // The background's frame around the board, then each cell from its tile
  // or else from the background: every pixel is copied once.
  constexpr int kEnd = kBoardOrigin + kBoardSize * kTileSize;
  BitBlt(out, 0, 0, kBoxSize, kBoardOrigin, bg, 0, 0);
  BitBlt(out, 0, kEnd, kBoxSize, kBoxSize, bg, 0, kEnd);
  BitBlt(out, 0, kBoardOrigin, kBoardOrigin, kEnd - kBoardOrigin, bg, 0, kBoardOrigin);
  BitBlt(out, kEnd, kBoardOrigin, kBoxSize, kEnd - kBoardOrigin, bg, kEnd, kBoardOrigin);
  for (int y = 0; y < kBoardSize; ++y)
    for (int x = 0; x < kBoardSize; ++x) {
      const QPoint at = CellOrigin(x, y);
      if (const auto tile = TileOrigin(grid.at(x, y)))
        BitBlt(out, at.x(), at.y(), kTileSize, kTileSize, sheet, tile->x(), tile->y());
      else
        BitBlt(out, at.x(), at.y(), kTileSize, kTileSize, bg, at.x(), at.y());
    }
}

}  // namespace vornel
