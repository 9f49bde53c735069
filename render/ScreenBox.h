#pragma once
// The visible board: a 372 x 372 picture box with a 2-pixel sunken border
// around a 368 x 368 drawing area. It keeps the last picture copied into it
// and reports mouse releases in drawing-area pixels.

#include <cstdint>

#include "winkit/PictureBox.h"

namespace vornel {

class ScreenBox : public PictureBox {
  Q_OBJECT
 public:
  explicit ScreenBox(QWidget* parent = nullptr);

  // Copies a whole surface in and schedules a repaint.
  void showPicture(const QImage& picture);

 signals:
  // Button 1 left, 2 right, 4 middle (0 for others); Shift 1, Ctrl 2, Alt 4.
  void mouseUp(std::int16_t button, std::int16_t shift, float x, float y);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace vornel
