#pragma once
// Off-screen drawing surfaces and the one way pixels move between them: a
// source copy of a rectangle, clipped to both surfaces.

#include <QImage>

namespace vornel {

// A surface's drawing area: the tile sheet's size.
inline constexpr int kSurfaceSize = 368;
// The outer size of a board box; a whole-surface copy is asked for at this
// size and clipped to the drawing area.
inline constexpr int kBoxSize = 372;
inline constexpr int kTileSize = 22;
inline constexpr int kBoardOrigin = 8;

// Raw pixels of an RGB32 surface, taken once per drawing so that the many
// tile copies do not go back to the image (and its detach check) each time.
struct PixelView {
  QRgb* pixels;
  int stride;  // in pixels
  int width;
  int height;
};
PixelView Pixels(QImage& image);
struct ConstPixelView {
  const QRgb* pixels;
  int stride;
  int width;
  int height;
};
ConstPixelView Pixels(const QImage& image);

// A fresh 368 x 368 surface in the one pixel format every copy uses, white;
// not cleared when it is to be drawn whole before anything reads it.
QImage MakeSurface(bool cleared = true);

// Copies the w x h block at (sx, sy) of `src` to (dx, dy) of `dst`, clipped
// to both images. Both images must be Format_RGB32.
void BitBlt(QImage& dst, int dx, int dy, int w, int h, const QImage& src, int sx, int sy);
void BitBlt(const PixelView& dst, int dx, int dy, int w, int h, const ConstPixelView& src, int sx,
            int sy);

}  // namespace vornel
