// The rules: a new board per level, the largest region, the cleared test.

#include <benchmark/benchmark.h>

#include "bench/LargestRegion.h"
#include "board/Board.h"
#include "board/Level.h"
#include "play/Opening.h"

namespace vornel {
namespace {

void BM_NewGame(benchmark::State& state) {
  const int bombs = kLevels[static_cast<std::size_t>(state.range(0))].bombs;
  std::uint64_t seed = 1;
  Board board;
  for (auto _ : state) {
    NewGame(board, bombs, ++seed);
    benchmark::DoNotOptimize(board);
  }
}
BENCHMARK(BM_NewGame)->DenseRange(0, 3)->ArgName("level");

// One bomb in a corner: a click opens 255 cells, the largest region there is.
void BM_OpenCellLargestRegion(benchmark::State& state) {
  const Board fresh = bench::LargestRegionBoard();
  Board board;
  for (auto _ : state) {
    board = fresh;
    OpenCell(board, 0, 0);
    benchmark::DoNotOptimize(board);
  }
}
BENCHMARK(BM_OpenCellLargestRegion);

// The worst case: every bomb marked, so the whole board is scanned.
void BM_CheckCleared(benchmark::State& state) {
  Board board;
  NewGame(board, 70, 7);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (board.MineGrid.is(x, y, 'c')) board.ViewGrid.set(x, y, 'e');
  for (auto _ : state) benchmark::DoNotOptimize(CheckCleared(board));
}
BENCHMARK(BM_CheckCleared);

}  // namespace
}  // namespace vornel
