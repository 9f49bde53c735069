// New boards, counts, opening, the cleared test and the reveal.

#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <vector>

#include "board/Board.h"
#include "board/Level.h"
#include "board/Title.h"
#include "play/Opening.h"

namespace vornel {
namespace {

int CountCode(const Grid& g, Cell code) {
  int n = 0;
  for (int y = 0; y < kGridSize; ++y)
    for (int x = 0; x < kGridSize; ++x) n += g.is(x, y, code) ? 1 : 0;
  return n;
}

bool MarginEmpty(const Grid& g) {
  for (int i = 0; i < kGridSize; ++i)
    if (g.at(16, i) != kEmpty || g.at(i, 16) != kEmpty) return false;
  return true;
}

// A mine grid with bombs at the given cells and every other cell "a".
Board BoardWithBombs(const std::vector<std::pair<int, int>>& bombs) {
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

TEST(NewGame, EveryLevelPlacesItsBombsAndTrueCounts) {
  for (const LevelInfo& level : kLevels) {
    for (std::uint64_t seed = 1; seed <= 300; ++seed) {
      Board b;
      NewGame(b, level.bombs, seed * 7919);
      ASSERT_EQ(CountCode(b.MineGrid, 'c'), level.bombs);
      ASSERT_EQ(CountCode(b.ViewGrid, 'b'), 256);
      ASSERT_TRUE(MarginEmpty(b.MineGrid) && MarginEmpty(b.ViewGrid));
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
          if (b.MineGrid.is(x, y, 'c')) continue;
          int around = 0;
          for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
              around += Grid::onBoard(x + dx, y + dy) && b.MineGrid.is(x + dx, y + dy, 'c');
          const Cell expected = around == 0 ? 'a' : static_cast<Cell>('0' + around);
          ASSERT_EQ(b.MineGrid.at(x, y), expected) << "seed " << seed << " at " << x << "," << y;
        }
    }
  }
}

TEST(NewGame, EveryCellCornersIncludedGetsBombsEvenly) {
  std::array<int, 256> hits{};
  constexpr int kGames = 4000;
  for (int g = 0; g < kGames; ++g) {
    Board b;
    NewGame(b, 30, static_cast<std::uint64_t>(g));
    for (int n = 0; n < 256; ++n) hits[n] += b.MineGrid.is(n % 16, n / 16, 'c');
  }
  const double expected = kGames * 30.0 / 256.0;  // about 469
  for (int n = 0; n < 256; ++n) {
    EXPECT_GT(hits[n], expected * 0.8) << "cell " << n;
    EXPECT_LT(hits[n], expected * 1.2) << "cell " << n;
  }
}

TEST(NewGame, DrawsStayBelowOneAndSeedsDiffer) {
  BombDraw draw(0xFFFFFFFFFFFFFFFFULL);
  for (int i = 0; i < 200000; ++i) {
    const float r = draw.next();
    ASSERT_GE(r, 0.0F);
    ASSERT_LT(static_cast<int>(r * 256.0F), 256);
  }
  // Two games started in the same instant still differ.
  Board a, b;
  NewGame(a, 30, ClockSeed());
  NewGame(b, 30, ClockSeed());
  EXPECT_NE(a.MineGrid, b.MineGrid);
}

TEST(AddCount, CountsNeighboursAndLeavesBombsAlone) {
  // (5,5) surrounded by eight bombs; corner (0,0) next to three.
  Board b = BoardWithBombs(
      {{4, 4}, {5, 4}, {6, 4}, {4, 5}, {6, 5}, {4, 6}, {5, 6}, {6, 6}, {1, 0}, {0, 1}, {1, 1}});
  EXPECT_EQ(b.MineGrid.at(5, 5), '8');
  EXPECT_EQ(b.MineGrid.at(0, 0), '3');
  EXPECT_EQ(b.MineGrid.at(4, 4), 'c');
  OpenCell(b, 5, 5);  // the highest count opens like any other
  EXPECT_EQ(b.ViewGrid.at(5, 5), '8');
  AddCount(b.MineGrid, -1, 3);
  AddCount(b.MineGrid, 16, 3);
  AddCount(b.MineGrid, 3, 16);
  EXPECT_TRUE(MarginEmpty(b.MineGrid));
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

TEST(CheckCleared, OnlyBombMarksCount) {
  const std::vector<std::pair<int, int>> bombs{{0, 0}, {15, 15}, {7, 8}};
  Board b = BoardWithBombs(bombs);
  EXPECT_EQ(CheckCleared(b), kFalse);
  // Every safe cell opened, one bomb (corners too) queried: not cleared.
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (!b.MineGrid.is(x, y, 'c')) b.ViewGrid.set(x, y, b.MineGrid.at(x, y));
  for (auto [x, y] : bombs) {
    for (auto [bx, by] : bombs) b.ViewGrid.set(bx, by, 'e');
    b.ViewGrid.set(x, y, 'd');
    EXPECT_EQ(CheckCleared(b), kFalse) << x << "," << y;
  }
  b.ViewGrid.set(7, 8, 'e');
  EXPECT_EQ(CheckCleared(b), kTrue);

  // Marks on safe cells and covered cells do not stand in the way.
  Board marked = BoardWithBombs({{0, 0}, {15, 15}, {7, 8}});
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) marked.ViewGrid.set(x, y, 'e');
  EXPECT_EQ(CheckCleared(marked), kTrue);
}

TEST(RevealAll, CopiesTheHiddenBoard) {
  Board b;
  NewGame(b, 50, 42);
  b.ViewGrid.set(0, 0, 'e');
  RevealAll(b);
  EXPECT_EQ(b.ViewGrid, b.MineGrid);
  EXPECT_TRUE(MarginEmpty(b.ViewGrid));
}

TEST(Title, PictureSpellsTheNameRowByRow) {
  // "Vor" above "nel": covered strokes, bombs inside the V and the e.
  const char* const rows[16] = {
      "aaaaaaaaaaaaaaaa", "abcccbaaaaaaaaaa", "abcccbaaaaaaaaaa", "abcccbaabbaababa",
      "aabcbaabaababbaa", "aabcbaabaababaaa", "aaabaaaabbaabaaa", "aaaaaaaaaaaaaaaa",
      "aaaaaaaaaaabbaaa", "aaaaaaaaaaaabaaa", "abbbaaabbaaabaaa", "abaababccbaabaaa",
      "abaababbbbaabaaa", "abaababaaaaabaaa", "abaabaabbbaabbaa", "aaaaaaaaaaaaaaaa"};
  const Grid t = MakeTitleGrid();
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(t.at(x, y), rows[y][x]) << x << "," << y;
  EXPECT_TRUE(MarginEmpty(t));
}

}  // namespace
}  // namespace vornel
