#pragma once
// The program-wide game state: lives as long as the main window.

#include <QString>

#include "board/Board.h"
#include "board/Grid.h"
#include "ranking/Ranking.h"

namespace vornel {

struct GameState {
  Board board;          // ViewGrid and MineGrid of the running or last game
  Grid TitleGrid;       // the title picture
  Flag Playing = kFalse;
  double StartTime = 0;  // time of day the game started, fraction of a day
  QString BaseCaption;   // the main window's caption without the clock
  Candidate result;      // ResultLevel, ResultName, ResultTime, ResultDate
  vornel::Ranking Ranking;
};

}  // namespace vornel
