#include "ranking/RankingCodePage.h"

#include <QResource>
#include <algorithm>
#include <cstdint>

#include "ranking/CodePage932.h"

namespace vornel {
namespace ranking_detail {
namespace {

using cp932::IsLeadByte;
using cp932::IsTrailByte;
using cp932::kUnmapped;

// The code page's tables, made from ICU when the program is built and
// embedded uncompressed: used in place, so reading and writing the file
// need neither ICU nor any set-up at run time.
struct Cp932Tables {
  bool valid = false;
  const char16_t* toUnicode = nullptr;
  const std::uint16_t* fromUnicode = nullptr;
};

const Cp932Tables& Tables() {
  static const Cp932Tables tables = [] {
    constexpr qint64 kBytes = cp932::kTableSize * 2;
    const QResource to(QStringLiteral(":/vornel/cp932/to_unicode"));
    const QResource from(QStringLiteral(":/vornel/cp932/from_unicode"));
    Cp932Tables t;
    if (to.size() == kBytes && from.size() == kBytes &&
        to.compressionAlgorithm() == QResource::NoCompression &&
        from.compressionAlgorithm() == QResource::NoCompression) {
      t.valid = true;
      t.toUnicode = reinterpret_cast<const char16_t*>(to.data());
      t.fromUnicode = reinterpret_cast<const std::uint16_t*>(from.data());
    }
    return t;
  }();
  return tables;
}

// The code of a character from 0x80 up; 0 when code page 932 has none.
std::uint16_t CodeOf(char16_t c) {
  // The yen and overline keys of a Japanese keyboard type these two on
  // Linux; the code page keeps them in the single bytes that its fonts draw
  // as those signs.
  if (c == u'\u00A5') return 0x5C;
  if (c == u'\u203E') return 0x7E;
  const Cp932Tables& t = Tables();
  return t.valid ? t.fromUnicode[c] : 0;
}

}  // namespace

bool CodecAvailable() { return Tables().valid; }

bool IsAscii(QByteArrayView bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char b) { return (b & 0x80) == 0; });
}

QByteArray EncodeText(QStringView text) {
  // Written through a pointer into room for two bytes a character, then cut
  // to length: appending byte by byte costs a check of the array each time.
  QByteArray out(text.size() * 2, Qt::Uninitialized);
  char* o = out.data();
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < 0x80) {
      *o++ = static_cast<char>(c);
      continue;
    }
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    const std::uint16_t code = CodeOf(c);
    if (code == 0) {
      *o++ = '?';
    } else if (code > 0xFF) {
      *o++ = static_cast<char>(code >> 8);
      *o++ = static_cast<char>(code & 0xFF);
    } else {
      *o++ = static_cast<char>(code);
    }
  }
  out.truncate(o - out.constData());
  return out;
}

QString DecodeText(QByteArrayView bytes) {
  // Most fields are plain ASCII: no need for the code page's tables.
  if (IsAscii(bytes)) return QString::fromLatin1(bytes);
  const Cp932Tables& t = Tables();
  const auto toUnicode = [&t](unsigned code) { return t.valid ? t.toUnicode[code] : kUnmapped; };
  QString out(bytes.size(), Qt::Uninitialized);
  QChar* o = out.data();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype n = bytes.size();
  for (qsizetype i = 0; i < n; ++i) {
    const unsigned b = p[i];
    if (b < 0x80) {
      *o++ = QChar(static_cast<char16_t>(b));
    } else if (IsLeadByte(b) && i + 1 < n && IsTrailByte(p[i + 1])) {
      *o++ = QChar(toUnicode(b << 8 | p[i + 1]));
      ++i;
    } else {
      *o++ = QChar(toUnicode(b));
    }
  }
  out.truncate(o - out.constData());
  return out;
}

bool Encodable(QStringView text) {
  for (const QChar c : text) {
    if (c.unicode() >= 0x80 && CodeOf(c.unicode()) == 0) return false;
  }
  return true;
}

}  // namespace ranking_detail
}  // namespace vornel
