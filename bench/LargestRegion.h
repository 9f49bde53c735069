#pragma once
// The board with the largest region there is: one bomb in the bottom-right
// corner, so a click at (0, 0) opens the other 255 cells.

#include "board/Board.h"

namespace vornel::bench {

inline Board LargestRegionBoard() {
  Board board;
  for (int y = 0; y < kBoardSize; ++y)
    for (int x = 0; x < kBoardSize; ++x) {
      board.MineGrid.set(x, y, 'a');
      board.ViewGrid.set(x, y, 'b');
    }
  board.MineGrid.set(15, 15, 'c');
  ComputeCounts(board.MineGrid);
  return board;
}

}  // namespace vornel::bench
