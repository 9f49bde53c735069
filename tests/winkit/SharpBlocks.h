#pragma once
// Whether a picture box's picture stays sharp on a screen of twice the
// density.

#include <QImage>
#include <QPixmap>
#include <QPoint>

namespace vornel::test {

// True when `shot` (taken at twice the density) shows every pixel of
// `picture` as a 2 x 2 block, starting at device pixel `origin`.
inline bool ShowsAsSharpBlocks(const QPixmap& shot, const QImage& picture, QPoint origin) {
  const QImage big = shot.toImage().convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      for (int d = 0; d < 4; ++d)
        if (big.pixel(origin.x() + 2 * x + d % 2, origin.y() + 2 * y + d / 2) !=
            picture.pixel(x, y))
          return false;
  return true;
}

}  // namespace vornel::test
