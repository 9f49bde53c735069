#include "ranking/RankingFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <utility>

namespace vornel {
namespace ranking_detail {
namespace {

constexpr char16_t kUnmapped = 0xFFFD;

bool IsLeadByte(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Code page 932 in both directions, taken once from ICU. ASCII is kept out of
// ICU's hands: its table for this code page swaps the control codes 0x1A,
// 0x1C and 0x7F, which Windows leaves as they are.
struct Cp932Tables {
  bool valid = false;
  // Bytes 0x00-0xFF alone, or lead << 8 | trail; kUnmapped where nothing.
  std::array<char16_t, 0x10000> toUnicode{};
  // One byte (0x00XX) or lead << 8 | trail; 0 where the code page has none.
  std::array<std::uint16_t, 0x10000> fromUnicode{};
};

std::unique_ptr<Cp932Tables> BuildTables() {
  auto t = std::make_unique<Cp932Tables>();
  t->toUnicode.fill(kUnmapped);
  for (unsigned b = 0; b < 0x80; ++b) t->toUnicode[b] = static_cast<char16_t>(b);

  QStringDecoder decoder(kCodecName);
  QStringEncoder encoder(kCodecName);
  if (!decoder.isValid() || !encoder.isValid()) return t;
  t->valid = true;

  const auto learn = [&](std::uint16_t code, QByteArrayView bytes) {
    const QString u = decoder.decode(bytes);
    // ICU puts a control code or U+FFFD where it has no mapping; no real
    // mapping of a byte from 0x80 up gives either.
    if (u.size() != 1 || u.front().unicode() < 0x80 || u.front().unicode() == kUnmapped) return;
    t->toUnicode[code] = u.front().unicode();
  };
  for (unsigned b = 0x80; b <= 0xFF; ++b) {
    if (IsLeadByte(b)) continue;
    const char one = static_cast<char>(b);
    learn(static_cast<std::uint16_t>(b), QByteArrayView(&one, 1));
  }
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(lead)) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (!IsTrailByte(trail)) continue;
      const char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      learn(static_cast<std::uint16_t>(lead << 8 | trail), QByteArrayView(two, 2));
    }
  }

  // Single bytes that Windows maps and ICU does not.
  const std::pair<std::uint16_t, char16_t> windowsOnly[] = {
      {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};
  for (const auto& [code, c] : windowsOnly) {
    if (t->toUnicode[code] == kUnmapped) t->toUnicode[code] = c;
  }

  // Several codes share some characters; the encoder knows which one
  // Windows writes. Its answer is taken only when it reads back as the same
  // character, which also keeps out its substitution bytes.
  for (unsigned code = 0x80; code <= 0xFFFF; ++code) {
    const char16_t c = t->toUnicode[code];
    if (c == kUnmapped || t->fromUnicode[c] != 0) continue;
    const QByteArray back = encoder.encode(QStringView(&c, 1));
    std::uint16_t written = 0;
    if (back.size() == 1) {
      written = static_cast<std::uint8_t>(back[0]);
    } else if (back.size() == 2) {
      written = static_cast<std::uint16_t>(static_cast<std::uint8_t>(back[0]) << 8 |
                                           static_cast<std::uint8_t>(back[1]));
    }
    t->fromUnicode[c] = (written >= 0x80 && t->toUnicode[written] == c)
                            ? written
                            : static_cast<std::uint16_t>(code);
  }
  return t;
}

const Cp932Tables& Tables() {
  static const std::unique_ptr<Cp932Tables> tables = BuildTables();
  return *tables;
}

// The code of a character from 0x80 up; 0 when code page 932 has none.
std::uint16_t CodeOf(char16_t c) { return Tables().fromUnicode[c]; }

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
  QString out;
  out.reserve(bytes.size());
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype n = bytes.size();
  for (qsizetype i = 0; i < n; ++i) {
    const unsigned b = p[i];
    if (b < 0x80) {
      out.append(QChar(static_cast<char16_t>(b)));
    } else if (IsLeadByte(b) && i + 1 < n && IsTrailByte(p[i + 1])) {
      out.append(QChar(t.toUnicode[b << 8 | p[i + 1]]));
      ++i;
    } else {
      out.append(QChar(t.toUnicode[b]));
    }
  }
  return out;
}

bool RoundTrips(QStringView text) {
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

std::optional<QString> WriteFileSafely(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  const auto failure = [&] { return QStringLiteral("%1: %2").arg(path, file.errorString()); };
  if (!file.open(QIODevice::WriteOnly)) return failure();
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
