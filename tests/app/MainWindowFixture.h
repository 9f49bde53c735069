#pragma once
// The main window on a fixed clock, a fixed seed and a ranking file of its
// own, and the check that its visible board shows a grid drawn from the
// tile sheet.

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/frmMain.h"
#include "play/Clock.h"
#include "render/ScreenBox.h"

namespace vornel::test {

class FixedClock : public Clock {
 public:
  LocalTime t{2026, 12, 7, 14, 5, 9};
  LocalTime now() const override { return t; }
  void advance(int seconds) {
    int s = t.hour * 3600 + t.minute * 60 + t.second + seconds;
    t.hour = s / 3600 % 24;
    t.minute = s / 60 % 60;
    t.second = s % 60;
  }
};

// A main window with a fixed clock, a fixed seed and its own ranking file.
struct Game {
  QTemporaryDir dir;
  FixedClock clock;
  std::unique_ptr<frmMain> window;

  QString rankingPath() const { return dir.filePath(QStringLiteral("vornel.dat")); }
  frmMain& open(std::uint64_t seed = 5) {
    MainDependencies deps;
    deps.clock = &clock;
    deps.seed = [seed]() mutable { return seed++; };  // each game its own board
    deps.rankingPath = rankingPath();
    window = std::make_unique<frmMain>(deps);
    window->show();
    return *window;
  }
  Board& board() { return window->state().board; }
  void click(Qt::MouseButton button, int x, int y) {
    QTest::mouseRelease(window->picScreen(), button, {}, QPoint(2 + 8 + 22 * x + 11, 2 + 8 + 22 * y + 11));
  }
  QList<QPoint> cells(Cell code) {
    QList<QPoint> out;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        if (board().MineGrid.is(x, y, code)) out.append({x, y});
    return out;
  }
  // Marks every bomb with the right button; the last mark clears the board.
  void markAllBombs() {
    for (const QPoint& p : cells('c')) click(Qt::RightButton, p.x(), p.y());
  }
};

// Where the tile of each code lies on the sheet; a cell without a code
// shows the open tile of the background.
inline QPoint TileOf(Cell code) {
  const QPoint tiles[] = {{118, 8}, {8, 8},   {96, 8},  {52, 8},  {30, 8},   {74, 8},   {8, 30},
                          {30, 30}, {52, 30}, {74, 30}, {96, 30}, {118, 30}, {140, 30}, {162, 30}};
  const qsizetype i = QByteArrayView("abcdef12345678").indexOf(code);
  return i < 0 ? QPoint(118, 8) : tiles[i];
}

// True when the visible board shows `grid` drawn from the tile sheet,
// inside the sheet's frame.
inline bool ScreenShows(frmMain& w, const Grid& grid) {
  const QImage shown = w.picScreen()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage& sheet = w.picSource();
  for (const QRect r : {QRect(0, 0, 368, 8), QRect(0, 360, 368, 8), QRect(0, 0, 8, 368),
                        QRect(360, 0, 8, 368)})
    if (shown.copy(r.translated(2, 2)) != sheet.copy(r)) return false;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const QPoint tile = TileOf(grid.at(x, y));
      const QImage cell = shown.copy(2 + 8 + 22 * x, 2 + 8 + 22 * y, 22, 22);
      if (cell != sheet.copy(tile.x(), tile.y(), 22, 22)) return false;
    }
  return true;
}

}  // namespace vornel::test
