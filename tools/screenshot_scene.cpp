// Sets up a scene in a real window: the title picture ("title"), a game in
// progress on a fixed board ("game") for the README's screenshots, or the
// plain game on a known board ("play", which prints where the bombs of a
// 普通 game lie, and keeps its ranking in ./vornel.dat) for playing it from
// a script. It runs as the game does, until its main window is closed.

#include <cstdio>
#include <string>

#include "app/frmMain.h"
#include "app/mdlMain.h"
#include "board/Board.h"
#include "play/Opening.h"

namespace {

class SceneClock : public vornel::Clock {
 public:
  vornel::LocalTime t{2026, 12, 7, 21, 14, 0};
  vornel::LocalTime now() const override { return t; }
};

// Opens the largest empty region of the running game, marks five of the
// bombs it uncovers (the last with a question mark) and sets the clock.
void SetUpGame(vornel::frmMain& window, SceneClock& clock) {
  window.mnuFileStart_Click();
  auto& board = window.state().board;
  int best = -1, bestSize = 0;
  for (int n = 0; n < 256; ++n) {
    if (!board.MineGrid.is(n % 16, n / 16, 'a')) continue;
    vornel::Board trial = board;
    vornel::OpenCell(trial, n % 16, n / 16);
    int size = 0;
    for (int k = 0; k < 256; ++k) size += trial.ViewGrid.at(k % 16, k / 16) != 'b';
    if (size > bestSize) {
      bestSize = size;
      best = n;
    }
  }
  const auto px = [](int cell) { return 8.0F + 22.0F * static_cast<float>(cell) + 11.0F; };
  window.picScreen_MouseUp(1, 0, px(best % 16), px(best / 16));
  int marks = 0;
  for (int n = 0; n < 256 && marks < 5; ++n) {
    const int x = n % 16, y = n / 16;
    if (!board.MineGrid.is(x, y, 'c')) continue;
    bool touches = false;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        touches |= vornel::Grid::onBoard(x + dx, y + dy) &&
                   vornel::isCount(board.ViewGrid.at(x + dx, y + dy));
    if (!touches) continue;
    window.picScreen_MouseUp(2, 0, px(x), px(y));
    if (marks == 4) window.picScreen_MouseUp(2, 0, px(x), px(y));  // one query mark
    ++marks;
  }
  clock.t.minute += 1;
  clock.t.second = 23;
  window.timMain_Timer();
  window.timMain().setInterval(0);  // keep the caption still for the picture
}

}  // namespace

// The program itself, started as the game starts, on a fixed board and clock.
int main(int argc, char** argv) {
  const std::string scene = argc > 1 ? argv[1] : "title";
  SceneClock clock;
  vornel::MainDependencies deps;
  deps.clock = &clock;
  deps.seed = [] { return std::uint64_t{20261207}; };
  if (scene == "play") {
    vornel::Board known;
    vornel::NewGame(known, 30, deps.seed());
    for (int n = 0; n < 256; ++n)
      if (known.MineGrid.is(n % 16, n / 16, 'c')) std::printf("bomb %d %d\n", n % 16, n / 16);
    std::fflush(stdout);
  } else {
    deps.rankingPath = QStringLiteral("/nonexistent/vornel.dat");
  }
  return vornel::Main(argc, argv, [&](vornel::frmMain& window) {
    if (scene == "game") SetUpGame(window, clock);
  }, deps);
}
