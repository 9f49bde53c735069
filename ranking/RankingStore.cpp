#include "ranking/RankingStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/sendfile.h>
#include <unistd.h>

#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <chrono>
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

// A symbolic link is followed to its target: the save decides on the folder
// where the bytes live, and replaces the target rather than the link.
QByteArray WhereBytesLive(QString path) {
  for (int hop = 0; hop < 40 && QFileInfo(path).isSymbolicLink(); ++hop) {
    path = QFileInfo(path).symLinkTarget();
  }
  return QFile::encodeName(path);
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

int CopyAll(int from, int to) {
  off_t offset = 0;
  for (;;) {
    const ssize_t n = ::sendfile(to, from, &offset, 1 << 20);
    if (n == 0) return 0;
    if (n < 0 && errno != EINTR) return errno;
  }
}

// The new name of a moved file is on disk only once its folder is.
int SyncFolder(const QByteArray& file) {
  const QByteArray folder =
      QFile::encodeName(QFileInfo(QFile::decodeName(file)).absolutePath());
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

// Writes a new file through `fill` beside `target`, checks that it is on
// disk, and moves it there: over the old file, whose owner, group and mode
// it takes (EPERM when it cannot), when `old` is given; else only where
// there is no file yet. 0 or the error; nothing is left behind on failure.
int WriteWhole(const QByteArray& target, const struct stat* old,
               const std::function<int(int)>& fill) {
  QByteArray temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    temp = target + ".new-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt == 100)) return errno;
  }
  int error = 0;
  if (old != nullptr &&
      (::fchown(fd, old->st_uid, old->st_gid) != 0 || ::fchmod(fd, old->st_mode & 07777) != 0))
    error = errno;
  if (error == 0) error = fill(fd);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0) {
    error = old == nullptr ? MoveToFreeName(temp, target)
                           : (::rename(temp.constData(), target.constData()) == 0 ? 0 : errno);
  }
  if (error != 0) {
    ::unlink(temp.constData());
    return error;
  }
  return SyncFolder(target);
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

std::optional<QByteArray> ReadHead(QFile& file) {
  // A size of 0 may only mean that the size is unknown.
  const qint64 size = file.size();
  const qint64 limit = kMaxFileBytes + 1;
  QByteArray data = file.read(size > 0 ? std::min(size + 1, limit) : limit);
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return data;
}

LockedFile::LockedFile(const QString& path) : path_(path), target_(WhereBytesLive(path)) {
  int error = OpenLocked();
  if (error == 0 && !made_) {
    QFile file;
    if (!file.open(fd_, QIODevice::ReadOnly, QFileDevice::DontCloseHandle) ||
        !(bytes_ = ReadHead(file)))
      error = EIO;
  }
  if (error != 0) failure_ = Say(path_, error);
}

LockedFile::~LockedFile() {
  if (fd_ >= 0) ::close(fd_);
}

// 0 with the file open and locked, the path still naming it; `made_` when
// there was no file and it was made here, empty.
int LockedFile::OpenLocked() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLockWaitMs);
  for (;;) {
    made_ = false;
    writable_ = true;
    fd_ = ::open(target_.constData(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0 && errno == ENOENT) {
      // Made empty and locked at once, so that the first save of another
      // game waits for this one instead of erasing it.
      fd_ = ::open(target_.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno == EEXIST) continue;
      made_ = fd_ >= 0;
    } else if (fd_ < 0 && (errno == EACCES || errno == EROFS)) {
      // A file the player may not write may still be replaced.
      writable_ = false;
      fd_ = ::open(target_.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    }
    if (fd_ < 0) return errno;
    struct stat named {};
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      if (::fstat(fd_, &stat_) != 0) return errno;
      if (!S_ISREG(stat_.st_mode)) return EISDIR;
      // The save of another game may have put a new file in its place.
      if (::stat(target_.constData(), &named) == 0 && named.st_dev == stat_.st_dev &&
          named.st_ino == stat_.st_ino)
        return 0;
    } else if (errno != EWOULDBLOCK) {
      return errno;
    } else if (std::chrono::steady_clock::now() >= deadline) {
      return EWOULDBLOCK;
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::close(fd_);
    fd_ = -1;
  }
}

SaveResult LockedFile::Write(const QByteArray& bytes, bool keepOld) {
  QString note;
  if (keepOld) {
    const QByteArray copy = target_ + ".bak";
    const QString copyName = QFile::decodeName(copy);
    const int error = WriteWhole(copy, nullptr, [this](int to) { return CopyAll(fd_, to); });
    const QString damaged = path_ + QStringLiteral("：最後まで読めないファイルです。");
    if (error == 0) {
      note = path_ + QStringLiteral(" は最後まで読めなかったため、元の内容を ") + copyName +
             QStringLiteral(" に残しました。");
    } else if (error == EEXIST) {
      // An earlier save made it; a copy of other bytes is never overwritten.
      QFile earlier(copyName);
      if (!earlier.open(QIODevice::ReadOnly) || ReadHead(earlier) != bytes_ ||
          bytes_->size() > kMaxFileBytes)
        return {false, damaged + QStringLiteral("前の控え ") + copyName +
                           QStringLiteral(" を移すまで上書きしません。")};
    } else {
      return {false, damaged + QStringLiteral("控えを作れないため上書きしません。\n") +
                         Say(copyName, error)};
    }
  }

  const auto fill = [&bytes](int to) { return WriteAll(to, bytes); };
  InPlace result{WriteWhole(target_, &stat_, fill)};
  // The folder takes no new file, the new file cannot be the old one's own,
  // or it cannot take the old one's place (a sticky folder): in place.
  if (writable_ && (result.error == EACCES || result.error == EPERM || result.error == EROFS))
    result = RewriteInPlace(fd_, bytes_.value_or(QByteArray()), bytes);

  QStringList message;
  if (result.error != 0) message << Say(path_, result.error);
  if (!result.restored)
    message << QStringLiteral("元の内容にも戻せず、ファイルが壊れているおそれがあります。");
  if (!note.isEmpty()) message << note;
  return {result.error == 0, message.join(u'\n')};
}

}  // namespace ranking_detail

RankingDisk LoadRanking(Ranking& ranking, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const std::optional<QByteArray> bytes = ranking_detail::ReadHead(file);
  if (bytes) ranking_detail::ParseRankingHead(ranking, *bytes);
  return {bytes, {}};
}

}  // namespace vornel
