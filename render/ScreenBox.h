#pragma once
// The visible board: a 372 x 372 picture box with a 2-pixel sunken border
// around a 368 x 368 drawing area. It keeps the last picture copied into it
// and the grid of codes that picture shows, reports mouse releases in
// drawing-area pixels and the keys that play the board, draws the keyboard's
// cursor, and shows the board to assistive technology as a table of cells.

#include <cstdint>
#include <optional>

#include "board/Grid.h"
#include "play/KeyboardPlay.h"
#include "winkit/PictureBox.h"

namespace vornel {

class ScreenBox : public PictureBox {
  Q_OBJECT
 public:
  explicit ScreenBox(QWidget* parent = nullptr);

  // Copies a whole surface in and schedules a repaint; `shown` is the grid
  // it was composed from. Cells whose code changed announce their new name.
  void showPicture(const QImage& picture, const Grid& shown);
  const Grid& shownGrid() const { return shown_; }

  // Puts the keyboard's cursor on a cell, drawn over it when `visible` until
  // the mouse is used on the board. Its cell is the focused one to
  // assistive technology.
  void placeCursor(Cursor cursor, bool visible);
  Cursor cursor() const { return cursor_; }

 signals:
  // Button 1 left, 2 right, 4 middle (0 for others); Shift 1, Ctrl 2, Alt 4.
  void mouseUp(std::int16_t button, std::int16_t shift, float x, float y);
  // An arrow, Enter, Space or I (where the game stands) pressed while the
  // board has the focus.
  void keyDown(BoardKey key);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void AnnounceFocus();

  Grid shown_;
  Cursor cursor_;
};

}  // namespace vornel
