#include "ranking/CodePage932.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <utility>

namespace vornel::cp932 {

std::unique_ptr<Tables> LearnFromIcu() {
  auto t = std::make_unique<Tables>();
  t->toUnicode.fill(kUnmapped);
  for (unsigned b = 0; b < 0x80; ++b) t->toUnicode[b] = static_cast<char16_t>(b);

  QStringDecoder decoder("windows-31j");
  QStringEncoder encoder("windows-31j");
  if (!decoder.isValid() || !encoder.isValid()) return nullptr;

  const auto learn = [&](std::uint16_t code, QByteArrayView bytes) {
    const QString u = decoder.decode(bytes);
    // ICU puts a control code or U+FFFD where it has no mapping; no real
    // mapping of a byte from 0x80 up gives either.
    if (u.size() != 1 || u.front().unicode() < 0x80 || u.front().unicode() == kUnmapped) return;
    t->toUnicode[code] = u.front().unicode();
  };
  for (unsigned b = 0x80; b <= 0xFF; ++b) {
    if (IsLeadByte(b)) continue;
    const char one = static_cast<char>(b);
    learn(static_cast<std::uint16_t>(b), QByteArrayView(&one, 1));
  }
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(lead)) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (!IsTrailByte(trail)) continue;
      const char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      learn(static_cast<std::uint16_t>(lead << 8 | trail), QByteArrayView(two, 2));
    }
  }

  // Single bytes that Windows maps and ICU does not.
  const std::pair<std::uint16_t, char16_t> windowsOnly[] = {
      {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};
  for (const auto& [code, c] : windowsOnly) {
    if (t->toUnicode[code] == kUnmapped) t->toUnicode[code] = c;
  }

  // Several codes share some characters; the encoder knows which one
  // Windows writes. Its answer is taken only when it reads back as the same
  // character, which also keeps out its substitution bytes.
  for (unsigned code = 0x80; code <= 0xFFFF; ++code) {
    const char16_t c = t->toUnicode[code];
    if (c == kUnmapped || t->fromUnicode[c] != 0) continue;
    const QByteArray back = encoder.encode(QStringView(&c, 1));
    std::uint16_t written = 0;
    if (back.size() == 1) {
      written = static_cast<std::uint8_t>(back[0]);
    } else if (back.size() == 2) {
      written = static_cast<std::uint16_t>(static_cast<std::uint8_t>(back[0]) << 8 |
                                           static_cast<std::uint8_t>(back[1]));
    }
    t->fromUnicode[c] = (written >= 0x80 && t->toUnicode[written] == c)
                            ? written
                            : static_cast<std::uint16_t>(code);
  }
  return t;
}

}  // namespace vornel::cp932
