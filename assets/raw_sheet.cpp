// Turns a committed picture (the tile sheet, the icon's 32 and 16 pixel
// pictures) into raw 32-bit pixels for embedding, so that start-up maps it
// straight from the program instead of decoding a PNG:
//   vornel_rawsheet <picture.png> <out.rgb32>

#include <QFile>
#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <picture.png> <out.rgb32>\n", argv[0]);
    return 2;
  }
  const QImage picture =
      QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
  if (picture.isNull() || picture.bytesPerLine() != picture.width() * 4) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  QFile out(QString::fromLocal8Bit(argv[2]));
  if (!out.open(QIODevice::WriteOnly) ||
      out.write(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes()) !=
          picture.sizeInBytes()) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
