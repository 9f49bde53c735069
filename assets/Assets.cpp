#include "assets/Assets.h"

#include <QResource>
#include <QString>

namespace vornel {

QImage TileSheetImage() {
  // The embedded pixels are used in place, read-only; QImage is implicitly
  // shared, so handing out copies costs nothing.
  static const QImage sheet = [] {
    constexpr int kSide = 368;
    const QResource raw(QStringLiteral(":/vornel/tilesheet.rgb32"));
    if (!raw.isValid() || raw.size() != kSide * kSide * 4 ||
        raw.compressionAlgorithm() != QResource::NoCompression) {
      qWarning("The embedded tile sheet is missing or damaged");
      return QImage();
    }
    return QImage(raw.data(), kSide, kSide, kSide * 4, QImage::Format_RGB32);
  }();
  return sheet;
}

QImage AppIconPicture() { return QImage(QStringLiteral(":/vornel/icon32.png")); }

QIcon AppIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/vornel/icon32.png"), QSize(32, 32));
  icon.addFile(QStringLiteral(":/vornel/icon16.png"), QSize(16, 16));
  return icon;
}

}  // namespace vornel
