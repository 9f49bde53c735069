#include "ranking/RankingFile.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QResource>
#include <QSaveFile>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <utility>

#include "ranking/CodePage932.h"

namespace vornel {
namespace ranking_detail {
namespace {

using cp932::IsLeadByte;
using cp932::IsTrailByte;
using cp932::kUnmapped;

// The code page's tables, made from ICU when the program is built and
// embedded uncompressed: used in place, so reading and writing the file
// need neither ICU nor any set-up at run time.
struct Cp932Tables {
  bool valid = false;
  const char16_t* toUnicode = nullptr;
  const std::uint16_t* fromUnicode = nullptr;
};

const Cp932Tables& Tables() {
  static const Cp932Tables tables = [] {
    constexpr qint64 kBytes = cp932::kTableSize * 2;
    const QResource to(QStringLiteral(":/vornel/cp932/to_unicode"));
    const QResource from(QStringLiteral(":/vornel/cp932/from_unicode"));
    Cp932Tables t;
    if (to.size() == kBytes && from.size() == kBytes &&
        to.compressionAlgorithm() == QResource::NoCompression &&
        from.compressionAlgorithm() == QResource::NoCompression) {
      t.valid = true;
      t.toUnicode = reinterpret_cast<const char16_t*>(to.data());
      t.fromUnicode = reinterpret_cast<const std::uint16_t*>(from.data());
    }
    return t;
  }();
  return tables;
}

// The code of a character from 0x80 up; 0 when code page 932 has none.
std::uint16_t CodeOf(char16_t c) {
  // The yen and overline keys of a Japanese keyboard type these two on
  // Linux; the code page keeps them in the single bytes that its fonts draw
  // as those signs.
  if (c == u'\u00A5') return 0x5C;
  if (c == u'\u203E') return 0x7E;
  const Cp932Tables& t = Tables();
  return t.valid ? t.fromUnicode[c] : 0;
}

}  // namespace

bool CodecAvailable() { return Tables().valid; }

QByteArray EncodeText(QStringView text) {
  QByteArray out;
  out.reserve(text.size() * 2);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < 0x80) {
      out.append(static_cast<char>(c));
      continue;
    }
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    const std::uint16_t code = CodeOf(c);
    if (code == 0) {
      out.append('?');
    } else if (code > 0xFF) {
      out.append(static_cast<char>(code >> 8));
      out.append(static_cast<char>(code & 0xFF));
    } else {
      out.append(static_cast<char>(code));
    }
  }
  return out;
}

QString DecodeText(QByteArrayView bytes) {
  // Most fields are plain ASCII: no need for the code page's tables.
  if (std::all_of(bytes.begin(), bytes.end(), [](char b) { return (b & 0x80) == 0; }))
    return QString::fromLatin1(bytes);
  const Cp932Tables& t = Tables();
  const auto toUnicode = [&t](unsigned code) { return t.valid ? t.toUnicode[code] : kUnmapped; };
  QString out;
  out.reserve(bytes.size());
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype n = bytes.size();
  for (qsizetype i = 0; i < n; ++i) {
    const unsigned b = p[i];
    if (b < 0x80) {
      out.append(QChar(static_cast<char16_t>(b)));
    } else if (IsLeadByte(b) && i + 1 < n && IsTrailByte(p[i + 1])) {
      out.append(QChar(toUnicode(b << 8 | p[i + 1])));
      ++i;
    } else {
      out.append(QChar(toUnicode(b)));
    }
  }
  return out;
}

bool Encodable(QStringView text) {
  for (const QChar c : text) {
    if (c.unicode() >= 0x80 && CodeOf(c.unicode()) == 0) return false;
  }
  return true;
}

namespace {
template <typename Unit>
std::optional<int> ParseIndexUnits(const Unit* s, qsizetype n, int lo, int hi) {
  qsizetype i = 0;
  const auto at = [&](qsizetype k) { return static_cast<unsigned>(s[k]); };
  while (i < n && at(i) == ' ') ++i;
  bool negative = false;
  if (i < n && (at(i) == '+' || at(i) == '-')) negative = at(i++) == '-';
  const qsizetype firstDigit = i;
  long long value = 0;
  for (; i < n && at(i) >= '0' && at(i) <= '9'; ++i) {
    // Anything this long is out of range anyway; stop before it overflows.
    if (value < 1'000'000) value = value * 10 + (at(i) - '0');
  }
  if (i == firstDigit) return std::nullopt;
  while (i < n && at(i) == ' ') ++i;
  if (i != n) return std::nullopt;
  if (negative) value = -value;
  if (value < lo || value > hi) return std::nullopt;
  return static_cast<int>(value);
}
}  // namespace

