// Reading the ranking file: the field rules, where the load stops, and
// hostile input.
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <ctime>
#include <sys/stat.h>

#include "RankingTestUtil.h"

namespace vornel {
namespace {

using test::Entry;
using test::Line;

Ranking Parse(const QByteArray& bytes) {
  Ranking r;
  ParseRanking(r, bytes);
  return r;
}

TEST(RankingLoad, MissingFileOrFifoLeavesTableAsItIs) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QString::fromLatin1(kRankingFile));
  Ranking r;
  r.at(1, 0) = Entry(1, 0, "kept", "0:01:00");
  EXPECT_FALSE(LoadRanking(r, path).bytes);
  // A FIFO would wait for a writer for ever: read as no file, at once.
  ASSERT_EQ(mkfifo(qPrintable(path), 0666), 0);
  EXPECT_FALSE(LoadRanking(r, path).bytes);
  EXPECT_EQ(r.at(1, 0), Entry(1, 0, "kept", "0:01:00"));
}

TEST(RankingLoad, RecordsGoWhereTheySayInAnyOrder) {
  const Ranking r = Parse(Line({"3", "9", "last", "0:09:00", "d9"}) +
                          Line({"0", "0", "first", "0:00:05", "d0"}) +
                          Line({"0", "0", "again", "0:00:04", "d1"}));
  EXPECT_EQ(r.at(3, 9).Name, QStringLiteral("last"));
  EXPECT_EQ(r.at(0, 0).Name, QStringLiteral("again"));  // the later record wins
  EXPECT_EQ(r.at(0, 0).Date, QStringLiteral("d1"));
}

TEST(RankingLoad, BufferRowAndPlaceTenAreStoredWithoutStopping) {
  const Ranking r = Parse(Line({"4", "5", "row4", "1:00:00", "x"}) +
                          Line({"1", "10", "place10", "2:00:00", "y"}) +
                          Line({"2", "2", "after", "0:02:00", "z"}) +
                          Line({"", "", "skipped", "", ""}));
  EXPECT_EQ(r.at(4, 5).Name, QStringLiteral("row4"));
  EXPECT_EQ(r.at(1, 10).Name, QStringLiteral("place10"));
  EXPECT_EQ(r.at(2, 2).Name, QStringLiteral("after"));
  // Every record passes through level 4, place 0, the last one stays there.
  EXPECT_EQ(r.at(4, 0).Name, QStringLiteral("skipped"));

  const QByteArray written = FormatRanking(r);
  EXPECT_EQ(written.count("\r\n"), 40);
  EXPECT_FALSE(written.contains("row4"));
  EXPECT_FALSE(written.contains("place10"));
  EXPECT_FALSE(written.contains("skipped"));
  EXPECT_TRUE(written.contains("after"));
}

TEST(RankingLoad, BadRecordStopsTheLoadKeepingEarlierOnes) {
  const std::pair<const char*, const char*> bad[] = {
      {"5", "0"}, {"0", "11"}, {"-1", "0"}, {"0", "-1"}, {"x", "0"},
      {"0", ""},  {"1.5", "0"}, {"0", "2a"}, {"99999999999999999999", "0"}};
  for (const auto& [level, place] : bad) {
    SCOPED_TRACE(std::string(level) + "/" + place);
    Ranking r;
    EXPECT_FALSE(ParseRanking(r, Line({"0", "0", "before", "0:01:00", "d"}) +
                                     Line({level, place, "bad", "0:02:00", "d"}) +
                                     Line({"0", "1", "after", "0:03:00", "d"})));
    EXPECT_EQ(r.at(0, 0).Name, QStringLiteral("before"));
    EXPECT_TRUE(r.at(0, 1).Name.isEmpty());
  }
  // Spaces and a plus sign around an index are read as the number.
  const Ranking r = Parse(Line({" +1 ", " 2", "spaced", "0:01:00", "d"}));
  EXPECT_EQ(r.at(1, 2).Name, QStringLiteral("spaced"));
}

TEST(RankingLoad, FieldsAreReadLikeTheOldTextInput) {
  // Leading spaces, text after the closing quote, bare fields, a lone LF and a
  // lone CR as line ends.
  const Ranking r = Parse(QByteArray("  \"0\"junk,\"1\",  bare name  ,\"0:00:09\",\"d\"\n"
                                     "\"0\",\"2\",\"lf\",\"0:00:10\",\"d\"\r"
                                     "\"0\",\"3\",\"cr\",\"0:00:11\",\"d\"\r\n"));
  EXPECT_EQ(r.at(0, 1), (RankEntry{QStringLiteral("0"), QStringLiteral("1"),
                                   QStringLiteral("bare name"), QStringLiteral("0:00:09"),
                                   QStringLiteral("d")}));
  EXPECT_EQ(r.at(0, 2).Name, QStringLiteral("lf"));
  EXPECT_EQ(r.at(0, 3).Name, QStringLiteral("cr"));
}

TEST(RankingLoad, FourFieldLineTakesItsFifthFromTheNextLine) {
  // The empty line after a four-field line is that record's empty fifth field.
  Ranking r = Parse(QByteArray("\"0\",\"0\",\"a\",\"0:01:00\"\r\n\r\n") +
                    Line({"0", "1", "b", "0:02:00", "d"}));
  EXPECT_EQ(r.at(0, 0).Date, QString());
  EXPECT_EQ(r.at(0, 1).Name, QStringLiteral("b"));

  // Without it every later record is shifted by one field; here the second
  // record's place is "b", which ends the load.
  r = Parse(QByteArray("\"0\",\"0\",\"a\",\"0:01:00\"\r\n") + Line({"0", "1", "b", "0:02:00", "d"}) +
            Line({"0", "2", "c", "0:03:00", "d"}));
  EXPECT_EQ(r.at(0, 0).Date, QStringLiteral("0"));
  EXPECT_TRUE(r.at(0, 1).Name.isEmpty());
  EXPECT_TRUE(r.at(0, 2).Name.isEmpty());
}

