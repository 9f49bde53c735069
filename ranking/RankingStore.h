#pragma once
// The ranking file on disk, written so that a failure keeps the old one;
// not part of the ranking's public interface.

#include <QByteArray>
#include <QString>
#include <optional>

namespace vornel::ranking_detail {

// Writes `bytes` to `path` through a file beside it that replaces the old
// one only when fully written; in a folder that takes no new file, over the
// old file itself, putting the old bytes back if the write fails. Returns
// the reason on failure; the old file is then as it was.
std::optional<QString> WriteFileSafely(const QString& path, const QByteArray& bytes);

}  // namespace vornel::ranking_detail
