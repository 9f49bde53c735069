// The rule of a move, what it is told as, and the clock texts.

#include <gtest/gtest.h>

#include <tuple>

#include "board/Board.h"
#include "play/Clock.h"
#include "play/KeyboardPlay.h"
#include "play/Move.h"
#include "play/Spoken.h"

namespace vornel {
namespace {

float Px(int cell) { return 8.0F + 22.0F * cell + 11.0F; }  // centre of a cell

struct MoveFixture : ::testing::Test {
  void SetUp() override {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        board.MineGrid.set(x, y, 'a');
        board.ViewGrid.set(x, y, 'b');
      }
    // Bombs in the bottom-right corner; the rest of the board is one region.
    for (auto [x, y] : {std::pair{14, 14}, {15, 14}, {14, 15}, {15, 15}}) board.MineGrid.set(x, y, 'c');
    ComputeCounts(board.MineGrid);
  }
  MoveResult Click(std::int16_t button, int x, int y) {
    return ApplyMove(board, playing, button, Px(x), Px(y));
  }
  Board board;
  Flag playing = kTrue;
};

TEST_F(MoveFixture, MarginAndMiddleButtonAreTakenButChangeNothing) {
  const Board before = board;
  for (std::int16_t button : {kLeftButton, kRightButton, kMiddleButton}) {
    EXPECT_TRUE(ApplyMove(board, playing, button, 371.0F, 100.0F).taken);
    EXPECT_TRUE(ApplyMove(board, playing, button, 100.0F, 365.0F).taken);
  }
  EXPECT_TRUE(Click(kMiddleButton, 14, 14).taken);
  EXPECT_EQ(board.ViewGrid, before.ViewGrid);
  EXPECT_EQ(playing, kTrue);
}

TEST_F(MoveFixture, LeftButtonShowsCountsOpensRegionsIgnoringMarks) {
  board.ViewGrid.set(13, 13, 'e');
  EXPECT_TRUE(Click(kLeftButton, 13, 13).taken);
  EXPECT_EQ(board.ViewGrid.at(13, 13), '1');
  board.ViewGrid.set(0, 0, 'd');
  const Grid before = board.ViewGrid;
  Click(kLeftButton, 0, 0);
  EXPECT_EQ(board.ViewGrid.at(0, 0), 'a');
  // Every safe cell but the count at (13, 13), as a screen reader is told.
  EXPECT_EQ(MoveText(before, board.ViewGrid, false), QStringLiteral("空白 251マス開きました"));
  EXPECT_EQ(board.ViewGrid.at(12, 12), 'a');
  EXPECT_EQ(board.ViewGrid.at(13, 14), '2');
  EXPECT_EQ(board.ViewGrid.at(14, 14), 'b');
  EXPECT_EQ(playing, kTrue);
}

TEST(ClockText, HoursWithoutLeadingZero) {
  EXPECT_EQ(ClockText(0), QStringLiteral("0:00:00"));
  EXPECT_EQ(ClockText(67), QStringLiteral("0:01:07"));
  EXPECT_EQ(ClockText(3599), QStringLiteral("0:59:59"));
  EXPECT_EQ(ClockText(36000), QStringLiteral("10:00:00"));
}

TEST(ElapsedSeconds, WholeSecondsAndMidnightWraps) {
  const auto at = [](int h, int m, int s) { return TimeOfDay({2026, 1, 1, h, m, s}); };
  EXPECT_EQ(ElapsedSeconds(at(12, 0, 0), at(12, 1, 7)), 67);
  EXPECT_EQ(ElapsedSeconds(at(0, 0, 0), at(23, 59, 59)), 86399);
  EXPECT_EQ(ElapsedSeconds(at(23, 59, 50), at(0, 0, 10)), 20);
  EXPECT_EQ(ClockText(ElapsedSeconds(at(23, 0, 0), at(1, 0, 0))), QStringLiteral("2:00:00"));
}

TEST(DateText, PaddedDateAndTime) {
  EXPECT_EQ(DateText({2000, 3, 23, 14, 5, 9}), QStringLiteral("2000/03/23 14:05:09"));
  EXPECT_EQ(DateText({987, 12, 1, 0, 0, 0}), QStringLiteral("0987/12/01 00:00:00"));
}

TEST(StatusText, BeforeDuringAndAfterAGameCountingBombMarksOnly) {
  Grid shown;  // the corners marked, a question mark in the middle
  shown.set(0, 0, 'e');
  shown.set(15, 15, 'e');
  shown.set(7, 7, 'd');
  const auto said = [&](GamePhase phase) {
    return StatusText(QStringLiteral("難しい"), 40, phase, shown, QStringLiteral("1:02:03")).toStdString();
  };
  EXPECT_EQ(said(GamePhase::Title), "難しい 爆弾40個 ゲーム開始前");
  EXPECT_EQ(said(GamePhase::Running), "難しい 爆弾40個 マーク2個 経過時間 1:02:03");
  EXPECT_EQ(said(GamePhase::Over), "難しい 爆弾40個 マーク2個 ゲーム終了");
}

TEST(KeyboardPlay, ArrowsStopAtTheEdgesAndEnterAndSpaceReleaseAtTheCellCentre) {
  using K = BoardKey;
  const std::tuple<Cursor, K, Cursor> moves[] = {
      {{0, 0}, K::Left, {0, 0}},        {{0, 0}, K::Up, {0, 0}},   {{15, 15}, K::Right, {15, 15}},
      {{15, 15}, K::Down, {15, 15}},    {{14, 0}, K::Right, {15, 0}}, {{0, 1}, K::Up, {0, 0}},
      {{3, 4}, K::Open, {3, 4}}};
  for (const auto& [from, key, to] : moves) EXPECT_EQ(MoveCursor(from, key), to);
  const std::pair<K, const char*> edges[] = {
      {K::Left, "左端"}, {K::Right, "右端"}, {K::Up, "上端"}, {K::Down, "下端"}, {K::Open, ""}};
  for (const auto& [key, said] : edges) EXPECT_EQ(EdgeText(key).toStdString(), said);
  // The centres of cells 15 and 0: 8 + 22 * 15 + 11 and 8 + 11.
  const Release open = *ReleaseFor({15, 0}, BoardKey::Open);
  EXPECT_EQ(std::tuple(open.button, open.X, open.Y), std::tuple(kLeftButton, 349.0F, 19.0F));
  const Release mark = *ReleaseFor({0, 15}, BoardKey::Mark);
  EXPECT_EQ(std::tuple(mark.button, mark.X, mark.Y), std::tuple(kRightButton, 19.0F, 349.0F));
  EXPECT_FALSE(ReleaseFor({3, 4}, BoardKey::Down));
}

}  // namespace
}  // namespace vornel
