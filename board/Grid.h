#pragma once
// A grid of one-character cell codes, subscripts 0..16 both ways.
// 0..15 is the 16 x 16 board; row and column 16 are an empty margin that a
// click on the frame strip can address without going out of bounds.

#include <array>
#include <cstdint>

namespace vornel {

using Cell = char;
inline constexpr Cell kEmpty = '\0';  // holds no code; equal to none
inline constexpr int kBoardSize = 16;
inline constexpr int kGridSize = kBoardSize + 1;

// Flags keep the game's 16-bit -1/0 convention.
using Flag = std::int16_t;
inline constexpr Flag kTrue = -1;
inline constexpr Flag kFalse = 0;

class Grid {
 public:
  // A fresh grid has every cell empty. Grids are replaced by a fresh one,
  // never cleared in place.
  Grid() { cells_.fill(kEmpty); }

  Cell at(int x, int y) const { return cells_[index(x, y)]; }
  void set(int x, int y, Cell code) { cells_[index(x, y)] = code; }
  bool is(int x, int y, Cell code) const { return code != kEmpty && at(x, y) == code; }

  static bool onBoard(int x, int y) { return x >= 0 && x < kBoardSize && y >= 0 && y < kBoardSize; }

  friend bool operator==(const Grid&, const Grid&) = default;

 private:
  static int index(int x, int y) { return y * kGridSize + x; }
  std::array<Cell, kGridSize * kGridSize> cells_;
};

// The eight neighbours in the order the game visits them: the row above
// left to right, then left and right, then the row below left to right.
inline constexpr int kNeighbours[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                          {1, 0},   {-1, 1}, {0, 1},  {1, 1}};

inline bool isCount(Cell c) { return c >= '1' && c <= '8'; }

}  // namespace vornel
