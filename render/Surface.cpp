#include "render/Surface.h"

#include <algorithm>
#include <cstring>

namespace vornel {

QImage MakeSurface(bool cleared) {
  QImage image(kSurfaceSize, kSurfaceSize, QImage::Format_RGB32);
  if (cleared) image.fill(Qt::white);
  return image;
}

PixelView Pixels(QImage& image) {
  Q_ASSERT(image.format() == QImage::Format_RGB32);
  return {reinterpret_cast<QRgb*>(image.bits()), static_cast<int>(image.bytesPerLine() / 4),
          image.width(), image.height()};
}

ConstPixelView Pixels(const QImage& image) {
  Q_ASSERT(image.format() == QImage::Format_RGB32);
  return {reinterpret_cast<const QRgb*>(image.constBits()), static_cast<int>(image.bytesPerLine() / 4),
          image.width(), image.height()};
}

void BitBlt(QImage& dst, int dx, int dy, int w, int h, const QImage& src, int sx, int sy) {
  BitBlt(Pixels(dst), dx, dy, w, h, Pixels(src), sx, sy);
}

void BitBlt(const PixelView& dst, int dx, int dy, int w, int h, const ConstPixelView& src, int sx,
            int sy) {
  // Clip against the source, then the destination, moving both corners.
  const auto clip = [](int& s, int& d, int& len, int srcLimit, int dstLimit) {
    if (s < 0) { d -= s; len += s; s = 0; }
    if (d < 0) { s -= d; len += d; d = 0; }
    len = std::min({len, srcLimit - s, dstLimit - d});
  };
  clip(sx, dx, w, src.width, dst.width);
  clip(sy, dy, h, src.height, dst.height);
  if (w <= 0 || h <= 0) return;
  const auto bytes = static_cast<std::size_t>(w) * sizeof(QRgb);
  const QRgb* from = src.pixels + static_cast<std::ptrdiff_t>(sy) * src.stride + sx;
  QRgb* to = dst.pixels + static_cast<std::ptrdiff_t>(dy) * dst.stride + dx;
  const bool apart = from + static_cast<std::ptrdiff_t>(h - 1) * src.stride + w <= to ||
                     to + static_cast<std::ptrdiff_t>(h - 1) * dst.stride + w <= from;
  if (w == kTileSize && apart) {
    // A tile between two surfaces, as a board is drawn: rows of a size known
    // when compiled are copied in line, without a call each.
    for (int row = 0; row < h; ++row, from += src.stride, to += dst.stride)
      std::memcpy(to, from, kTileSize * sizeof(QRgb));
    return;
  }
  for (int row = 0; row < h; ++row, from += src.stride, to += dst.stride) std::memmove(to, from, bytes);
}

}  // namespace vornel
