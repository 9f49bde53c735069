#include "ranking/RankingStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <functional>
#include <thread>

#include "ranking/RankingRecords.h"

namespace vornel {
namespace ranking_detail {
namespace {

// What went wrong, as the player reads it.
QString Reason(int error) {
  switch (error) {
    case ENOSPC: return QStringLiteral("ディスクの空きが足りません。");
    case EDQUOT: return QStringLiteral("ディスクの使用量が上限に達しています。");
    case EFBIG: return QStringLiteral("ファイルが大きすぎて書き込めません。");
    case EACCES:
    case EPERM: return QStringLiteral("書き込みの許可がありません。");
    case EROFS: return QStringLiteral("書き込みのできないディスクにあります。");
    case EISDIR: return QStringLiteral("ファイルではなく、フォルダーなどがあります。");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("フォルダーが見つかりません。");
    case EWOULDBLOCK: return QStringLiteral("ほかのゲームが使用中です。");
    case EIO: return QStringLiteral("ディスクの読み書きに失敗しました。");
    case ELOOP: return QStringLiteral("シンボリックリンクをたどれません。");
    default:
      return QStringLiteral("書き込めませんでした（%1）。")
          .arg(QString::fromLocal8Bit(std::strerror(error)));
  }
}

QString Say(const QString& file, int error) { return file + QStringLiteral("：") + Reason(error); }

// The head of an open file: up to one byte past kMaxFileBytes, which tells
// that the file goes on. None when it cannot be read.
std::optional<QByteArray> ReadHead(int fd) {
  QFile file;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) return std::nullopt;
  // A size of 0 may only mean that the size is unknown.
  const qint64 size = file.size();
  const qint64 limit = kMaxFileBytes + 1;
  QByteArray data = file.read(size > 0 ? std::min(size + 1, limit) : limit);
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return data;
}

// The head of the regular file at `path`; none when there is none. Opened
// without waiting: a FIFO or a device of that name would hold the game.
std::optional<QByteArray> ReadRegular(const QByteArray& path) {
  const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  std::optional<QByteArray> head;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) head = ReadHead(fd);
  ::close(fd);
  return head;
}

QByteArray FolderOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  return slash < 0 ? QByteArray(".") : path.left(std::max(slash, qsizetype(1)));
}

// Symbolic links are followed as the kernel follows them: a relative target
// starts from the link's own folder as the kernel reaches it, so that
// "cur/../vornel.dat" goes up from wherever `cur` leads, not back to the
// link. The save decides on the folder where the bytes live, and replaces
// the target rather than the link.
QByteArray WhereBytesLive(const QString& path) {
  QByteArray file = QFile::encodeName(path);
  // No further than the kernel goes; a longer chain fails to open.
  for (int hop = 0; hop < 40; ++hop) {
    char target[PATH_MAX];
    const ssize_t n = ::readlink(file.constData(), target, sizeof target);
    if (n <= 0 || n == sizeof target) break;
    const QByteArray to(target, n);
    file = to.startsWith('/') ? to : FolderOf(file) + '/' + to;
  }
  return file;
}

int WriteAll(int fd, QByteArrayView bytes) {
  off_t offset = 0;
  while (!bytes.isEmpty()) {
    const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    bytes = bytes.sliced(n);
    offset += n;
  }
  return 0;
}

// The new name of a moved file is on disk only once its folder is.
int SyncFolder(const QByteArray& folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  // Some file systems cannot sync a folder, and need not.
  const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
  ::close(fd);
  return error;
}

// Moves `from` to `to` only where nothing is yet: EEXIST otherwise.
int MoveToFreeName(const QByteArray& from, const QByteArray& to) {
  if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
    return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without that kind of move: a new link never replaces either.
  if (::link(from.constData(), to.constData()) != 0) return errno;
  ::unlink(from.constData());
  return 0;
}

constexpr const char* kAccessList = "system.posix_acl_access";

