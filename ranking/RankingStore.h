#pragma once
// The ranking file on disk: read without waiting on anything that is not a
// regular file, and for a save locked against other games and written so
// that no failure loses it; not part of the ranking's public interface.

#include <sys/stat.h>

#include <QByteArray>
#include <QString>
#include <optional>

#include "ranking/Ranking.h"

namespace vornel::ranking_detail {

// How long a save waits for another game's save to end before it says that
// the file is in use; every retry of the save ends within it.
inline constexpr int kLockWaitMs = 3000;

// One save's hold on the file: where its bytes live (symbolic links are
// followed as the kernel follows them, and kept), locked against the saves
// of other games until destroyed, and read.
class LockedFile {
 public:
  explicit LockedFile(const QString& path);
  ~LockedFile();
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  // Why the file could not be opened, locked or read, or why it is no
  // ranking to rewrite; then nothing else.
  const std::optional<QString>& failure() const { return failure_; }
  // What the file holds (its head); none when there was no file.
  const std::optional<QByteArray>& bytes() const { return bytes_; }

  // Makes `bytes` the file's content: a new file replaces it once on disk,
  // or, where none can keep the file's owner, group, access list and mode or
  // take its place, or other names share the file, it is rewritten in
  // place. `keepOld`: a copy of the old bytes beside the file comes first,
  // and without one nothing is written.
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