TEST(RankingLoad, NameWithQuoteIsReadUpToTheQuote) {
  const Ranking r = Parse(QByteArray("\"0\",\"0\",\"ab\"cd\",\"0:01:00\",\"2024/01/01 00:00:00\"\r\n"));
  EXPECT_EQ(r.at(0, 0).Name, QStringLiteral("ab"));
  EXPECT_EQ(r.at(0, 0).Time, QStringLiteral("0:01:00"));
  EXPECT_EQ(r.at(0, 0).Date, QStringLiteral("2024/01/01 00:00:00"));
}

// A blank tail is a clean end; a cut record is not.
TEST(RankingLoad, FileEndingMidRecordKeepsEarlierRecords) {
  for (const char* tail :
       {"\"0\",\"1\",\"cut\"", "\"0\",\"1\",\"n\",\"t\",", "\r\n", " \r\n\n\r "}) {
    SCOPED_TRACE(tail);
    Ranking r;
    EXPECT_EQ(ParseRanking(r, Line({"0", "0", "whole", "0:01:00", "d"}) + tail), tail[0] != '"');
    EXPECT_EQ(r.at(0, 0).Name, QStringLiteral("whole"));
    EXPECT_TRUE(r.at(0, 1).Name.isEmpty());
    EXPECT_EQ(r.at(4, 0).Name, QStringLiteral("whole"));
  }
  // The last line needs no line end.
  const Ranking r = Parse(QByteArray("\"0\",\"0\",\"n\",\"t\",\"no end\""));
  EXPECT_EQ(r.at(0, 0).Date, QStringLiteral("no end"));
}

TEST(RankingLoad, ShiftJisNamesAreDecoded) {
  // 山田 and ～ (wave dash as code page 932 has it), half-width katakana.
  const Ranking r = Parse(QByteArray("\"1\",\"0\",\"\x8e\x52\x93\x63\x81\x60\xd4\xcf\",\"0:01:00\",\"d\"\r\n"));
  EXPECT_EQ(r.at(1, 0).Name, QString::fromUtf8("山田～ﾔﾏ"));
  // Control codes stay what they are, both ways.
  const Ranking c = Parse(QByteArray("\"1\",\"0\",\"a\x1a\x1c\x7f\",\"t\",\"d\"\r\n"));
  EXPECT_EQ(c.at(1, 0).Name, QStringLiteral("a\x1a\x1c\x7f"));
  EXPECT_TRUE(FormatRanking(c).contains("\"a\x1a\x1c\x7f\""));
  // So do the single bytes only Windows maps (to U+0080 and private use).
  const Ranking w = Parse(QByteArray("\"1\",\"0\",\"\x80\xa0\xfd\xfe\xff\",\"t\",\"d\"\r\n"));
  EXPECT_EQ(w.at(1, 0).Name, QStringLiteral("\u0080\uf8f0\uf8f1\uf8f2\uf8f3"));
  EXPECT_TRUE(FormatRanking(w).contains("\"\x80\xa0\xfd\xfe\xff\""));
}

TEST(RankingLoad, HostileInputLoadsFastKeepingValidRecords) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QString::fromLatin1(kRankingFile));
  const QByteArray valid = Line({"0", "0", "ok", "0:01:00", "d"}) + Line({"3", "9", "ok9", "0:02:00", "d"});

  QByteArray binary(4 * 1024 * 1024, '\0');
  QRandomGenerator rng(42);
  rng.fillRange(reinterpret_cast<quint32*>(binary.data()), binary.size() / 4);
  QByteArray manyEmpty;
  for (int i = 0; i < 200000; ++i) manyEmpty += "\"\",\"\",\"\x81\",\"\",\"\"\r\n";

  const QByteArray inputs[] = {
      valid + binary,
      valid + "\"0\",\"1\",\"" + QByteArray(4 * 1024 * 1024, 'a'),  // no closing quote, no line end
      valid + QByteArray(4 * 1024 * 1024, ','),
      valid + QByteArray(4 * 1024 * 1024, '\n'),
      valid + manyEmpty + Line({"1", "1", "tail", "t", "d"}),
      // Larger than any ranking file: only its head is read.
      valid + QByteArray(17 * 1024 * 1024, ' ') + Line({"1", "1", "tail", "t", "d"}),
  };
  for (std::size_t i = 0; i < std::size(inputs); ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(test::WriteBytes(path, inputs[i]));
    Ranking r;
    // Processor time, so that a busy machine does not fail the test.
    const std::clock_t start = std::clock();
    LoadRanking(r, path);
    EXPECT_LT(static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC, 1.0);
    EXPECT_EQ(r.at(0, 0).Name, QStringLiteral("ok"));
    EXPECT_EQ(r.at(3, 9).Name, QStringLiteral("ok9"));
    EXPECT_TRUE(r.at(0, 1).Name.isEmpty());
    EXPECT_EQ(r.at(1, 1).Name, QString::fromLatin1(i == 4 ? "tail" : ""));
  }
}

}  // namespace
}  // namespace vornel
