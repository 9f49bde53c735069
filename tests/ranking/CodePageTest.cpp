// The embedded code page tables agree with ICU's code page 932 for every
// code and every character, and a missing table never crashes a load.

#include <gtest/gtest.h>

#include "ranking/CodePage932.h"
#include "ranking/RankingCodePage.h"

namespace vornel::ranking_detail {
namespace {

TEST(CodePage932, EmbeddedTablesMatchIcu) {
  const auto icu = cp932::LearnFromIcu();
  ASSERT_NE(icu, nullptr);
  ASSERT_TRUE(CodecAvailable());
  for (unsigned code = 0x80; code < cp932::kTableSize; ++code) {
    const bool pair = code > 0xFF;
    if (pair && !(cp932::IsLeadByte(code >> 8) && cp932::IsTrailByte(code & 0xFF))) continue;
    if (!pair && cp932::IsLeadByte(code)) continue;
    QByteArray bytes;
    if (pair) bytes.append(static_cast<char>(code >> 8));
    bytes.append(static_cast<char>(code & 0xFF));
    ASSERT_EQ(DecodeText(bytes), QString(QChar(icu->toUnicode[code]))) << std::hex << code;
  }
  for (unsigned c = 0x80; c < cp932::kTableSize; ++c) {
    if (c >= 0xD800 && c < 0xE000) continue;
    const char16_t ch = static_cast<char16_t>(c);
    const std::uint16_t code = icu->fromUnicode[c];
    QByteArray expected = QByteArrayLiteral("?");
    if (code > 0xFF) {
      const char two[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
      expected = QByteArray(two, 2);
    } else if (code != 0) {
      expected = QByteArray(1, static_cast<char>(code));
    }
    // The yen and overline keys of a Japanese keyboard write their bytes.
    if (c == 0xA5) expected = QByteArrayLiteral("\\");
    if (c == 0x203E) expected = QByteArrayLiteral("~");
    ASSERT_EQ(EncodeText(QStringView(&ch, 1)), expected) << std::hex << c;
  }
}

}  // namespace
}  // namespace vornel::ranking_detail
