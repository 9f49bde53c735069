#include "play/Opening.h"

namespace vornel {

void OpenCell(Board& board, int x, int y) {
  if (x < 0 || x > 15 || y < 0 || y > 15) return;
  Grid& view = board.ViewGrid;
  const Cell hidden = board.MineGrid.at(x, y);
  if (!view.is(x, y, 'a') && hidden == 'a') {
    view.set(x, y, 'a');  // before the neighbours, so no cell is entered twice
    for (const auto& d : kNeighbours) {
      const int nx = x + d[0], ny = y + d[1];
      // Skip at once what the call would leave alone: off the board, or
      // already showing its content (bombs never are neighbours of an "a").
      if (Grid::onBoard(nx, ny) && view.at(nx, ny) != board.MineGrid.at(nx, ny))
        OpenCell(board, nx, ny);
    }
    return;
  }
  if (isCount(hidden) && view.at(x, y) != hidden) view.set(x, y, hidden);
}

}  // namespace vornel