std::optional<int> ParseIndex(QByteArrayView text, int lo, int hi) {
  return ParseIndexUnits(reinterpret_cast<const unsigned char*>(text.data()), text.size(), lo, hi);
}

std::optional<int> ParseIndex(QStringView text, int lo, int hi) {
  return ParseIndexUnits(text.utf16(), text.size(), lo, hi);
}

namespace {

bool IsSeparator(char c) { return c == ',' || c == '\r' || c == '\n'; }

const char* FindSeparator(const char* p, const char* end) {
  while (p != end && !IsSeparator(*p)) ++p;
  return p;
}

// A comma, or a line end: CR LF, a lone CR or a lone LF.
void SkipSeparator(const char*& p, const char* end) {
  if (p == end) return;
  if (*p == '\r' && p + 1 != end && p[1] == '\n') ++p;
  ++p;
}

enum class Field { Read, Missing };

// One field: optional spaces, then either a quoted text (the value ends at
// the next quote; the rest up to the separator is dropped) or a bare text up
// to the separator, spaces around it dropped. Then the separator itself.
Field ReadField(const char*& p, const char* end, bool complete, QByteArrayView& value) {
  while (p != end && *p == ' ') ++p;
  if (p == end) return Field::Missing;
  if (*p == '"') {
    const char* start = p + 1;
    const auto* close = static_cast<const char*>(std::memchr(start, '"', end - start));
    if (close == nullptr) {
      // An unclosed quote runs to the end of the file.
      if (!complete) return Field::Missing;
      value = QByteArrayView(start, end);
      p = end;
      return Field::Read;
    }
    value = QByteArrayView(start, close);
    p = FindSeparator(close + 1, end);
  } else {
    const char* stop = FindSeparator(p, end);
    const char* last = stop;
    while (last != p && last[-1] == ' ') --last;
    value = QByteArrayView(p, last);
    p = stop;
  }
  if (p == end && !complete) return Field::Missing;
  SkipSeparator(p, end);
  return Field::Read;
}

using RawEntry = std::array<QByteArrayView, 5>;

}  // namespace

void ParseRankingBytes(Ranking& ranking, QByteArrayView data, bool complete) {
  // Fields stay views into `data` until the end, so that a file of many
  // records costs no decoding beyond the entries finally kept.
  std::array<std::array<std::optional<RawEntry>, kRankPlaces>, kRankLevels> raw;
  // Each record is read into level 4, place 0 and copied from there.
  std::optional<RawEntry>& buffer = raw[kRankLevels - 1][0];

  const char* p = data.data();
  const char* end = p + data.size();
  while (p != end) {
    RawEntry record;
    bool whole = true;
    for (QByteArrayView& field : record) {
      if (ReadField(p, end, complete, field) == Field::Missing) {
        whole = false;
        break;
      }
    }
    // A record cut short by the end of the file is dropped whole.
    if (!whole) break;
    buffer = record;
    if (record[0].isEmpty()) continue;
    const auto level = ParseIndex(record[0], 0, kRankLevels - 1);
    if (!level) break;
    const auto place = ParseIndex(record[1], 0, kRankPlaces - 1);
    if (!place) break;
    raw[*level][*place] = record;
  }

  for (int level = 0; level < kRankLevels; ++level) {
    for (int place = 0; place < kRankPlaces; ++place) {
      const auto& r = raw[level][place];
      if (!r) continue;
      RankEntry& e = ranking.at(level, place);
      e.Level = DecodeText((*r)[0]);
      e.Place = DecodeText((*r)[1]);
      e.Name = DecodeText((*r)[2]);
      e.Time = DecodeText((*r)[3]);
      e.Date = DecodeText((*r)[4]);
    }
  }
}

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

void ParseRanking(Ranking& ranking, const QByteArray& shiftJis) {
  ranking_detail::ParseRankingBytes(ranking, shiftJis, true);
}

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

QByteArray FormatRanking(const Ranking& ranking) {
  QByteArray out;
  out.reserve(kSavedLevels * kShownPlaces * 64);
  for (int level = 0; level < kSavedLevels; ++level) {
    for (int place = 0; place < kShownPlaces; ++place) {
      const RankEntry& e = ranking.at(level, place);
      bool first = true;
      for (const QString* field : {&e.Level, &e.Place, &e.Name, &e.Time, &e.Date}) {
        if (!first) out.append(',');
        first = false;
        out.append('"');
        out.append(ranking_detail::EncodeText(*field));
        out.append('"');
      }
      out.append("\r\n");
    }
  }
  return out;
}

}  // namespace vornel
