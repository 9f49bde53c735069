#pragma once
// Helpers shared by the table operations and the file routines of the
// ranking; not part of its public interface.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

#include "ranking/Ranking.h"

namespace vornel::ranking_detail {

// A file larger than this is no ranking: only its head is read, and a
// record cut off by the limit counts as ending the file mid-record.
inline constexpr qsizetype kMaxFileBytes = 16 * 1024 * 1024;

// Code page 932 (Windows Shift-JIS). ICU knows it as "windows-31j".
inline constexpr const char* kCodecName = "windows-31j";
bool CodecAvailable();

// Code page 932 bytes of `text`; characters it cannot hold become '?',
// as the Windows conversion with its default character does. The yen sign
// and the overline are written as the bytes 0x5C and 0x7E.
QByteArray EncodeText(QStringView text);
QString DecodeText(QByteArrayView bytes);
// True when EncodeText writes `text` with no '?' stand-ins.
bool Encodable(QStringView text);

// A level or place index: optional spaces, an optional sign and decimal
// digits, optional spaces; nullopt unless it names a value in [lo, hi].
std::optional<int> ParseIndex(QByteArrayView text, int lo, int hi);
std::optional<int> ParseIndex(QStringView text, int lo, int hi);

// ParseRanking on bytes that may be only the head of the file
// (`complete` false): then a record running into the end is not stored.
void ParseRankingBytes(Ranking& ranking, QByteArrayView data, bool complete);

// Writes `bytes` to `path` through a file beside it that replaces the old
// one only when fully written; in a folder that takes no new file, over the
// old file itself, putting the old bytes back if the write fails. Returns
// the reason on failure; the old file is then as it was.
std::optional<QString> WriteFileSafely(const QString& path, const QByteArray& bytes);

}  // namespace vornel::ranking_detail
