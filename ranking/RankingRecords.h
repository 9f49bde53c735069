#pragma once
// The records of the ranking file, read and written; not part of the
// ranking's public interface.

#include <QByteArrayView>
#include <QStringView>
#include <optional>

#include "ranking/Ranking.h"

namespace vornel::ranking_detail {

// A file larger than this is no ranking: only its head is read, and a
// record cut off by the limit counts as ending the file mid-record.
inline constexpr qsizetype kMaxFileBytes = 16 * 1024 * 1024;

// A level or place index: optional spaces, an optional sign and decimal
// digits, optional spaces; nullopt unless it names a value in [lo, hi].
std::optional<int> ParseIndex(QByteArrayView text, int lo, int hi);
std::optional<int> ParseIndex(QStringView text, int lo, int hi);

// ParseRanking on bytes that may be only the head of the file
// (`complete` false): then a record running into the end is not stored,
// and the file is not read to its end.
bool ParseRankingBytes(Ranking& ranking, QByteArrayView data, bool complete);
// ParseRanking on the head of a file as ReadHead gives it: up to one byte
// past kMaxFileBytes, that byte telling that the file goes on.
bool ParseRankingHead(Ranking& ranking, QByteArrayView head);

}  // namespace vornel::ranking_detail
