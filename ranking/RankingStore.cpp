#include "ranking/RankingStore.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

#include "ranking/RankingRecords.h"

namespace vornel {
namespace ranking_detail {
namespace {

// Rewrites the file itself, for a folder where no file can be made beside
// it. The old bytes are kept and put back if the new ones cannot all be
// written; they fit, since they lie where the file already was.
std::optional<QString> RewriteInPlace(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  const auto failure = [&] { return QStringLiteral("%1: %2").arg(path, file.errorString()); };
  // Unbuffered: a write that fails must leave nothing queued for the next.
  if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) return failure();
  const QByteArray old = file.readAll();
  if (file.error() != QFileDevice::NoError) return failure();
  const auto put = [&file](const QByteArray& content) {
    return file.seek(0) && file.write(content) == content.size() && file.flush() &&
           file.resize(content.size()) && ::fsync(file.handle()) == 0;
  };
  if (put(bytes)) return std::nullopt;
  const QString reason = failure();
  file.unsetError();
  put(old);
  return reason;
}

}  // namespace

std::optional<QString> WriteFileSafely(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  const auto failure = [&] { return QStringLiteral("%1: %2").arg(path, file.errorString()); };
  if (!file.open(QIODevice::WriteOnly)) {
    // A file the player may write in a folder the player may not: the game
    // has always rewritten it in place, so it still does.
    const QFileInfo info(path);
    if (info.isFile() && info.isWritable() && !QFileInfo(info.absolutePath()).isWritable())
      return RewriteInPlace(path, bytes);
    return failure();
  }
  // commit() does not notice a failed flush of the buffer (a full disk, a
  // size limit) and would put a cut file in place; flush and check first.
  if (file.write(bytes) != bytes.size() || !file.flush()) {
    const QString reason = failure();
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) return failure();
  return std::nullopt;
}

}  // namespace ranking_detail

void LoadRanking(Ranking& ranking, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;
  // One byte past the limit tells whether the file goes on. A size of 0 may
  // only mean that the size is unknown.
  const qint64 size = file.size();
  const qint64 limit = ranking_detail::kMaxFileBytes + 1;
  const QByteArray data = file.read(size > 0 ? std::min(size + 1, limit) : limit);
  const bool complete = data.size() <= ranking_detail::kMaxFileBytes;
  ranking_detail::ParseRankingBytes(
      ranking, QByteArrayView(data).first(std::min(data.size(), ranking_detail::kMaxFileBytes)),
      complete);
}

}  // namespace vornel
