// Time order, the rank-in test, the insertion and the saved file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "RankingTestUtil.h"

namespace vornel {
namespace {

using test::Cand;
using test::Entry;
using test::FillLevel;
using test::Line;

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

class RankingSave : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString FilePath() const { return dir_.filePath(QString::fromLatin1(kRankingFile)); }
  QTemporaryDir dir_;
};

// Runs `save` in a child process that has given up root (root writes
// anywhere) and, when `sizeLimit` is set, may not write past that many
// bytes of a file. True when `save` returned true there.
bool SavedAsOrdinaryUser(const std::function<bool()>& save, rlim_t sizeLimit = RLIM_INFINITY) {
  const pid_t child = fork();
  if (child == 0) {
    if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{sizeLimit, sizeLimit};
    if (sizeLimit != RLIM_INFINITY && setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(3);
    _exit(save() ? 0 : 1);
  }
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

TEST(RankingLevel, LastCheckedWinsAndNoneIsZero) {
  EXPECT_EQ(GetLevel({false, false, false, false}), 0);
  EXPECT_EQ(GetLevel({false, true, false, false}), 1);
  EXPECT_EQ(GetLevel({false, false, false, true}), 3);
  EXPECT_EQ(GetLevel({true, false, true, false}), 2);
}

TEST(RankingTimes, ClockTextsCompareByDuration) {
  EXPECT_GT(CompareTimes(S("10:00:00"), S("2:00:00")), 0);
  EXPECT_LT(CompareTimes(S("0:59:59"), S("1:00:00")), 0);
  EXPECT_LT(CompareTimes(S("9:59:59"), S("123:00:00")), 0);
  EXPECT_EQ(CompareTimes(S("0:01:07"), S("0:01:07")), 0);
  EXPECT_EQ(CompareTimes(S("01:01:07"), S("1:01:07")), 0);
  EXPECT_GT(CompareTimes(S("0:01:08"), S("0:01:07")), 0);
  // Not clock texts: code unit order, the empty text first.
  EXPECT_LT(CompareTimes(S(""), S("0:00:00")), 0);
  EXPECT_GT(CompareTimes(S("0:00:00"), S("")), 0);
  EXPECT_EQ(CompareTimes(S(""), S("")), 0);
  EXPECT_LT(CompareTimes(S("0:61:00"), S("0:7:00")), 0);
  EXPECT_LT(CompareTimes(S("abc"), S("abd")), 0);
  EXPECT_LT(CompareTimes(S("ab"), S("abc")), 0);
  EXPECT_GT(CompareTimes(S("\uff5e"), S("\U0001F600")), 0);  // code units, not code points
}

TEST(RankingRankIn, EmptyPlacesAdmitAndTheTenthBoundsAFullLevel) {
  Ranking r;
  EXPECT_TRUE(CheckRankIn(r, S("3"), S("99:59:59")));
  FillLevel(r, 1);  // 0:01:00 .. 0:10:00
  EXPECT_TRUE(CheckRankIn(r, S("1"), S("0:09:59")));
  EXPECT_FALSE(CheckRankIn(r, S("1"), S("0:10:00")));
  EXPECT_FALSE(CheckRankIn(r, S("1"), S("0:10:01")));
  // A ten-hour time is slower than every two-hour one.
  FillLevel(r, 0, {"2:00:00", "2:00:00", "2:00:00", "2:00:00", "2:00:00", "2:00:00", "2:00:00",
                   "2:00:00", "2:00:00", "2:00:00"});
  EXPECT_FALSE(CheckRankIn(r, S("0"), S("10:00:00")));
  EXPECT_TRUE(CheckRankIn(r, S("0"), S("1:59:59")));
  // No such level, no rank.
  for (const char* level : {"4", "-1", "", "x"}) EXPECT_FALSE(CheckRankIn(r, S(level), S("0:00:01")));
}

TEST_F(RankingSave, GapIsFilledAndTheEmptyEntryCarriedDown) {
  ASSERT_TRUE(test::WriteBytes(FilePath(), Line({"2", "3", "stored", "0:00:01", "d"})));
  Ranking r;
  LoadRanking(r, FilePath());
  ASSERT_EQ(r.at(2, 3).Name, S("stored"));
  EXPECT_TRUE(CheckRankIn(r, S("2"), S("9:00:00")));

  EXPECT_EQ(SaveRanking(r, Cand(2, "slow", "9:00:00"), FilePath()), std::nullopt);
  EXPECT_EQ(r.at(2, 0).Name, S("slow"));
  EXPECT_EQ(r.at(2, 0).Place, S("0"));
  for (int p = 1; p <= 3; ++p) {
    EXPECT_TRUE(r.at(2, p).Level.isEmpty());
    EXPECT_EQ(r.at(2, p).Place, QString::number(p));
  }
  EXPECT_EQ(r.at(2, 4).Name, S("stored"));
  EXPECT_EQ(r.at(2, 4).Place, S("4"));

  Ranking back;
  LoadRanking(back, FilePath());
  EXPECT_EQ(back.at(2, 4).Name, S("stored"));
  EXPECT_TRUE(back.at(2, 3).Name.isEmpty());
}

TEST_F(RankingSave, TiesGoBelowAndEqualEntriesBelowSwap) {
  Ranking r;
  FillLevel(r, 3, {"0:01:00", "0:02:00", "0:03:00", "0:04:00", "0:05:00", "0:06:00", "0:07:00",
                   "0:08:00", "0:09:00", "0:10:00"});
  r.at(3, 4).Name = S("four");
  ASSERT_EQ(SaveRanking(r, Cand(3, "tie", "0:05:00"), FilePath()), std::nullopt);
  EXPECT_EQ(r.at(3, 4).Name, S("four"));
  EXPECT_EQ(r.at(3, 5).Name, S("tie"));
  EXPECT_EQ(r.at(3, 9).Time, S("0:09:00"));  // 0:10:00 fell off
  EXPECT_FALSE(CheckRankIn(r, S("3"), S("0:09:00")));

  // A and B with the same time below the new entry change order.
  Ranking s;
  FillLevel(s, 0, {"0:01:00", "0:02:00", "0:03:00", "0:05:00", "0:05:00"});
  s.at(0, 3).Name = S("A");
  s.at(0, 4).Name = S("B");
  ASSERT_EQ(SaveRanking(s, Cand(0, "new", "0:00:30"), FilePath()), std::nullopt);
  EXPECT_EQ(s.at(0, 0).Name, S("new"));
  EXPECT_EQ(s.at(0, 4).Name, S("B"));
  EXPECT_EQ(s.at(0, 5).Name, S("A"));
  EXPECT_EQ(s.at(0, 5).Place, S("5"));

  // A ten-hour time lands after the two-hour ones.
  Ranking t;
  t.at(1, 0) = Entry(1, 0, "two", "2:00:00");
  ASSERT_EQ(SaveRanking(t, Cand(1, "ten", "10:00:00"), FilePath()), std::nullopt);
  EXPECT_EQ(t.at(1, 0).Name, S("two"));
  EXPECT_EQ(t.at(1, 1).Name, S("ten"));
}

TEST_F(RankingSave, SavedLevelGetsItsPlacesOthersAreWrittenAsHeld) {
  Ranking r;
  r.at(0, 2) = Entry(0, 2, "zero", "0:00:09");
  r.at(0, 2).Place = S(" 2");  // as a hand-edited file may have it
  r.at(3, 0) = Entry(3, 0, "fast", "0:00:09");
  r.at(3, 0).Place = S(" 0");  // above the new entry, yet renumbered
  ASSERT_EQ(SaveRanking(r, Cand(3, "x", "0:01:00"), FilePath()), std::nullopt);
  const QByteArray bytes = test::ReadBytes(FilePath());
  EXPECT_TRUE(bytes.contains(Line({"0", " 2", "zero", "0:00:09", "2024/05/01 10:00:00"})));
  EXPECT_TRUE(bytes.contains(Line({"3", "0", "fast", "0:00:09", "2024/05/01 10:00:00"})));
  EXPECT_TRUE(bytes.startsWith(Line({"", "", "", "", ""}) + Line({"", "", "", "", ""})));
}

TEST_F(RankingSave, NamesKeepCommasAndShiftJisBytes) {
  Ranking r;
  ASSERT_EQ(SaveRanking(r, Cand(0, "a, b,c", "0:01:00"), FilePath()), std::nullopt);
  ASSERT_EQ(SaveRanking(r, Cand(0, "山田", "0:00:30"), FilePath()), std::nullopt);
  ASSERT_EQ(SaveRanking(r, Cand(0, "～①ﾔﾏﾀﾞ", "0:02:00"), FilePath()), std::nullopt);
  const QByteArray bytes = test::ReadBytes(FilePath());
  EXPECT_TRUE(bytes.startsWith("\"0\",\"0\",\"\x8e\x52\x93\x63\",\"0:00:30\","));
  EXPECT_TRUE(bytes.contains("\"\x81\x60\x87\x40\xd4\xcf\xc0\xde\""));

  Ranking back;
  LoadRanking(back, FilePath());
  EXPECT_EQ(back.at(0, 0).Name, S("山田"));
  EXPECT_EQ(back.at(0, 1).Name, S("a, b,c"));
  EXPECT_EQ(back.at(0, 2).Name, S("～①ﾔﾏﾀﾞ"));
  EXPECT_EQ(back.at(0, 1).Date, r.at(0, 1).Date);

  // What code page 932 cannot hold is written as '?', like Windows does.
  Ranking q;
  // The yen and overline keys take the bytes the code page has for them.
  ASSERT_EQ(SaveRanking(q, Cand(0, "a\u2212b\u00e9\U0001F600\u00a5\u203e", "0:01:00"), FilePath()),
            std::nullopt);
  EXPECT_TRUE(test::ReadBytes(FilePath()).contains("\"a?b??\\~\""));
}

TEST_F(RankingSave, FailedSaveKeepsTheOldFileAndSaysWhy) {
  Ranking r;
  FillLevel(r, 2);
  ASSERT_EQ(SaveRanking(r, Cand(2, "old", "0:00:10"), FilePath()), std::nullopt);
  const QByteArray old = test::ReadBytes(FilePath());

  // The file is too large to be written: the write fails part way.
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    Ranking c = r;
    const auto reason = SaveRanking(c, Cand(2, "new", "0:00:01"), FilePath());
    _exit(reason && !reason->isEmpty() && c.at(2, 0).Name == S("new") ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(test::ReadBytes(FilePath()), old);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{S(kRankingFile)});

  // A read-only folder, and a file the player may not write either.
  ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                     QFileDevice::ReadOther | QFileDevice::ExeOther));
  EXPECT_TRUE(SavedAsOrdinaryUser([&] {
    Ranking c = r;
    const auto reason = SaveRanking(c, Cand(2, "new", "0:00:01"), FilePath());
    return reason && !reason->isEmpty();
  }));
  QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                         QFileDevice::ExeOwner);
  EXPECT_EQ(test::ReadBytes(FilePath()), old);

