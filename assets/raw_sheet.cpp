// Turns the committed tile sheet into raw 32-bit pixels for embedding, so
// that start-up maps the sheet straight from the program instead of
// decoding a PNG:  vornel_rawsheet <tilesheet.png> <out.rgb32>

#include <QFile>
#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <tilesheet.png> <out.rgb32>\n", argv[0]);
    return 2;
  }
  const QImage sheet =
      QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
  if (sheet.isNull() || sheet.bytesPerLine() != sheet.width() * 4) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  QFile out(QString::fromLocal8Bit(argv[2]));
  if (!out.open(QIODevice::WriteOnly) ||
      out.write(reinterpret_cast<const char*>(sheet.constBits()), sheet.sizeInBytes()) !=
          sheet.sizeInBytes()) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
