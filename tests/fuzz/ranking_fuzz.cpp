// Fuzz target for the ranking file reader. Besides surviving any input, a
// table read from a file must come back unchanged from the 40 lines the
// writer makes of it, whenever every written field is one the name box
// would accept.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ranking/Ranking.h"

namespace {

bool AllStorable(const vornel::Ranking& r) {
  for (int level = 0; level < vornel::kSavedLevels; ++level) {
    for (int place = 0; place < vornel::kShownPlaces; ++place) {
      const vornel::RankEntry& e = r.at(level, place);
      for (const QString* f : {&e.Level, &e.Place, &e.Name, &e.Time, &e.Date}) {
        if (!vornel::IsStorableText(*f)) return false;
      }
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  vornel::Ranking first;
  vornel::ParseRanking(first, bytes);

  const QByteArray written = vornel::FormatRanking(first);
  if (written.count("\r\n") < vornel::kSavedLevels * vornel::kShownPlaces) std::abort();
  if (!AllStorable(first)) return 0;

  vornel::Ranking second;
  vornel::ParseRanking(second, written);
  for (int level = 0; level < vornel::kSavedLevels; ++level) {
    for (int place = 0; place < vornel::kShownPlaces; ++place) {
      const vornel::RankEntry& a = first.at(level, place);
      const vornel::RankEntry& b = second.at(level, place);
      // Entries without a level are skipped when read, so only their
      // emptiness carries over.
      if (a.Level.isEmpty() ? !b.Level.isEmpty() : !(a == b)) std::abort();
    }
  }
  if (vornel::FormatRanking(second) != written) std::abort();
  return 0;
}