// Gives the new file `fd` the access control list, owner, group and mode of
// the old file `old`. `exact`: EPERM unless all of them are kept. Otherwise
// what can be is kept, and where the list or the group cannot be, the group
// bits are cleared rather than granted to the saver's group or past the list.
int TakeAttributes(int fd, int oldFd, const struct stat& old, bool exact) {
  // The list first, while the new file is still the saver's own; a new file
  // may have inherited one from the folder that the old one does not have.
  char list[4096];
  const ssize_t n = ::fgetxattr(oldFd, kAccessList, list, sizeof list);
  bool listKept = false;
  if (n >= 0) {
    listKept = ::fsetxattr(fd, kAccessList, list, n, 0) == 0;
  } else if (errno == ENODATA || errno == EOPNOTSUPP) {
    listKept = ::fremovexattr(fd, kAccessList) == 0 || errno == ENODATA || errno == EOPNOTSUPP;
  }
  const bool ownerKept = ::fchown(fd, old.st_uid, old.st_gid) == 0;
  if (exact && !(listKept && ownerKept)) return EPERM;
  mode_t mode = old.st_mode & 07777;
  if (!listKept || (!ownerKept && ::fchown(fd, uid_t(-1), old.st_gid) != 0)) mode &= ~mode_t(070);
  return ::fchmod(fd, mode) == 0 ? 0 : errno;
}

// Writes a new file through `fill` beside `target` with the attributes of
// the old file (TakeAttributes, exact when `replace`), checks that it is on
// disk, and moves it there: over the old file when `replace`, else only
// where there is no file yet (EEXIST). 0 or the error; nothing is left
// behind on failure. The folder is not synced here.
int WriteWhole(const QByteArray& target, int oldFd, const struct stat& old, bool replace,
               const std::function<int(int)>& fill) {
  QByteArray temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    temp = target + ".new-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt == 100)) return errno;
  }
  int error = TakeAttributes(fd, oldFd, old, replace);
  if (error == 0) error = fill(fd);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0) {
    error = !replace ? MoveToFreeName(temp, target)
                     : (::rename(temp.constData(), target.constData()) == 0 ? 0 : errno);
  }
  if (error != 0) ::unlink(temp.constData());
  return error;
}

struct InPlace {
  int error = 0;
  bool restored = true;  // after a failure: the old bytes are back
};

// Rewrites the file from its start through `fd`. Space for the longer of
// the two contents is reserved before the first old byte is overwritten.
// Spaces, a clean end to the loader, pad the new bytes over the whole old
// length, and the file is cut to the new length only once they are on disk:
// a crash after the write leaves no tail of old records behind the new ones.
// A failure puts the old bytes back the same way.
InPlace RewriteInPlace(int fd, const QByteArray& old, const QByteArray& bytes) {
  const off_t longer = std::max(old.size(), bytes.size());
  if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, longer) != 0 && errno != EOPNOTSUPP &&
      errno != ENOSYS)
    return {errno};
  const auto put = [fd, &old](const QByteArray& content) {
    const QByteArray padding(std::max(old.size() - content.size(), qsizetype(0)), ' ');
    int error = WriteAll(fd, content + padding);
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (error == 0 && (::ftruncate(fd, content.size()) != 0 || ::fsync(fd) != 0)) error = errno;
    return error;
  };
  if (const int error = put(bytes); error != 0) return {error, put(old) == 0};
  return {};
}

}  // namespace

LockedFile::LockedFile(const QString& path) : path_(path), target_(WhereBytesLive(path)) {
  int error = OpenLocked();
  if (error == 0 && !made_ && !(bytes_ = ReadHead(fd_))) error = EIO;
  if (error != 0) {
    failure_ = Say(path_, error);
  } else if (bytes_ && bytes_->size() > kMaxFileBytes) {
    // Far more than the game ever writes: no ranking, and copying it could
    // fill the disk.
    failure_ = path_ + QStringLiteral("：ランキングのファイルにしては大きすぎます（%1 MiB を超えています）。控えも作らず、上書きもしません。")
                           .arg(kMaxFileBytes >> 20);
  }
}

LockedFile::~LockedFile() {
  if (fd_ >= 0) ::close(fd_);
}

