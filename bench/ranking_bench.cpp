// Reading and writing a full ranking, and reading hostile input.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "ranking/Ranking.h"

namespace {

vornel::Ranking FullRanking() {
  vornel::Ranking r;
  const QString names[] = {QString::fromUtf8("山田 太郎"), QStringLiteral("Taro"),
                           QString::fromUtf8("ﾔﾏﾀﾞ"), QStringLiteral("a, b")};
  for (int level = 0; level < vornel::kSavedLevels; ++level) {
    for (int place = 0; place < vornel::kShownPlaces; ++place) {
      r.at(level, place) = {QString::number(level), QString::number(place), names[place % 4],
                            QStringLiteral("0:%1:07").arg(place + 10),
                            QStringLiteral("2024/05/01 10:20:30")};
    }
  }
  return r;
}

void BM_ParseRanking(benchmark::State& state) {
  const QByteArray bytes = vornel::FormatRanking(FullRanking());
  for (auto _ : state) {
    vornel::Ranking r;
    vornel::ParseRanking(r, bytes);
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ParseRanking);

void BM_LoadRanking(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QString::fromLatin1(vornel::kRankingFile));
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(vornel::FormatRanking(FullRanking())) < 0) {
    state.SkipWithError("cannot write the ranking file");
    return;
  }
  f.close();
  for (auto _ : state) {
    vornel::Ranking r;
    vornel::LoadRanking(r, path);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_LoadRanking);

void BM_SaveRanking(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QString::fromLatin1(vornel::kRankingFile));
  vornel::Ranking r = FullRanking();
  const vornel::Candidate c{QStringLiteral("1"), QString::fromUtf8("鈴木"), QStringLiteral("0:00:01"),
                            QStringLiteral("2024/06/01 09:00:00")};
  vornel::RankingDisk disk;
  for (auto _ : state) {
    if (!vornel::SaveRanking(r, c, path, disk).saved) {
      state.SkipWithError("save failed");
      return;
    }
  }
}
BENCHMARK(BM_SaveRanking);

void BM_FormatRanking(benchmark::State& state) {
  const vornel::Ranking r = FullRanking();
  for (auto _ : state) benchmark::DoNotOptimize(vornel::FormatRanking(r));
}
BENCHMARK(BM_FormatRanking);

// Megabytes of separators: the densest input in fields per byte.
void BM_ParseSeparators(benchmark::State& state) {
  const QByteArray bytes(state.range(0), ',');
  for (auto _ : state) {
    vornel::Ranking r;
    vornel::ParseRanking(r, bytes);
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ParseSeparators)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
