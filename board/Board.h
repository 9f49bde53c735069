#pragma once
// The board of one game: what the player sees and what lies hidden, and the
// operations of the minefield. Nothing here draws; callers redraw afterwards.

#include <cstdint>

#include "board/Grid.h"

namespace vornel {

struct Board {
  Grid ViewGrid;  // b/e/d covered, a/1..8 open, c/f after a loss
  Grid MineGrid;  // a/1..8 safe, c bomb, f the bomb that was opened
};

// Draws cell numbers 0..255 uniformly. Seeded once per new game.
class BombDraw {
 public:
  explicit BombDraw(std::uint64_t seed);
  // A value r with 0 <= r < 1 in single precision, made from 24 random bits
  // so that floor(r * 256) can never reach 256.
  float next();

 private:
  std::uint64_t state_;
};

// A seed that differs for every call, even for games started in the same
// second: the clock in nanoseconds mixed with a per-process counter.
std::uint64_t ClockSeed();

// Replaces both grids: every board cell covered ("b") and hidden "a", then
// places `bombs` bombs and computes the counts.
void NewGame(Board& board, int bombs, std::uint64_t seed);
void PlaceBombs(Grid& mine, int bombs, BombDraw& draw);
void ComputeCounts(Grid& mine);
void AddCount(Grid& mine, int x, int y);

// kTrue when every bomb ("c" in the mine grid) carries the mark "e".
Flag CheckCleared(const Board& board);

// Copies the hidden board into the view (the margin stays empty).
void RevealAll(Board& board);

}  // namespace vornel
