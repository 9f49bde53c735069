// Code page 932 as Windows has it, by its own bytes: both ways, what it
// writes where codes share a character, and the bytes it must refuse.

#include <gtest/gtest.h>

#include "ranking/RankingCodePage.h"

namespace vornel::ranking_detail {
namespace {

TEST(CodePage932, WellKnownCodesBothWays) {
  ASSERT_TRUE(CodecAvailable());
  const std::pair<const char*, char16_t> codes[] = {
      {"\x82\xa0", u'あ'}, {"\x88\x9f", u'亜'}, {"\xea\xa4", u'熙'}, {"\x81\x5c", u'\u2015'},
      {"\x81\x60", u'～'}, {"\x81\x61", u'∥'}, {"\x81\x7c", u'－'}, {"\x81\xca", u'￢'},
      {"\x87\x40", u'①'}, {"\x87\x54", u'Ⅰ'}, {"\xfa\x40", u'ⅰ'},  {"\xfa\x5c", u'纊'},
      {"\xa6", u'ｦ'},     {"\xdf", u'ﾟ'},     {"\\", u'\\'},       {"\xf0\x40", u'\ue000'}};
  for (const auto& [bytes, c] : codes) {
    EXPECT_EQ(DecodeText(bytes), QString(QChar(c))) << bytes;
    EXPECT_EQ(EncodeText(QStringView(&c, 1)), QByteArray(bytes)) << bytes;
  }
  // Codes that share a character: each reads as it, one is written.
  EXPECT_EQ(DecodeText("\xed\x40\xee\xef\x87\x9a\x87\x90"), QStringLiteral("纊ⅰ∵≒"));
  EXPECT_EQ(EncodeText(u"∵≒"), QByteArray("\x81\xe6\x81\xe0"));
  EXPECT_EQ(EncodeText(u"\u00a6\u20ac\u00e9"), QByteArray("???"));
}

TEST(CodePage932, RefusesWhatItDoesNotMap) {
  for (const char* unassigned : {"\x85\x40", "\xeb\x40", "\x81\xad", "\x88\x40", "\x87\x9d",
                                 "\x82\xf2", "\xfc\x4c"}) {
    EXPECT_EQ(DecodeText(unassigned), QStringLiteral("\ufffd")) << unassigned;
  }
  // A lead byte before a byte that ends no pair, and one at the end.
  EXPECT_EQ(DecodeText("\x82\x7f" "a\x82 \x82"), QStringLiteral("\ufffd\x7f" "a\ufffd \ufffd"));
}

// Every character read from a code is written as a code that reads as it.
TEST(CodePage932, EveryCharacterReadIsWrittenBack) {
  for (unsigned code = 0x80; code <= 0xFFFF; ++code) {
    const char bytes[2] = {char(code >> 8), char(code)};
    const QString c = DecodeText(QByteArrayView(bytes + (code > 0xFF ? 0 : 1), bytes + 2));
    if (c.size() != 1 || c == QStringLiteral("\ufffd")) continue;
    ASSERT_EQ(DecodeText(EncodeText(c)), c) << code;
  }
}

}  // namespace
}  // namespace vornel::ranking_detail