  // A folder where the file should be, and a path through a regular file.
  ASSERT_TRUE(QDir(dir_.path()).mkdir(S("asdir")));
  const QString folderPath = dir_.filePath(S("asdir"));
  const QString throughFile = FilePath() + S("/") + S(kRankingFile);
  for (const QString& path : {folderPath, throughFile}) {
    SCOPED_TRACE(path.toStdString());
    Ranking c = r;
    const auto reason = SaveRanking(c, Cand(2, "new", "0:00:01"), path);
    ASSERT_TRUE(reason.has_value());
    EXPECT_TRUE(reason->contains(path));
    EXPECT_EQ(c.at(2, 0).Name, S("new"));  // memory takes the new order all the same
  }
  EXPECT_TRUE(QFileInfo(folderPath).isDir());
  EXPECT_EQ(test::ReadBytes(FilePath()), old);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{S(kRankingFile)});

  EXPECT_TRUE(SaveRanking(r, Cand(9, "x", "0:00:01"), FilePath()).has_value());
  EXPECT_EQ(test::ReadBytes(FilePath()), old);
}

// A ranking the player may write, in a folder the player may not: it is
// rewritten in place, and a write that fails puts the old bytes back.
TEST_F(RankingSave, WritableFileInAReadOnlyFolderIsRewrittenInPlace) {
  Ranking r;
  ASSERT_EQ(SaveRanking(r, Cand(1, "old", "0:00:10"), FilePath()), std::nullopt);
  const QByteArray old = test::ReadBytes(FilePath());
  ASSERT_TRUE(QFile::setPermissions(FilePath(), QFile::ReadOwner | QFile::WriteOwner |
                                                    QFile::ReadOther | QFile::WriteOther));
  ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                     QFile::ReadOther | QFile::ExeOther));
  const QStringList files{S(kRankingFile)};
  const auto save = [&](const char* name) {
    return [&, name] {
      Ranking c = r;
      return !SaveRanking(c, Cand(1, name, "0:00:05"), FilePath()).has_value();
    };
  };

  // Too long for the size limit, which the old file is not: refused, and
  // the old bytes are back, not a cut-off file.
  const std::string longName(50, 'n');
  EXPECT_FALSE(SavedAsOrdinaryUser(save(longName.c_str()), rlim_t(old.size() + 40)));
  EXPECT_EQ(test::ReadBytes(FilePath()), old);

  EXPECT_TRUE(SavedAsOrdinaryUser(save("new")));
  Ranking expected = r;
  ASSERT_EQ(SaveRanking(expected, Cand(1, "new", "0:00:05"), dir_.filePath(S("expected"))),
            std::nullopt);
  EXPECT_EQ(test::ReadBytes(FilePath()), test::ReadBytes(dir_.filePath(S("expected"))));
  QFile::remove(dir_.filePath(S("expected")));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), files);
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(RankingStorable, OnlyWhatTheFileCanKeep) {
  for (const char* ok : {"", "Taro", "山田 太郎", "ﾔﾏﾀﾞ", "～∥－①纊", "a,b", "'single'", "\u00a5\u203e"}) {
    EXPECT_TRUE(IsStorableText(S(ok))) << ok;
  }
  for (const char* bad : {"a\"b", "a\rb", "a\nb", "\t", "\x7f", "\u2212", "\u301c", "é",
                          "\U0001F600", "\ufffd"}) {
    EXPECT_FALSE(IsStorableText(S(bad))) << bad;
  }
  EXPECT_FALSE(IsStorableText(QString(QChar(u'\0'))));
  EXPECT_FALSE(IsStorableText(QString(QChar(0xD800))));
}

}  // namespace
}  // namespace vornel
