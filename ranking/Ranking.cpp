#include "ranking/Ranking.h"

#include <utility>

#include "ranking/RankingCodePage.h"
#include "ranking/RankingRecords.h"
#include "ranking/RankingStore.h"

namespace vornel {

using ranking_detail::ParseIndex;

std::int16_t GetLevel(const std::array<bool, 4>& checked) {
  std::int16_t level = 0;
  for (std::int16_t i = 0; i < 4; ++i) {
    if (checked[i]) level = i;
  }
  return level;
}

namespace {

struct ClockParts {
  QStringView hours;  // without leading zeros
  int minutes = 0, seconds = 0;
};

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

std::optional<int> TwoDigits(QStringView s) {
  if (s.size() != 2 || !IsDigit(s[0]) || !IsDigit(s[1])) return std::nullopt;
  const int v = (s[0].unicode() - u'0') * 10 + (s[1].unicode() - u'0');
  return v < 60 ? std::optional<int>(v) : std::nullopt;
}

// H:MM:SS with any number of hour digits, minutes and seconds below 60.
std::optional<ClockParts> ParseClock(QStringView t) {
  const qsizetype secondColon = t.lastIndexOf(u':');
  if (secondColon < 0) return std::nullopt;
  const qsizetype firstColon = t.first(secondColon).lastIndexOf(u':');
  if (firstColon < 1) return std::nullopt;
  QStringView hours = t.first(firstColon);
  for (const QChar c : hours) {
    if (!IsDigit(c)) return std::nullopt;
  }
  const auto minutes = TwoDigits(t.sliced(firstColon + 1, secondColon - firstColon - 1));
  const auto seconds = TwoDigits(t.sliced(secondColon + 1));
  if (!minutes || !seconds) return std::nullopt;
  while (hours.size() > 1 && hours.front() == u'0') hours = hours.sliced(1);
  return ClockParts{hours, *minutes, *seconds};
}

int Sign(qsizetype v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// Code unit by code unit; a proper prefix is the smaller.
int CompareCodeUnits(QStringView a, QStringView b) {
  const qsizetype n = std::min(a.size(), b.size());
  for (qsizetype i = 0; i < n; ++i) {
    if (a[i] != b[i]) return a[i].unicode() < b[i].unicode() ? -1 : 1;
  }
  return Sign(a.size() - b.size());
}

// The entry exchange of the insertion: the candidate, and then each entry
// it pushes down, takes the first place whose time is empty or slower.
bool TakesPlaceOf(const RankEntry& stored, const QString& time) {
  return stored.Time.isEmpty() || CompareTimes(stored.Time, time) > 0;
}

// Inserts `carry` into `level`: every place is compared with whatever is
// carried at the time, so an empty entry carried down displaces filled ones
// below a gap, and two equal times below the new entry change order; files
// rely on both. The entry carried past place 9 is dropped.
void Insert(Ranking& ranking, int level, RankEntry carry) {
  for (int place = 0; place < kShownPlaces; ++place) {
    RankEntry& slot = ranking.at(level, place);
    if (TakesPlaceOf(slot, carry.Time)) std::swap(slot, carry);
    slot.Place = QString::number(place);
  }
}

// The candidate as the file keeps it, so that the table shows what the next
// start reads back: the yen sign as a backslash, what the code page lacks
// as '?'.
RankEntry StoredEntry(const Candidate& c) {
  const auto stored = [](const QString& text) {
    return ranking_detail::DecodeText(ranking_detail::EncodeText(text));
  };
  return {stored(c.ResultLevel), QString(), stored(c.ResultName), stored(c.ResultTime),
          stored(c.ResultDate)};
}

// True when `level` already holds `e`: a save reported as failed may have
// reached the file all the same.
bool Holds(const Ranking& ranking, int level, const RankEntry& e) {
  for (int place = 0; place < kShownPlaces; ++place) {
    const RankEntry& s = ranking.at(level, place);
    if (s.Name == e.Name && s.Time == e.Time && s.Date == e.Date) return true;
  }
  return false;
}

}  // namespace

int CompareTimes(const QString& a, const QString& b) {
  const auto ca = ParseClock(a);
  const auto cb = ParseClock(b);
  if (!ca || !cb) return CompareCodeUnits(a, b);
  // Hours have no leading zeros left, so more digits means more hours.
  if (ca->hours.size() != cb->hours.size()) return Sign(ca->hours.size() - cb->hours.size());
  if (const int c = CompareCodeUnits(ca->hours, cb->hours); c != 0) return c;
  if (ca->minutes != cb->minutes) return Sign(ca->minutes - cb->minutes);
  return Sign(ca->seconds - cb->seconds);
}

bool CheckRankIn(const Ranking& ranking, const QString& levelText, const QString& timeText) {
  const auto level = ParseIndex(levelText, 0, kSavedLevels - 1);
  if (!level) return false;
  for (int place = 0; place < kShownPlaces; ++place) {
    if (TakesPlaceOf(ranking.at(*level, place), timeText)) return true;
  }
  return false;
}

SaveResult SaveRanking(Ranking& ranking, const Candidate& candidate, const QString& path,
                       RankingDisk& disk) {
  const auto level = ParseIndex(candidate.ResultLevel, 0, kSavedLevels - 1);
  if (!level) {
    return {false, QStringLiteral("レベル「%1」はありません。").arg(candidate.ResultLevel)};
  }
  if (!ranking_detail::CodecAvailable()) {
    return {false, QStringLiteral("Shift-JIS の変換表がないため、ランキングを書けません。")};
  }
  const RankEntry entry = StoredEntry(candidate);

  ranking_detail::LockedFile file(path);
  if (file.failure()) {
    Insert(ranking, *level, entry);
    disk.unsaved.push_back(entry);
    return {false, *file.failure()};
  }
  Ranking onDisk;
  const bool whole = !file.bytes() || ranking_detail::ParseRankingHead(onDisk, *file.bytes());
  if (file.bytes() != disk.bytes) {
    // Another game has written the file since this one read it: the entry
    // goes into what that game wrote, with those this game could not save.
    ranking = onDisk;
    for (const RankEntry& e : disk.unsaved) {
      const int at = *ParseIndex(e.Level, 0, kSavedLevels - 1);  // checked when it was made
      if (!Holds(ranking, at, e)) Insert(ranking, at, e);
    }
    disk.bytes = file.bytes();
  }
  Insert(ranking, *level, entry);
  const QByteArray bytes = FormatRanking(ranking);
  // A file that did not load to its end holds records the table lacks.
  SaveResult result = file.Write(bytes, !whole);
  if (result.saved) {
    disk = {bytes, {}};
  } else {
    disk.unsaved.push_back(entry);
  }
  // Only the times another game saved meanwhile can push it out.
  if (!Holds(ranking, *level, entry)) {
    if (!result.message.isEmpty()) result.message += u'\n';
    result.message += QStringLiteral("ほかのゲームで速い記録が先に登録されたため、この記録は10位までに入りませんでした。");
  }
  return result;
}

bool IsStorableText(const QString& text) {
  for (const QChar c : text) {
    // A quote would end the field early; control codes would break the line.
    if (c == u'"' || c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
  }
  return ranking_detail::Encodable(text);
}

}  // namespace vornel
