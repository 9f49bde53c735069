// Drawing the board and a whole move, each against its floor in the same
// run; the ratios are printed at the end.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "bench/LargestRegion.h"
#include "board/Board.h"
#include "render/ScreenBox.h"

namespace vornel {
namespace {

frmMain* gWindow = nullptr;

// The pixels DrawBoard moves, copied with plain row memcpy: the background,
// 256 tiles and the finished picture.
void BM_RowMemcpyFloor(benchmark::State& state) {
  constexpr int kSide = 368;
  std::vector<std::uint32_t> sheet(kSide * kSide, 0x555555), bg(sheet), work(sheet), screen(sheet);
  for (auto _ : state) {
    for (int r = 0; r < kSide; ++r)
      std::memcpy(&work[r * kSide], &bg[r * kSide], kSide * 4);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        for (int r = 0; r < 22; ++r)
          std::memcpy(&work[(8 + 22 * y + r) * kSide + 8 + 22 * x], &sheet[(8 + r) * kSide + 8], 22 * 4);
    for (int r = 0; r < kSide; ++r)
      std::memcpy(&screen[r * kSide], &work[r * kSide], kSide * 4);
    benchmark::DoNotOptimize(screen.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RowMemcpyFloor);

Board CoveredBoard(int bombs) {
  Board b;
  NewGame(b, bombs, 11);
  return b;
}

void BM_DrawBoard(benchmark::State& state) {
  gWindow->state().board = CoveredBoard(30);
  for (auto _ : state) gWindow->DrawBoard();
}
BENCHMARK(BM_DrawBoard);

// A left click that opens the largest region (one bomb in a corner),
// through to the visible board repainted.
void BM_WholeMove(benchmark::State& state) {
  const Board fresh = bench::LargestRegionBoard();
  for (auto _ : state) {
    state.PauseTiming();
    gWindow->state().board = fresh;
    gWindow->state().Playing = kTrue;
    state.ResumeTiming();
    gWindow->picScreen_MouseUp(1, 0, 19.0F, 19.0F);
    gWindow->picScreen()->repaint();
  }
}
BENCHMARK(BM_WholeMove);

// Keeps each benchmark's time per iteration so the ratios can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto ratio = [&](const char* a, const char* b) {
      return times_.count(a) && times_.count(b) && times_[b] > 0 ? times_[a] / times_[b] : 0.0;
    };
    std::printf("\nDrawBoard / row memcpy floor: %.2fx (goal <= 1.5x)\n",
                ratio("BM_DrawBoard", "BM_RowMemcpyFloor"));
    std::printf("whole move / DrawBoard:       %.2fx\n", ratio("BM_WholeMove", "BM_DrawBoard"));
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace
}  // namespace vornel

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  vornel::MainDependencies deps;
  deps.rankingPath = QStringLiteral("/nonexistent/vornel.dat");
  auto window = std::make_unique<vornel::frmMain>(deps);
  window->show();
  QApplication::processEvents();
  vornel::gWindow = window.get();
  benchmark::Initialize(&argc, argv);
  vornel::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
