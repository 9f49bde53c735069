#pragma once
// The main window: menus, the board, the clock in the caption, and the
// handlers that drive a game. The rules live in board/, play/ and ranking/.

#include <QImage>
#include <QMainWindow>
#include <array>
#include <cstdint>

#include "app/mdlMain.h"
#include "play/Clock.h"
#include "play/KeyboardPlay.h"
#include "winkit/IntervalTimer.h"

class QAction;

namespace vornel {

class ScreenBox;

class frmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit frmMain(MainDependencies deps = {});
  ~frmMain() override;

  // The shared state and the surfaces, for tests and benchmarks.
  GameState& state() { return state_; }
  const QImage& picSource() const { return picSource_; }
  const QImage& picBG() const { return picBG_; }
  const QImage& picWork() const { return picWork_; }
  ScreenBox* picScreen() const { return picScreen_; }
  IntervalTimer& timMain() { return timMain_; }
  int GetLevel() const;

  // Menu commands.
  void mnuFileStart_Click();
  void mnuFileLevel_Click(int k);  // k = 1..4
  void mnuFileExit_Click();
  void mnuRankRank_Click();
  void mnuVersion_Click();

  // Events.
  void picScreen_MouseUp(std::int16_t button, std::int16_t shift, float X, float Y);
  void picScreen_KeyDown(BoardKey key);
  void timMain_Timer();

  void DrawBoard();
  void DrawTitle();

 signals:
  // The window has been closed; the program ends.
  void unloaded();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Load();
  void InitWindow();
  void DrawBackground();
  void ShowTitle();
  void DrawGrid(const Grid& grid);
  void FinishGame();
  void BuildMenus();
  QString ElapsedText(const LocalTime& now) const;
  // Level, bombs, marks and time, for a player who cannot see the board.
  QString StatusReport() const;

  MainDependencies deps_;
  SystemClock systemClock_;
  GameState state_;

  IntervalTimer timMain_;
  QImage picSource_, picBG_, picWork_;
  ScreenBox* picScreen_ = nullptr;

  std::array<QAction*, 4> mnuFileLevelN_{};
  // The title picture rather than a game's board is on the screen.
  bool titleShown_ = true;
};

}  // namespace vornel
