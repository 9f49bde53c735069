#pragma once
// The rule of one move: a mouse release at (X, Y) in pixels of the board's
// drawing area. The window redraws and runs the cleared test when a move was
// taken, and stops its clock when the move lost the game.

#include <cstdint>

#include "board/Board.h"

namespace vornel {

enum MouseButton : std::int16_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

struct MoveResult {
  bool taken = false;  // passed the guard: redraw and test for a clear
  bool lost = false;   // opened a bomb: board revealed, Playing is 0
};

// Column or row 0..16 of a pixel coordinate in 8..371: rounded half to even,
// then divided by 22 dropping the fraction.
std::int16_t CellFromPixel(float p);
// The pixel coordinate of the centre of column or row `cell`.
inline float CellCentre(int cell) { return 8.0F + 22.0F * static_cast<float>(cell) + 11.0F; }

MoveResult ApplyMove(Board& board, Flag& playing, std::int16_t button, float X, float Y);

}  // namespace vornel
