// Time order, the rank-in test, the insertion and the saved file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

#include "RankingTestUtil.h"

// Faults planted in the system calls of the save: the ranking library's
// calls bind to these definitions in the test program.
static enum class Fault { None, Reserve, Sync, CrashAtCut } g_fault = Fault::None;
extern "C" int fallocate(int fd, int mode, off_t offset, off_t length) {
  return g_fault == Fault::Reserve ? (errno = ENOSPC, -1)
                                   : int(syscall(SYS_fallocate, fd, mode, offset, length));
}
extern "C" int fsync(int fd) {
  return g_fault == Fault::Sync ? (errno = EIO, -1) : int(syscall(SYS_fsync, fd));
}
extern "C" int ftruncate(int fd, off_t length) noexcept {
  if (g_fault == Fault::CrashAtCut) _exit(9);  // killed
  return int(syscall(SYS_ftruncate, fd, length));
}

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
  SaveResult Save(Ranking& r, const Candidate& c) { return SaveRanking(r, c, FilePath(), disk_); }
  QString Told(const char* what) const { return FilePath() + S(what); }
  // Saves a copy of `r` as an ordinary user: true when it says `told`, or saves.
  bool SaysAsUser(Ranking r, const Candidate& c, const char* told = nullptr,
                  rlim_t sizeLimit = RLIM_INFINITY);
  QTemporaryDir dir_;
  RankingDisk disk_;
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

bool RankingSave::SaysAsUser(Ranking r, const Candidate& c, const char* told, rlim_t sizeLimit) {
  return SavedAsOrdinaryUser([&] {
    const SaveResult s = Save(r, c);
    return told ? s.message == Told(told) : s.saved;
  }, sizeLimit);
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

  EXPECT_TRUE(Save(r, Cand(2, "slow", "9:00:00")).saved);
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
  ASSERT_TRUE(Save(r, Cand(3, "tie", "0:05:00")).saved);
  EXPECT_EQ(r.at(3, 4).Name, S("four"));
  EXPECT_EQ(r.at(3, 5).Name, S("tie"));
  EXPECT_EQ(r.at(3, 9).Time, S("0:09:00"));  // 0:10:00 fell off
  EXPECT_FALSE(CheckRankIn(r, S("3"), S("0:09:00")));

  // A and B with the same time below the new entry change order.
  Ranking s;
  FillLevel(s, 0, {"0:01:00", "0:02:00", "0:03:00", "0:05:00", "0:05:00"});
  s.at(0, 3).Name = S("A");
  s.at(0, 4).Name = S("B");
  ASSERT_TRUE(Save(s, Cand(0, "new", "0:00:30")).saved);
  EXPECT_EQ(s.at(0, 0).Name, S("new"));
  EXPECT_EQ(s.at(0, 4).Name, S("B"));
  EXPECT_EQ(s.at(0, 5).Name, S("A"));
  EXPECT_EQ(s.at(0, 5).Place, S("5"));

  // A ten-hour time lands after the two-hour ones.
  Ranking t;
  t.at(1, 0) = Entry(1, 0, "two", "2:00:00");
  ASSERT_TRUE(Save(t, Cand(1, "ten", "10:00:00")).saved);
  EXPECT_EQ(t.at(1, 0).Name, S("two"));
  EXPECT_EQ(t.at(1, 1).Name, S("ten"));
}

