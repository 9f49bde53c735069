#include "ranking/RankingRecords.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "ranking/RankingCodePage.h"

namespace vornel {
namespace ranking_detail {
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

// The five fields of an entry in file order.
template <typename Entry>
auto Fields(Entry& e) {
  return std::array{&e.Level, &e.Place, &e.Name, &e.Time, &e.Date};
}

}  // namespace

bool ParseRankingBytes(Ranking& ranking, QByteArrayView data, bool complete) {
  // Fields stay views into `data` until the end, so that a file of many
  // records costs no decoding beyond the entries finally kept.
  std::array<std::array<std::optional<RawEntry>, kRankPlaces>, kRankLevels> raw;
  // Each record is read into level 4, place 0 and copied from there.
  std::optional<RawEntry>& buffer = raw[kRankLevels - 1][0];

  const char* p = data.data();
  const char* end = p + data.size();
  const char* stop = end;  // where the load ended
  while (p != end) {
    const char* const start = p;
    RawEntry record;
    bool whole = true;
    for (QByteArrayView& field : record) {
      if (ReadField(p, end, complete, field) == Field::Missing) {
        whole = false;
        break;
      }
    }
    // A record cut short by the end of the file is dropped whole.
    if (!whole) {
      stop = start;
      break;
    }
    buffer = record;
    if (record[0].isEmpty()) continue;
    const auto level = ParseIndex(record[0], 0, kRankLevels - 1);
    const auto place = level ? ParseIndex(record[1], 0, kRankPlaces - 1) : std::nullopt;
    if (!place) {
      stop = start;
      break;
    }
    raw[*level][*place] = record;
  }

  for (int level = 0; level < kRankLevels; ++level) {
    for (int place = 0; place < kRankPlaces; ++place) {
      const auto& r = raw[level][place];
      if (!r) continue;
      RankEntry& e = ranking.at(level, place);
      const auto fields = Fields(e);
      for (std::size_t f = 0; f < fields.size(); ++f) {
        *fields[f] = DecodeText((*r)[f]);
        const bool same = IsAscii((*r)[f]) || EncodeText(*fields[f]) == (*r)[f];
        e.fileBytes[f] = same ? QByteArray() : (*r)[f].toByteArray();
      }
    }
  }
  // Blank space after the last record holds nothing that was left unread.
  return complete &&
         std::all_of(stop, end, [](char c) { return c == ' ' || c == '\r' || c == '\n'; });
}

bool ParseRankingHead(Ranking& ranking, QByteArrayView head) {
  return ParseRankingBytes(ranking, head.first(std::min(head.size(), kMaxFileBytes)),
                           head.size() <= kMaxFileBytes);
}

}  // namespace ranking_detail

bool ParseRanking(Ranking& ranking, const QByteArray& shiftJis) {
  return ranking_detail::ParseRankingBytes(ranking, shiftJis, true);
}

QByteArray FormatRanking(const Ranking& ranking) {
  QByteArray out;
  out.reserve(kSavedLevels * kShownPlaces * 64);
  for (int level = 0; level < kSavedLevels; ++level) {
    for (int place = 0; place < kShownPlaces; ++place) {
      const RankEntry& e = ranking.at(level, place);
      const auto fields = ranking_detail::Fields(e);
      for (std::size_t f = 0; f < fields.size(); ++f) {
        if (f > 0) out.append(',');
        out.append('"');
        const QByteArray& read = e.fileBytes[f];
        out.append(!read.isEmpty() && ranking_detail::DecodeText(read) == *fields[f]
                       ? read
                       : ranking_detail::EncodeText(*fields[f]));
        out.append('"');
      }
      out.append("\r\n");
    }
  }
  return out;
}

}  // namespace vornel
