// Writes the code page 932 tables that the program embeds, learnt from ICU:
//   vornel_makecp932 <to_unicode.bin> <from_unicode.bin>
// Each is 65536 16-bit values in this machine's byte order.

#include <QFile>
#include <QString>
#include <cstdio>

#include "ranking/CodePage932.h"

namespace {
bool Write(const char* path, const void* data, qint64 size) {
  QFile out(QString::fromLocal8Bit(path));
  return out.open(QIODevice::WriteOnly) && out.write(static_cast<const char*>(data), size) == size;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <to_unicode.bin> <from_unicode.bin>\n", argv[0]);
    return 2;
  }
  const auto tables = vornel::cp932::LearnFromIcu();
  if (!tables) {
    std::fprintf(stderr, "ICU has no windows-31j converter\n");
    return 1;
  }
  if (!Write(argv[1], tables->toUnicode.data(), sizeof tables->toUnicode) ||
      !Write(argv[2], tables->fromUnicode.data(), sizeof tables->fromUnicode)) {
    std::fprintf(stderr, "cannot write the tables\n");
    return 1;
  }
  return 0;
}
