#pragma once
// Playing the board from the keyboard: a cursor on one cell, moved a cell
// at a time and stopping at the board's edges, and two keys that stand for
// the mouse's two releases on the cursor's cell. A key's move goes through
// the same rule as a release of the mouse at that cell's centre. One more
// key asks where the game stands, for a player who cannot see the board.

#include <cstdint>
#include <optional>

namespace vornel {

enum class BoardKey { Left, Right, Up, Down, Open, Mark, Status };

struct Cursor {
  int x = 0, y = 0;  // column and row, 0..15; a new game starts at 0, 0
  friend bool operator==(const Cursor&, const Cursor&) = default;
};

Cursor MoveCursor(Cursor cursor, BoardKey key);

// The release that Open (the left button) or Mark (the right button)
// stands for, at the centre of the cursor's cell in pixels of the board's
// drawing area; none for the arrows.
struct Release {
  std::int16_t button;
  float X, Y;
};
std::optional<Release> ReleaseFor(Cursor cursor, BoardKey key);

}  // namespace vornel
