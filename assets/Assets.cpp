#include "assets/Assets.h"

#include <QPixmap>
#include <QResource>
#include <QString>

namespace vornel {

namespace {

// An embedded square of raw RGB32 pixels, used in place, read-only; QImage
// is implicitly shared, so handing out copies costs nothing.
QImage RawPicture(const QString& path, int side) {
  const QResource raw(path);
  if (!raw.isValid() || raw.size() != qint64(side) * side * 4 ||
      raw.compressionAlgorithm() != QResource::NoCompression) {
    qWarning("The embedded picture %s is missing or damaged", qPrintable(path));
    return QImage();
  }
  return QImage(raw.data(), side, side, side * 4, QImage::Format_RGB32);
}

}  // namespace

QImage TileSheetImage() {
  static const QImage sheet = RawPicture(QStringLiteral(":/vornel/tilesheet.rgb32"), 368);
  return sheet;
}

QImage AppIconPicture() { return RawPicture(QStringLiteral(":/vornel/icon32.rgb32"), 32); }

QIcon AppIcon() {
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(AppIconPicture()));
  icon.addPixmap(QPixmap::fromImage(RawPicture(QStringLiteral(":/vornel/icon16.rgb32"), 16)));
  return icon;
}

}  // namespace vornel
