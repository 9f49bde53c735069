#pragma once
// The ranking file on disk: read, and for a save locked against other games
// and written so that no failure loses it; not part of the ranking's public
// interface.

#include <sys/stat.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>

#include "ranking/Ranking.h"

namespace vornel::ranking_detail {

// How long a save waits for another game's save to end before it says that
// the file is in use.
inline constexpr int kLockWaitMs = 3000;

// The head of an open file: up to one byte past kMaxFileBytes, which tells
// that the file goes on. None when it cannot be read.
std::optional<QByteArray> ReadHead(QFile& file);

// One save's hold on the file: where its bytes live (a symbolic link is
// followed, and kept), locked against the saves of other games until
// destroyed, and read.
class LockedFile {
 public:
  explicit LockedFile(const QString& path);
  ~LockedFile();
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  // Why the file could not be opened, locked or read; then nothing else.
  const std::optional<QString>& failure() const { return failure_; }
  // What the file holds (its head); none when there was no file.
  const std::optional<QByteArray>& bytes() const { return bytes_; }

  // Makes `bytes` the file's content: a new file replaces it once on disk,
  // or, where none can keep the file's owner, group and mode or take its
  // place, the file is rewritten in place. `keepOld`: a copy of the old
  // bytes beside the file comes first, and without one nothing is written.
  SaveResult Write(const QByteArray& bytes, bool keepOld);

 private:
  int OpenLocked();

  QString path_;       // as the player knows it, for messages
  QByteArray target_;  // where the bytes live
  int fd_ = -1;
  bool writable_ = false;
  bool made_ = false;
  struct stat stat_ {};
  std::optional<QByteArray> bytes_;
  std::optional<QString> failure_;
};

}  // namespace vornel::ranking_detail
