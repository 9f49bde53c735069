#pragma once
// Opening cells: a count shows, an empty cell opens its whole region with
// the ring of counted cells around it. Marks in the way are replaced.

#include "board/Board.h"

namespace vornel {

// Opens (x, y) in the view from the hidden board. Positions off the board
// are ignored; bombs are never touched.
void OpenCell(Board& board, int x, int y);

}  // namespace vornel
