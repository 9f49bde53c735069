#pragma once
// The per-level top ten and its file "vornel.dat": Shift-JIS text, one
// record of five double-quoted fields per line, CR LF line ends.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vornel {

struct RankEntry {
  QString Level;  // "0".."3"; empty marks an empty place
  QString Place;  // "0".."9"
  QString Name;
  QString Time;   // clock text, H:MM:SS
  QString Date;   // "YYYY/MM/DD HH:MM:SS"
  // The file's own bytes for each field above whose text the code page
  // would write back as other bytes (codes it does not assign, a second
  // code for a character), so that a record the save leaves alone keeps
  // them; empty for all others.
  std::array<QByteArray, 5> fileBytes{};
  friend bool operator==(const RankEntry&, const RankEntry&) = default;
};

inline constexpr int kRankLevels = 5;  // row 4 is the loader's read buffer
inline constexpr int kRankPlaces = 11; // place 10 is never shown or written
inline constexpr int kShownPlaces = 10;
inline constexpr int kSavedLevels = 4;

struct Ranking {
  std::array<std::array<RankEntry, kRankPlaces>, kRankLevels> entries;
  RankEntry& at(int level, int place) { return entries[level][place]; }
  const RankEntry& at(int level, int place) const { return entries[level][place]; }
};

// The result of the game just cleared, waiting to be ranked.
struct Candidate {
  QString ResultLevel, ResultName, ResultTime, ResultDate;
};

inline constexpr const char* kRankingFile = "vornel.dat";

// What this game last read from or wrote to the file, so that a save can
// tell whether another game has written it since.
struct RankingDisk {
  std::optional<QByteArray> bytes;  // none: there was no file
  std::vector<RankEntry> unsaved;   // entries whose save failed, for the next one
};

// Reads the file into the table; stops silently at the first bad record and
// keeps what it read. A missing file leaves the table as it is. Each field is
// optional spaces and a quoted text, or a bare text without the spaces around
// it; commas and line ends (CR LF, CR or LF) separate fields alike. Level and
// place are decimal with optional spaces and sign, and must name 0-4 / 0-10.
// A record cut short by the end of the file is dropped; only the first 16 MiB
// of a file are read. Returns what it read, for the saves of this game.
RankingDisk LoadRanking(Ranking& ranking, const QString& path);
// The same on bytes already in memory. True when every record was read and
// nothing but spaces and line ends follows the last one.
bool ParseRanking(Ranking& ranking, const QByteArray& shiftJis);

// Index 0..3 of the checked level; the last checked wins, none gives 0.
std::int16_t GetLevel(const std::array<bool, 4>& checked);

// Orders two clear times: by duration when both are clock texts (H:MM:SS,
// any number of hour digits, minutes and seconds 00-59), else by plain UTF-16
// code unit order, the empty text first. Negative, zero or positive.
int CompareTimes(const QString& a, const QString& b);

// True when `timeText` enters the top ten of level `levelText`; false for a
// level text other than "0" to "3".
bool CheckRankIn(const Ranking& ranking, const QString& levelText, const QString& timeText);

// What a save tells the player, in Japanese, naming the file: why the file
// could not be written (`saved` false), or what was done besides (a copy
// kept of a file that did not load to its end).
struct SaveResult {
  bool saved = false;
  QString message;
};

// Inserts the candidate, as the file stores it, into its level and rewrites
// the file, holding a lock against other games. When another game has
// written the file since `disk`, the entry goes into what is on disk and the
// table takes that. The table takes the entry whether or not the file could
// be written; a level other than "0" to "3" changes nothing.
SaveResult SaveRanking(Ranking& ranking, const Candidate& candidate, const QString& path,
                       RankingDisk& disk);

// The 40 lines of the file, code page 932 with CR LF; a character the code
// page lacks is written as '?'. A field whose text is what was read from the
// file is written as the bytes read.
QByteArray FormatRanking(const Ranking& ranking);

// True when code page 932 can write `text` (the yen sign and the overline
// as 0x5C and 0x7E included) and the file format can keep it (no double
// quote, no control code). The name box accepts only such text.
bool IsStorableText(const QString& text);

}  // namespace vornel
