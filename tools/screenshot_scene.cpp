// Sets up a scene for the README's screenshots in a real window: the title
// picture ("title") or a game in progress on a fixed board ("game"). The
// window stays open until it is closed; scripts/screenshots.sh takes the
// picture.

#include <QApplication>
#include <QFontDatabase>
#include <cstring>

#include "app/frmMain.h"
#include "board/Board.h"

namespace {

class SceneClock : public vornel::Clock {
 public:
  vornel::LocalTime t{2026, 12, 7, 21, 14, 0};
  vornel::LocalTime now() const override { return t; }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (QFontDatabase::hasFamily(QStringLiteral("IPAGothic")))
    QApplication::setFont(QFont(QStringLiteral("IPAGothic"), 9));
  SceneClock clock;
  vornel::MainDependencies deps;
  deps.clock = &clock;
  deps.seed = [] { return std::uint64_t{20261207}; };
  deps.rankingPath = QStringLiteral("/nonexistent/vornel.dat");
  vornel::frmMain window(deps);
  window.show();

  if (argc > 1 && std::strcmp(argv[1], "game") == 0) {
    window.mnuFileStart_Click();
    auto& board = window.state().board;
    // Open the largest empty region, then mark the bombs it uncovers.
    int best = -1, bestSize = 0;
    for (int n = 0; n < 256; ++n) {
      if (!board.MineGrid.is(n % 16, n / 16, 'a')) continue;
      vornel::Board trial = board;
      vornel::OpenCell(trial, n % 16, n / 16);
      int size = 0;
      for (int k = 0; k < 256; ++k) size += trial.ViewGrid.at(k % 16, k / 16) != 'b';
      if (size > bestSize) { bestSize = size; best = n; }
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
          touches |= vornel::Grid::onBoard(x + dx, y + dy) && vornel::isCount(board.ViewGrid.at(x + dx, y + dy));
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
  QObject::connect(&window, &vornel::frmMain::unloaded, &app, &QCoreApplication::quit);
  return QApplication::exec();
}
