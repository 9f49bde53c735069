#include "play/Move.h"

#include <cmath>

#include "play/Opening.h"

namespace vornel {

std::int16_t CellFromPixel(float p) {
  // nearbyint follows the default rounding mode: halves go to even.
  const auto whole = static_cast<std::int32_t>(std::nearbyint(p - 8.0F));
  return static_cast<std::int16_t>(whole / 22);
}

MoveResult ApplyMove(Board& board, Flag& playing, std::int16_t button, float X, float Y) {
  if (playing != kTrue || !(X >= 8.0F && X <= 371.0F) || !(Y >= 8.0F && Y <= 371.0F)) return {};
  const std::int16_t col = CellFromPixel(X);
  const std::int16_t row = CellFromPixel(Y);
  MoveResult result{true, false};

  if (button == kLeftButton) {
    const Cell hidden = board.MineGrid.at(col, row);
    if (isCount(hidden)) {
      board.ViewGrid.set(col, row, hidden);
    } else if (hidden == 'a') {
      OpenCell(board, col, row);
    } else if (hidden == 'c') {
      board.MineGrid.set(col, row, 'f');
      RevealAll(board);
      playing = kFalse;
      result.lost = true;
    }
  } else if (button == kRightButton) {
    Grid& view = board.ViewGrid;
    if (view.is(col, row, 'b')) {
      view.set(col, row, 'e');
    } else if (view.is(col, row, 'e')) {
      view.set(col, row, 'd');
    } else if (view.is(col, row, 'd')) {
      view.set(col, row, 'b');
    }
  }
  return result;
}

}  // namespace vornel
