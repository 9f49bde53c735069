// New boards, counts, the cleared test and the reveal.

#include <gtest/gtest.h>

#include <vector>

#include "board/Board.h"
#include "board/Level.h"
#include "board/Title.h"
#include "tests/board/BoardTestUtil.h"

namespace vornel {
namespace {

using namespace test;

int CountCode(const Grid& g, Cell code) {
  int n = 0;
  for (int y = 0; y < kGridSize; ++y)
    for (int x = 0; x < kGridSize; ++x) n += g.is(x, y, code) ? 1 : 0;
  return n;
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
  AddCount(b.MineGrid, -1, 3);
  AddCount(b.MineGrid, 16, 3);
  AddCount(b.MineGrid, 3, 16);
  EXPECT_TRUE(MarginEmpty(b.MineGrid));
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
