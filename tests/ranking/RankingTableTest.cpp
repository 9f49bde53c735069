// Time order, the rank-in test, the insertion and the saved file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <thread>
#include <tuple>
#include <unistd.h>

#include "RankingTestUtil.h"

// Faults planted in the system calls of the save, and what they watch: the
// ranking library's calls bind to these definitions in the test program.
static enum class Fault { None, Full, Reserve, Sync, FolderSync, Close, CrashAtCut } g_fault;
static bool g_dirty = false;                // written since the last sync
static std::function<void()> g_beforeLock;  // another game's turn, once
extern "C" int fallocate(int fd, int mode, off_t offset, off_t length) {
  return g_fault == Fault::Reserve ? (errno = ENOSPC, -1)
                                   : int(syscall(SYS_fallocate, fd, mode, offset, length));
}
extern "C" ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
  if (g_fault == Fault::Full) return errno = ENOSPC, -1;
  return g_dirty = true, syscall(SYS_pwrite64, fd, data, size, offset);
}
extern "C" int fsync(int fd) {
  struct stat st {};  // the ranking's folder, which the player may write but not read
  if (g_fault == Fault::FolderSync && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) &&
      faccessat(fd, "vornel.dat", F_OK, 0) == 0)
    return errno = EACCES, -1;
  return g_fault == Fault::Sync ? (errno = EIO, -1) : (g_dirty = false, int(syscall(SYS_fsync, fd)));
}
extern "C" int close(int fd) {  // a delayed write error shows at the close
  return syscall(SYS_close, fd) != 0 ? -1 : g_fault == Fault::Close ? (errno = EIO, -1) : 0;
}
extern "C" int ftruncate(int fd, off_t length) noexcept {
  // Killed at the cut, and what was not synced lost as in a power cut.
  if (g_fault == Fault::CrashAtCut && (!g_dirty || syscall(SYS_ftruncate, fd, 0) == 0)) _exit(9);
  return int(syscall(SYS_ftruncate, fd, length));
}
extern "C" int flock(int fd, int operation) noexcept {
  if (const auto turn = std::exchange(g_beforeLock, nullptr)) turn();
  return int(syscall(SYS_flock, fd, operation));
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
    alarm(30);  // a save that hangs fails, and ends
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

  // A read-only folder, and a file the player may not write either.
  ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                     QFileDevice::ReadOther | QFileDevice::ExeOther));
  EXPECT_TRUE(SaysAsUser(r, Cand(2, "new", "0:00:01"), "：書き込みの許可がありません。"));
  QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                         QFileDevice::ExeOwner);
  EXPECT_EQ(test::ReadBytes(FilePath()), old);

  // A folder or a FIFO where the file should be, and a path through a regular file.
  ASSERT_TRUE(QDir(dir_.path()).mkdir(S("asdir")));
  const QString folderPath = dir_.filePath(S("asdir")), fifo = dir_.filePath(S("fifo"));
  ASSERT_EQ(mkfifo(qPrintable(fifo), 0666), 0);
  const QString throughFile = FilePath() + S("/") + S(kRankingFile);
  for (const QString& path : {folderPath, fifo, throughFile}) {
    SCOPED_TRACE(path.toStdString());
    Ranking c = r;
    EXPECT_EQ(SaveRanking(c, Cand(2, "new", "0:00:01"), path, disk_).message,
              path + S(path != throughFile ? "：ファイルではなく、フォルダーなどがあります。"
                                           : "：フォルダーが見つかりません。"));
    EXPECT_EQ(c.at(2, 0).Name, S("new"));  // memory takes the new order all the same
  }
  EXPECT_TRUE(QFileInfo(folderPath).isDir());
  EXPECT_EQ(test::ReadBytes(FilePath()), old);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{S(kRankingFile)});

  EXPECT_EQ(Save(r, Cand(9, "x", "0:00:01")).message, S("レベル「9」はありません。"));
  // A write, a sync or a close (a delayed write error) that fails: nothing
  // replaces the file.
  const std::pair<Fault, const char*> faults[] = {{Fault::Full, "：ディスクの空きが足りません。"},
                                                  {Fault::Sync, "：ディスクの読み書きに失敗しました。"},
                                                  {Fault::Close, "：ディスクの読み書きに失敗しました。"}};
  for (const auto& [fault, told] : faults) {
    g_fault = fault;
    EXPECT_EQ(Save(r, Cand(2, "new", "0:00:01")).message, Told(told));
    g_fault = Fault::None;
    EXPECT_EQ(test::ReadBytes(FilePath()), old);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{S(kRankingFile)});
  }
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

  // While another game holds the file, if only shared, a save waits its three
  // seconds, then says so; a lock let go meanwhile is taken.
  const int other = open(qPrintable(FilePath()), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(flock(other, LOCK_SH), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(save(a, da, "Carol", "0:03:00"), Told("：ほかのゲームが使用中です。"));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  std::thread([other] { std::this_thread::sleep_for(std::chrono::seconds(1)), close(other); }).detach();
  EXPECT_EQ(save(b, db, "Dave", "0:04:00"), QString());
  // Carol's entry goes into the file with Eve's, Dave's kept. The new file is
  // in place but its folder not synced: said so, and both are still pending.
  g_fault = Fault::FolderSync;
  EXPECT_EQ(save(a, da, "Eve", "0:05:00"),
            Told("：新しい内容のファイルに置き換えましたが、その名前はまだディスクに書かれていないおそれがあります。\n") +
                dir_.path() + S("：書き込みの許可がありません。"));
  EXPECT_EQ(da.unsaved.size(), 2U);
  g_fault = Fault::None;
  // A file another game put in place during the wait for its lock is merged;
  // what reached the file is not entered twice.
  g_beforeLock = [&] { save(b, db, "Fay", "0:06:00"); };
  EXPECT_EQ(save(a, da, "Gus", "0:07:00"), QString());
  QString names;
  for (int p = 0; p < 8; ++p) names += a.at(1, p).Name + u',';
  EXPECT_EQ(names, S("Bob,Alice,Carol,Dave,Eve,Fay,Gus,,"));
  EXPECT_EQ(FormatRanking(a), test::ReadBytes(FilePath()));

  // An entry whose save failed goes in with the next; ten faster times saved
  // by the other game push the new one out: it says so.
  g_fault = Fault::Full;
  save(a, da, "Hal", "0:00:20");
  g_fault = Fault::None;
  for (int p = 0; p < 4; ++p) save(b, db, "fast", "0:00:10");
  EXPECT_EQ(save(a, da, "late", "0:06:30"),
            S("ほかのゲームで速い記録が先に登録されたため、この記録は10位までに入りませんでした。"));
  EXPECT_EQ(a.at(1, 4).Name + a.at(1, 9).Name, S("HalEve"));
}

// Before a file is rewritten without the records behind a bad one, its bytes are kept.
TEST_F(RankingSave, FileNotLoadedToItsEndIsCopiedFirst) {
  const QByteArray damaged = Line({"0", "0", "a", "0:01:00", "d"}) + Line({"x", "", "", "", ""}) +
                             Line({"2", "0", "behind", "0:01:00", "d"});
  const QString copy = FilePath() + S(".bak");
  ASSERT_TRUE(test::WriteBytes(FilePath(), damaged) &&
              chown(qPrintable(FilePath()), 65534, 65534) == 0 &&
              chmod(qPrintable(FilePath()), 0600) == 0);
  Ranking r;
  disk_ = LoadRanking(r, FilePath());
  g_fault = Fault::Full;  // no copy, no save; the message names the copy
  EXPECT_EQ(Save(r, Cand(0, "new", "0:00:30")).message,
            Told("：最後まで読めないファイルです。控えを作れないため上書きしません。\n") + copy +
                S("：ディスクの空きが足りません。"));
  g_fault = Fault::None;
  EXPECT_EQ(Save(r, Cand(0, "new", "0:00:30")).message,
            FilePath() + S(" は最後まで読めなかったため、元の内容を ") + copy + S(" に残しました。"));
  EXPECT_EQ(test::ReadBytes(copy), damaged);
  struct stat st {};  // as private as the file
  ASSERT_EQ(stat(qPrintable(copy), &st), 0);
  EXPECT_EQ(std::tuple(st.st_uid, st.st_gid, st.st_mode & 07777), std::tuple(65534U, 65534U, 0600U));
  EXPECT_TRUE(Save(r, Cand(0, "again", "0:00:40")).message.isEmpty());  // told once

  // Damaged again: a copy of other bytes, or a FIFO of its name, is never
  // overwritten, nor the file.
  ASSERT_TRUE(test::WriteBytes(FilePath(), damaged + 'x'));
  disk_ = LoadRanking(r, FilePath());
  const QString kept =
      Told("：最後まで読めないファイルです。前の控え ") + copy + S(" を移すまで上書きしません。");
  EXPECT_EQ(Save(r, Cand(0, "new", "0:00:30")).message, kept);
  EXPECT_EQ(test::ReadBytes(copy), damaged);
  ASSERT_TRUE(QFile::remove(copy) && mkfifo(qPrintable(copy), 0666) == 0);
  EXPECT_EQ(Save(r, Cand(0, "new", "0:00:30")).message, kept);
  EXPECT_EQ(test::ReadBytes(FilePath()), damaged + 'x');
  // Far larger than any ranking (sparse): neither copied nor overwritten.
  ASSERT_TRUE(QFile::remove(copy) && truncate(qPrintable(FilePath()), 17 << 20) == 0);
  EXPECT_EQ(Save(r, Cand(0, "new", "0:00:30")).message,
            Told("：ランキングのファイルにしては大きすぎます（16 MiB を超えています）。控えも作らず、上書きもしません。"));
  EXPECT_TRUE(!QFile::exists(copy) && QFileInfo(FilePath()).size() == 17 << 20);
}

// Replaced or rewritten in place, a file keeps owner, group, mode, access
// list and names: read-only, a group's file of another owner in a sticky
// or plain shared folder, hard and symbolic links.
TEST_F(RankingSave, SharedAndLinkedFilesAreWrittenWhereTheyAre) {
  Ranking r;
  ASSERT_TRUE(Save(r, Cand(1, "old", "0:00:10")).saved);
  // Folder, owner, mode, and whether an ordinary user saves.
  const std::tuple<mode_t, uid_t, mode_t, bool> cases[] = {
      {0700, 65534, 0600, false}, {0700, 65534, 0664, false}, {0777, 65534, 0444, true},
      {01777, 0, 0664, true},     {0777, 0, 0664, true}};
  for (const auto& [folder, owner, mode, asUser] : cases) {
    ASSERT_TRUE(chmod(qPrintable(dir_.path()), folder) == 0 &&
                chown(qPrintable(FilePath()), owner, 65534) == 0 &&
                chmod(qPrintable(FilePath()), mode) == 0);
    EXPECT_TRUE(asUser ? SaysAsUser(r, Cand(1, "shared", "0:00:05"))
                       : Save(r, Cand(1, "own", "0:00:05")).saved);
    struct stat st {};
    ASSERT_EQ(stat(qPrintable(FilePath()), &st), 0);
    EXPECT_EQ(std::tuple(st.st_uid, st.st_gid, st.st_mode & 07777), std::tuple(owner, 65534U, mode));
  }
  EXPECT_TRUE(test::ReadBytes(FilePath()).contains("\"shared\""));
  ASSERT_EQ(link(qPrintable(FilePath()), qPrintable(dir_.filePath(S("twin")))), 0);
  EXPECT_TRUE(Save(r, Cand(1, "twin", "0:00:04")).saved);
  EXPECT_EQ(test::ReadBytes(dir_.filePath(S("twin"))), test::ReadBytes(FilePath()));

  const QString real = dir_.filePath(S("real/") + S(kRankingFile));
  ASSERT_TRUE(QDir(dir_.path()).mkdir(S("real")) && QFile::rename(FilePath(), real));
  ASSERT_TRUE(chown(qPrintable(real), 65534, 65534) == 0 && QFile::link(real, FilePath()) &&
              chmod(qPrintable(dir_.filePath(S("real"))), 0555) == 0);
  EXPECT_TRUE(SaysAsUser(r, Cand(1, "linked", "0:00:05")));
  EXPECT_TRUE(QFileInfo(FilePath()).isSymLink() && test::ReadBytes(real).contains("\"linked\""));
  // "cur/../" goes up from where cur leads, as the kernel resolves it.
  const QString deep = dir_.filePath(S("deep/") + S(kRankingFile));
  ASSERT_TRUE(QFile::remove(FilePath()) && QDir(dir_.path()).mkpath(S("deep/inner")) &&
              symlink("deep/inner", qPrintable(dir_.filePath(S("cur")))) == 0 &&
              symlink("cur/../vornel.dat", qPrintable(FilePath())) == 0);
  EXPECT_TRUE(Save(r, Cand(1, "deep", "0:00:03")).saved);
  EXPECT_TRUE(QFileInfo(FilePath()).isSymLink() &&
              LoadRanking(r, FilePath()).bytes.value_or("").contains("\"deep\""));

  // user::rw- user:65534:rw- group::r-- mask::rw- other::r--
  const QByteArray acl("\2\0\0\0\1\0\6\0\xff\xff\xff\xff\2\0\6\0\xfe\xff\0\0\4\0\4\0\xff\xff\xff\xff"
                       "\x10\0\6\0\xff\xff\xff\xff\x20\0\4\0\xff\xff\xff\xff", 44);
  if (setxattr(qPrintable(deep), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0 &&
      errno == EOPNOTSUPP) {
    GTEST_SKIP() << "no access control lists on this file system";
  }
  EXPECT_TRUE(Save(r, Cand(1, "listed", "0:00:02")).saved);
  QByteArray back(64, '\0');
  EXPECT_EQ(getxattr(qPrintable(deep), "system.posix_acl_access", back.data(), back.size()), 44);
  EXPECT_EQ(back.left(44), acl);
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
