#include "board/Board.h"

#include <atomic>
#include <chrono>
#include <cmath>

namespace vornel {

namespace {

// splitmix64: small, fast and well mixed even for neighbouring seeds.
std::uint64_t mix(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

Grid FilledGrid(Cell code) {
  Grid grid;
  for (int y = 0; y < kBoardSize; ++y)
    for (int x = 0; x < kBoardSize; ++x) grid.set(x, y, code);
  return grid;
}

}  // namespace

BombDraw::BombDraw(std::uint64_t seed) : state_(seed) {}

float BombDraw::next() {
  constexpr float kScale = 1.0F / 16777216.0F;  // 2^-24: exact in a float
  return static_cast<float>(mix(state_) >> 40) * kScale;
}

std::uint64_t ClockSeed() {
  static std::atomic<std::uint64_t> counter{0};
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  std::uint64_t state =
      static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
  state ^= counter.fetch_add(1) * 0xD1B54A32D192ED03ULL;
  return mix(state);
}

void NewGame(Board& board, int bombs, std::uint64_t seed) {
  board.ViewGrid = FilledGrid('b');
  board.MineGrid = FilledGrid('a');
  BombDraw draw(seed);
  PlaceBombs(board.MineGrid, bombs, draw);
  ComputeCounts(board.MineGrid);
}

void PlaceBombs(Grid& mine, int bombs, BombDraw& draw) {
  // More bombs than cells could never finish.
  std::int32_t toPlace = bombs < 0 ? 0 : (bombs > 256 ? 256 : bombs);
  while (toPlace != 0) {
    const auto n = static_cast<std::int32_t>(std::floor(draw.next() * 256.0F));
    const auto x = static_cast<std::int16_t>(n % 16);
    const auto y = static_cast<std::int16_t>(n / 16);
    if (mine.is(x, y, 'c')) continue;  // a duplicate costs one more draw
    mine.set(x, y, 'c');
    --toPlace;
  }
}

void ComputeCounts(Grid& mine) {
  for (int y = 0; y < kBoardSize; ++y)
    for (int x = 0; x < kBoardSize; ++x)
      if (mine.is(x, y, 'c'))
        for (const auto& d : kNeighbours) AddCount(mine, x + d[0], y + d[1]);
}

void AddCount(Grid& mine, int x, int y) {
  if (x < 0 || x > 15) return;
  if (y < 0 || y > 15) return;
  const Cell c = mine.at(x, y);
  if (c == 'c') return;
  if (c == 'a') {
    mine.set(x, y, '1');
  } else if (c >= '1' && c <= '7') {
    mine.set(x, y, static_cast<Cell>(c + 1));
  }
}

Flag CheckCleared(const Board& board) {
  for (int y = 0; y < kBoardSize; ++y)
    for (int x = 0; x < kBoardSize; ++x)
      if (board.MineGrid.is(x, y, 'c') && !board.ViewGrid.is(x, y, 'e')) return kFalse;
  return kTrue;
}

void RevealAll(Board& board) {
  for (int y = 0; y < kBoardSize; ++y)
    for (int x = 0; x < kBoardSize; ++x) board.ViewGrid.set(x, y, board.MineGrid.at(x, y));
}

}  // namespace vornel