// 0 with the file open and locked, the path still naming it; `made_` when
// there was no file and it was made here, empty. Nothing opened waits for a
// writer, and every retry ends by the lock's deadline.
int LockedFile::OpenLocked() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLockWaitMs);
  for (;;) {
    made_ = false;
    writable_ = true;
    bool busy = false;
    // The links were followed above: one found now is the end of a longer
    // chain than the kernel follows, or was put there since.
    fd_ = ::open(target_.constData(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd_ < 0 && errno == ENOENT) {
      // Made empty and locked at once, so that the first save of another
      // game waits for this one instead of erasing it.
      fd_ = ::open(target_.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      made_ = fd_ >= 0;
    } else if (fd_ < 0 && (errno == EACCES || errno == EROFS)) {
      // A file the player may not write may still be replaced.
      writable_ = false;
      fd_ = ::open(target_.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    }
    // EEXIST: another game made the file meanwhile.
    if (fd_ < 0 && errno != EEXIST) return errno;
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      if (::fstat(fd_, &stat_) != 0) return errno;
      if (!S_ISREG(stat_.st_mode)) return EISDIR;
      // The save of another game may have put a new file in its place.
      struct stat named {};
      if (::stat(target_.constData(), &named) == 0 && named.st_dev == stat_.st_dev &&
          named.st_ino == stat_.st_ino)
        return 0;
    } else if (fd_ >= 0) {
      if (errno != EWOULDBLOCK) return errno;
      busy = true;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (std::chrono::steady_clock::now() >= deadline) return EWOULDBLOCK;
    if (busy) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

SaveResult LockedFile::Write(const QByteArray& bytes, bool keepOld) {
  QString note;
  if (keepOld) {
    const QByteArray copy = target_ + ".bak";
    const QString copyName = QFile::decodeName(copy);
    const int error =
        WriteWhole(copy, fd_, stat_, false, [this](int to) { return WriteAll(to, *bytes_); });
    // A folder that cannot be synced fails the sync after the move below too,
    // which tells it.
    if (error == 0) SyncFolder(FolderOf(copy));
    const QString damaged = path_ + QStringLiteral("：最後まで読めないファイルです。");
    if (error == 0) {
      note = path_ + QStringLiteral(" は最後まで読めなかったため、元の内容を ") + copyName +
             QStringLiteral(" に残しました。");
    } else if (error == EEXIST) {
      // An earlier save made it; a copy of other bytes, or anything but a
      // regular file, is never overwritten.
      if (ReadRegular(copy) != bytes_)
        return {false, damaged + QStringLiteral("前の控え ") + copyName +
                           QStringLiteral(" を移すまで上書きしません。")};
    } else {
      return {false, damaged + QStringLiteral("控えを作れないため上書きしません。\n") +
                         Say(copyName, error)};
    }
  }

  const QByteArray old = bytes_.value_or(QByteArray());
  InPlace result;
  int unsynced = 0;  // the folder's sync failed after the new file took the old one's place
  if (stat_.st_nlink > 1) {
    // Other names share the file: a new file would part them.
    result = writable_ ? RewriteInPlace(fd_, old, bytes) : InPlace{EACCES};
  } else if (const int error =
                 WriteWhole(target_, fd_, stat_, true, [&bytes](int to) { return WriteAll(to, bytes); });
             error == 0) {
    // The old file is no ranking any more: whatever happens, it stays as it is.
    unsynced = SyncFolder(FolderOf(target_));
  } else if (writable_ && (error == EACCES || error == EPERM || error == EROFS)) {
    // The folder takes no new file, the new file cannot be the old one's
    // own, or it cannot take the old one's place (a sticky folder).
    result = RewriteInPlace(fd_, old, bytes);
  } else {
    result.error = error;
  }

  QStringList message;
  if (result.error != 0) message << Say(path_, result.error);
  if (!result.restored)
    message << QStringLiteral("元の内容にも戻せず、ファイルが壊れているおそれがあります。");
  if (unsynced != 0) {
    message << path_ + QStringLiteral("：新しい内容のファイルに置き換えましたが、その名前はまだディスクに書かれていないおそれがあります。")
            << Say(QFileInfo(QFile::decodeName(FolderOf(target_))).absoluteFilePath(), unsynced);
  }
  if (!note.isEmpty()) message << note;
  return {result.error == 0 && unsynced == 0, message.join(u'\n')};
}

}  // namespace ranking_detail

RankingDisk LoadRanking(Ranking& ranking, const QString& path) {
  // What is not a regular file is no ranking: as if there were none.
  const std::optional<QByteArray> bytes = ranking_detail::ReadRegular(QFile::encodeName(path));
  if (bytes) ranking_detail::ParseRankingHead(ranking, *bytes);
  return {bytes, {}};
}

}  // namespace vornel
