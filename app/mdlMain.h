#pragma once
// The start-up module: the program's entry and the module-wide game state
// that the main window and its dialogs work on for the life of the process.

#include <QString>
#include <cstdint>
#include <functional>

#include "board/Board.h"
#include "board/Grid.h"
#include "play/Clock.h"
#include "ranking/Ranking.h"

namespace vornel {

class frmMain;

struct GameState {
  Board board;          // ViewGrid and MineGrid of the running or last game
  Grid TitleGrid;       // the title picture
  Flag Playing = kFalse;
  double StartTime = 0;  // time of day the game started, fraction of a day
  QString BaseCaption;   // the main window's caption without the clock
  Candidate result;      // ResultLevel, ResultName, ResultTime, ResultDate
  vornel::Ranking Ranking;
  RankingDisk rankingDisk;  // the file as this game last read or wrote it
};

// What the main window takes from outside, so that tests and the scenes of
// the screenshots can fix it.
struct MainDependencies {
  const Clock* clock = nullptr;         // defaults to the system clock
  std::function<std::uint64_t()> seed;  // defaults to ClockSeed
  QString rankingPath = QString::fromLatin1(kRankingFile);
};

// Starts the program: shows the main window and runs until it is closed.
// `shown`, when given, sees the window right after it is shown (the
// start-up benchmark watches its first paint through it, the screenshot
// scenes set up their boards).
int Main(int argc, char** argv, const std::function<void(frmMain&)>& shown = {},
         const MainDependencies& deps = {});

}  // namespace vornel
