// Opening a cell: counts, regions, marks inside them, and the edges.

#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <vector>

#include "board/Board.h"
#include "play/Opening.h"
#include "tests/board/BoardTestUtil.h"

namespace vornel {
namespace {

using namespace test;

TEST(OpenCell, HighestCountOpensLikeAnyOther) {
  // (5,5) surrounded by eight bombs.
  Board b = BoardWithBombs({{4, 4}, {5, 4}, {6, 4}, {4, 5}, {6, 5}, {4, 6}, {5, 6}, {6, 6}});
  OpenCell(b, 5, 5);
  EXPECT_EQ(b.ViewGrid.at(5, 5), '8');
}

// The cells a region should open: connected empties and their neighbours.
std::set<std::pair<int, int>> ExpectedRegion(const Grid& mine, int sx, int sy) {
  std::set<std::pair<int, int>> seen{{sx, sy}};
  std::deque<std::pair<int, int>> todo{{sx, sy}};
  while (!todo.empty()) {
    auto [x, y] = todo.front();
    todo.pop_front();
    if (!mine.is(x, y, 'a')) continue;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (Grid::onBoard(x + dx, y + dy) && seen.insert({x + dx, y + dy}).second)
          todo.push_back({x + dx, y + dy});
  }
  return seen;
}

TEST(OpenCell, OpensExactlyTheRegionOnRandomBoards) {
  for (std::uint64_t seed = 0; seed < 200; ++seed) {
    Board b;
    NewGame(b, 20, seed);
    for (int n = 0; n < 256; ++n) {
      if (!b.MineGrid.is(n % 16, n / 16, 'a')) continue;
      Board open = b;
      open.ViewGrid.set(3, 3, 'e');  // marks inside a region are replaced
      OpenCell(open, n % 16, n / 16);
      const auto region = ExpectedRegion(b.MineGrid, n % 16, n / 16);
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
          const bool inside = region.count({x, y}) != 0;
          const Cell before = (x == 3 && y == 3) ? 'e' : 'b';
          ASSERT_EQ(open.ViewGrid.at(x, y), inside ? b.MineGrid.at(x, y) : before)
              << "seed " << seed << " start " << n << " cell " << x << "," << y;
        }
      ASSERT_TRUE(MarginEmpty(open.ViewGrid));
      break;
    }
  }
}

TEST(OpenCell, CornerAndEdgesStopAtCounts) {
  // Bombs along column 3 fence the top-left corner off.
  Board b = BoardWithBombs({{3, 0}, {3, 1}, {3, 2}, {3, 3}, {2, 3}, {1, 3}, {0, 3}});
  OpenCell(b, 0, 0);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool inside = x < 3 && y < 3;
      EXPECT_EQ(b.ViewGrid.at(x, y), inside ? b.MineGrid.at(x, y) : 'b') << x << "," << y;
    }
  EXPECT_EQ(b.ViewGrid.at(0, 0), 'a');
  EXPECT_EQ(b.ViewGrid.at(2, 2), '5');
}

TEST(OpenCell, SingleEmptyCellOpensItsRingOnly) {
  // (5,5) is the one empty cell: bombs ring it at distance two.
  std::vector<std::pair<int, int>> ring;
  for (int i = 3; i <= 7; ++i) ring.insert(ring.end(), {{i, 3}, {i, 7}, {3, i}, {7, i}});
  Board b = BoardWithBombs(ring);
  b.ViewGrid.set(4, 4, 'd');
  b.ViewGrid.set(3, 3, 'e');  // a marked bomb keeps its mark
  OpenCell(b, 5, 5);
  int opened = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) opened += b.ViewGrid.at(x, y) != 'b';
  EXPECT_EQ(opened, 9 + 1);  // the cell, its eight counted neighbours, the marked bomb
  EXPECT_EQ(b.ViewGrid.at(4, 4), b.MineGrid.at(4, 4));
  EXPECT_EQ(b.ViewGrid.at(3, 3), 'e');

  // An opened or counted cell visits nothing further.
  Board again = b;
  OpenCell(again, 5, 5);
  OpenCell(again, 4, 5);
  OpenCell(again, 40, -2);
  EXPECT_EQ(again.ViewGrid, b.ViewGrid);
}

}  // namespace
}  // namespace vornel
