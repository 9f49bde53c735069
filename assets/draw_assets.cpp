// Draws the tile sheet and the application icon into a folder:
//   vornel_drawassets <folder>
// The committed PNGs beside this file are its output.

#include <QString>

#include <cstdio>

#include "assets/SheetPainter.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  QString failed;
  if (!vornel::sheet::WriteAssetFiles(QString::fromLocal8Bit(argv[1]), &failed)) {
    std::fprintf(stderr, "cannot write %s\n", failed.toLocal8Bit().constData());
    return 1;
  }
  return 0;
}