TEST_F(RankingSave, SavedLevelGetsItsPlacesOthersAreWrittenAsRead) {
  // As a hand-edited file may have them: spaced places; bytes the code page
  // does not assign (a lone lead byte too) or would write otherwise.
  ASSERT_TRUE(test::WriteBytes(FilePath(), Line({"0", " 2", "\x85\x40", "0:00:09", "A\x81"}) +
                                               Line({"3", " 0", "\x87\x9a", "0:00:09", "d"})));
  Ranking r;
  disk_ = LoadRanking(r, FilePath());
  ASSERT_TRUE(Save(r, Cand(3, "x", "0:01:00")).saved);
  const QByteArray bytes = test::ReadBytes(FilePath());
  EXPECT_TRUE(bytes.contains(Line({"0", " 2", "\x85\x40", "0:00:09", "A\x81"})));
  // Above the new entry, yet renumbered.
  EXPECT_TRUE(bytes.contains(Line({"3", "0", "\x87\x9a", "0:00:09", "d"})));
  EXPECT_TRUE(bytes.startsWith(Line({"", "", "", "", ""}) + Line({"", "", "", "", ""})));
}

TEST_F(RankingSave, NamesKeepCommasAndShiftJisBytes) {
  Ranking r;
  ASSERT_TRUE(Save(r, Cand(0, "a, b,c", "0:01:00")).saved);
  ASSERT_TRUE(Save(r, Cand(0, "山田", "0:00:30")).saved);
  ASSERT_TRUE(Save(r, Cand(0, "～①ﾔﾏﾀﾞ", "0:02:00")).saved);
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
  ASSERT_TRUE(Save(q, Cand(0, "a\u2212b\u00e9\U0001F600\u00a5\u203e", "0:01:00")).saved);
  EXPECT_TRUE(test::ReadBytes(FilePath()).contains("\"a?b??\\~\""));
  EXPECT_EQ(q.at(0, 0).Name, S("a?b??\\~"));  // as the next start reads it
}

TEST_F(RankingSave, FailedSaveKeepsTheOldFileAndSaysWhy) {
  Ranking r;
  FillLevel(r, 2);
  ASSERT_TRUE(Save(r, Cand(2, "old", "0:00:10")).saved);
  const QByteArray old = test::ReadBytes(FilePath());

  // The file is too large to be written: the write fails part way.
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    Ranking c = r;
    _exit(Save(c, Cand(2, "new", "0:00:01")).message == Told("：ファイルが大きすぎて書き込めません。") &&
                  c.at(2, 0).Name == S("new") ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(test::ReadBytes(FilePath()), old);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{S(kRankingFile)});

  // A read-only folder, and a file the player may not write either.
  ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                     QFileDevice::ReadOther | QFileDevice::ExeOther));
  EXPECT_TRUE(SaysAsUser(r, Cand(2, "new", "0:00:01"), "：書き込みの許可がありません。"));
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
    EXPECT_EQ(SaveRanking(c, Cand(2, "new", "0:00:01"), path, disk_).message,
              path + S(path == folderPath ? "：ファイルではなく、フォルダーなどがあります。"
                                          : "：フォルダーが見つかりません。"));
    EXPECT_EQ(c.at(2, 0).Name, S("new"));  // memory takes the new order all the same
  }
  EXPECT_TRUE(QFileInfo(folderPath).isDir());
  EXPECT_EQ(test::ReadBytes(FilePath()), old);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{S(kRankingFile)});

  EXPECT_EQ(Save(r, Cand(9, "x", "0:00:01")).message, S("レベル「9」はありません。"));
  // A sync to disk that fails: nothing replaces the file.
  g_fault = Fault::Sync;
  EXPECT_EQ(Save(r, Cand(2, "new", "0:00:01")).message, Told("：ディスクの読み書きに失敗しました。"));
  g_fault = Fault::None;
  EXPECT_EQ(test::ReadBytes(FilePath()), old);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{S(kRankingFile)});
}

