#include "assets/Assets.h"

#include <QString>

namespace vornel {

QImage TileSheetImage() {
  // QImage is implicitly shared, so handing out copies costs nothing.
  static const QImage sheet =
      QImage(QStringLiteral(":/vornel/tilesheet.png")).convertToFormat(QImage::Format_RGB32);
  return sheet;
}

QIcon AppIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/vornel/icon32.png"), QSize(32, 32));
  icon.addFile(QStringLiteral(":/vornel/icon16.png"), QSize(16, 16));
  return icon;
}

}  // namespace vornel
