#pragma once
// Boards made to order for the rules' tests, and the margin's check.

#include <utility>
#include <vector>

#include "board/Board.h"

namespace vornel::test {

// True when row and column 16 of `g` hold no code.
inline bool MarginEmpty(const Grid& g) {
  for (int i = 0; i < kGridSize; ++i)
    if (g.at(16, i) != kEmpty || g.at(i, 16) != kEmpty) return false;
  return true;
}

// A mine grid with bombs at the given cells and every other cell "a".
inline Board BoardWithBombs(const std::vector<std::pair<int, int>>& bombs) {
  Board b;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      b.MineGrid.set(x, y, 'a');
      b.ViewGrid.set(x, y, 'b');
    }
  for (auto [x, y] : bombs) b.MineGrid.set(x, y, 'c');
  ComputeCounts(b.MineGrid);
  return b;
}

}  // namespace vornel::test