// A ranking the player may write, in a folder the player may not: it is
// rewritten in place, and a write that fails puts the old bytes back.
TEST_F(RankingSave, WritableFileInAReadOnlyFolderIsRewrittenInPlace) {
  Ranking r;
  FillLevel(r, 0);
  for (int p = 0; p < kShownPlaces; ++p) r.at(0, p).Name = QString(40, u'n');
  ASSERT_TRUE(Save(r, Cand(1, "old", "0:00:10")).saved);
  const QByteArray old = test::ReadBytes(FilePath());
  ASSERT_TRUE(QFile::setPermissions(FilePath(), QFile::ReadOwner | QFile::WriteOwner |
                                                    QFile::ReadOther | QFile::WriteOther));
  ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                     QFile::ReadOther | QFile::ExeOther));
  const QStringList files{S(kRankingFile)};

  // Too long for the size limit, which the old file is not: refused, and
  // the old bytes are back, not a cut-off file.
  const std::string longName(50, 'n');
  EXPECT_FALSE(SaysAsUser(r, Cand(1, longName.c_str(), "0:00:05"), nullptr, old.size() + 40));
  EXPECT_EQ(test::ReadBytes(FilePath()), old);

  EXPECT_TRUE(SaysAsUser(r, Cand(1, "new", "0:00:05")));
  Ranking expected = r;
  RankingDisk none;
  ASSERT_TRUE(
      SaveRanking(expected, Cand(1, "new", "0:00:05"), dir_.filePath(S("expected")), none).saved);
  EXPECT_EQ(test::ReadBytes(FilePath()), test::ReadBytes(dir_.filePath(S("expected"))));
  QFile::remove(dir_.filePath(S("expected")));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), files);

  // A fault at each step; the new file is shorter, its last entry falling off.
  const QByteArray now = test::ReadBytes(FilePath());
  const std::pair<Fault, const char*> faults[] = {
      {Fault::Reserve, "：ディスクの空きが足りません。"},
      {Fault::Sync, "：ディスクの読み書きに失敗しました。\n元の内容にも戻せず、ファイルが壊れているおそれがあります。"},
      {Fault::CrashAtCut, ""}};
  for (const auto& [fault, told] : faults) {
    g_fault = fault;
    EXPECT_EQ(SaysAsUser(r, Cand(0, "x", "0:00:30"), told), fault != Fault::CrashAtCut);
    g_fault = Fault::None;
    Ranking back;
    if (fault != Fault::Sync) {  // untouched; killed before the cut, new and read whole
      EXPECT_TRUE(ParseRanking(back, test::ReadBytes(FilePath())));
      EXPECT_EQ(back.at(0, 0).Name, fault == Fault::Reserve ? r.at(0, 0).Name : S("x"));
    }
    ASSERT_TRUE(test::WriteBytes(FilePath(), now));
  }
}

// Two games on one file, from no file, neither having read the other's.
TEST_F(RankingSave, TwoGamesOnOneFileKeepEveryEntry) {
  Ranking a, b;
  RankingDisk da = LoadRanking(a, FilePath()), db = LoadRanking(b, FilePath());
  const auto save = [&](Ranking& r, RankingDisk& d, const char* name, const char* time) {
    return SaveRanking(r, Cand(1, name, time), FilePath(), d).message;
  };
  EXPECT_EQ(save(a, da, "Alice", "0:02:00"), QString());
  EXPECT_EQ(save(b, db, "Bob", "0:01:00"), QString());
  EXPECT_EQ(b.at(1, 1).Name, S("Alice"));  // the table shows what the file holds

  // While another game holds the file, a save waits a little, then says so.
  QFile other(FilePath());
  ASSERT_TRUE(other.open(QIODevice::ReadOnly) && flock(other.handle(), LOCK_EX) == 0);
  EXPECT_EQ(save(a, da, "Carol", "0:03:00"), Told("：ほかのゲームが使用中です。"));
  other.close();
  // Carol's entry goes into the file with Eve's, Dave's kept.
  EXPECT_EQ(save(b, db, "Dave", "0:04:00"), QString());
  EXPECT_EQ(save(a, da, "Eve", "0:05:00"), QString());
  QString names;
  for (int p = 0; p < 6; ++p) names += a.at(1, p).Name + u',';
  EXPECT_EQ(names, S("Bob,Alice,Carol,Dave,Eve,,"));
  EXPECT_EQ(FormatRanking(a), test::ReadBytes(FilePath()));

  // Ten faster times saved by the other game push the entry out: it says so.
  for (int p = 0; p < 5; ++p) save(b, db, "fast", "0:00:10");
  EXPECT_EQ(save(a, da, "late", "0:06:00"),
            S("ほかのゲームで速い記録が先に登録されたため、この記録は10位までに入りませんでした。"));
  EXPECT_EQ(a.at(1, 9).Name, S("Eve"));
}

