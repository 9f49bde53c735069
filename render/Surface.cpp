#include "render/Surface.h"

#include <algorithm>
#include <cstring>

namespace vornel {

QImage MakeSurface() {
  QImage image(kSurfaceSize, kSurfaceSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

void BitBlt(QImage& dst, int dx, int dy, int w, int h, const QImage& src, int sx, int sy) {
  Q_ASSERT(dst.format() == QImage::Format_RGB32 && src.format() == QImage::Format_RGB32);
  // Clip against the source, then the destination, moving both corners.
  const auto clip = [&](int& s, int& d, int& len, int srcLimit, int dstLimit) {
    if (s < 0) { d -= s; len += s; s = 0; }
    if (d < 0) { s -= d; len += d; d = 0; }
    len = std::min({len, srcLimit - s, dstLimit - d});
  };
  clip(sx, dx, w, src.width(), dst.width());
  clip(sy, dy, h, src.height(), dst.height());
  if (w <= 0 || h <= 0) return;
  const auto bytes = static_cast<std::size_t>(w) * sizeof(QRgb);
  for (int row = 0; row < h; ++row) {
    const auto* from = reinterpret_cast<const QRgb*>(src.constScanLine(sy + row)) + sx;
    auto* to = reinterpret_cast<QRgb*>(dst.scanLine(dy + row)) + dx;
    std::memmove(to, from, bytes);
  }
}

}  // namespace vornel