// Before a file is rewritten without the records behind a bad one, its bytes are kept.
TEST_F(RankingSave, FileNotLoadedToItsEndIsCopiedFirst) {
  const QByteArray damaged = Line({"0", "0", "a", "0:01:00", "d"}) + Line({"x", "", "", "", ""}) +
                             Line({"2", "0", "behind", "0:01:00", "d"});
  const QString copy = FilePath() + S(".bak");
  ASSERT_TRUE(test::WriteBytes(FilePath(), damaged));
  Ranking r;
  disk_ = LoadRanking(r, FilePath());
  EXPECT_EQ(Save(r, Cand(0, "new", "0:00:30")).message,
            FilePath() + S(" は最後まで読めなかったため、元の内容を ") + copy + S(" に残しました。"));
  EXPECT_EQ(test::ReadBytes(copy), damaged);
  EXPECT_TRUE(Save(r, Cand(0, "again", "0:00:40")).message.isEmpty());  // told once

  // Damaged again: a copy of other bytes is never overwritten, nor the file.
  ASSERT_TRUE(test::WriteBytes(FilePath(), damaged + 'x'));
  disk_ = LoadRanking(r, FilePath());
  EXPECT_EQ(Save(r, Cand(0, "new", "0:00:30")).message,
            Told("：最後まで読めないファイルです。前の控え ") + copy + S(" を移すまで上書きしません。"));
  EXPECT_EQ(test::ReadBytes(FilePath()), damaged + 'x');
  EXPECT_EQ(test::ReadBytes(copy), damaged);
}

// A group's file of another owner (sticky, plain shared folder), a link into a folder
// taking no new file: written where they are, keeping owner, group, mode and link.
TEST_F(RankingSave, SharedAndLinkedFilesAreWrittenWhereTheyAre) {
  Ranking r;
  ASSERT_TRUE(Save(r, Cand(1, "old", "0:00:10")).saved);
  ASSERT_TRUE(chown(qPrintable(FilePath()), 0, 65534) == 0 &&
              chmod(qPrintable(FilePath()), 0664) == 0);
  for (const mode_t folder : {01777, 0777}) {
    ASSERT_EQ(chmod(qPrintable(dir_.path()), folder), 0);
    EXPECT_TRUE(SaysAsUser(r, Cand(1, "shared", "0:00:05")));
    struct stat st {};
    ASSERT_EQ(stat(qPrintable(FilePath()), &st), 0);
    EXPECT_EQ(std::tuple(st.st_uid, st.st_gid, st.st_mode & 07777), std::tuple(0U, 65534U, 0664U));
  }
  EXPECT_TRUE(test::ReadBytes(FilePath()).contains("\"shared\""));

  const QString real = dir_.filePath(S("real/") + S(kRankingFile));
  ASSERT_TRUE(QDir(dir_.path()).mkdir(S("real")) && QFile::rename(FilePath(), real));
  ASSERT_TRUE(chown(qPrintable(real), 65534, 65534) == 0 && QFile::link(real, FilePath()) &&
              chmod(qPrintable(dir_.filePath(S("real"))), 0555) == 0);
  EXPECT_TRUE(SaysAsUser(r, Cand(1, "linked", "0:00:05")));
  EXPECT_TRUE(QFileInfo(FilePath()).isSymLink() && test::ReadBytes(real).contains("\"linked\""));
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
