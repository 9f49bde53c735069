#pragma once
// A picture box: a sunken border around a drawing area that shows its image
// pixel for pixel. On a screen of higher density every pixel becomes a sharp
// block, as the board's tiles and the 16-colour icon are meant to look; at a
// fractional scale the border and the picture are laid out on whole device
// pixels, every cell of the picture's grid equally wide.

#include <QFrame>
#include <QImage>
#include <optional>

class QMouseEvent;

#include "winkit/DeviceGrid.h"

namespace vornel {

class PictureBox : public QFrame {
  Q_OBJECT
 public:
  // The standard picture box border: 2 pixels, sunken.
  explicit PictureBox(QWidget* parent = nullptr);

  void setPicture(const QImage& picture);
  const QImage& picture() const { return image_; }

  // The picture's grid along both axes; by default it is one cell.
  void setCells(CellAxis cells) { cells_ = cells; }

  // A ring drawn inside cell (x, y) of the grid, over the picture (which
  // stays as it is); none draws nothing.
  void setMarkedCell(std::optional<QPoint> cell);
  std::optional<QPoint> markedCell() const { return marked_; }

  // Where a mouse event lies on the picture, in picture pixels: at a whole
  // scale its position less the border, at a fractional one the picture
  // pixel shown under the pointer (and beyond the picture, the distance).
  QPointF PicturePoint(const QMouseEvent& event) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  // The picture in image_ has changed.
  void pictureChanged();

  QImage image_;

 private:
  // The grid set, or the whole picture as one cell.
  CellAxis Cells() const;
  bool WholeScale() const;
  // The box's extent in device pixels of the window, rounded to whole ones.
  QRect DeviceRect() const;
  int DeviceBorder() const;
  const QImage& DevicePicture(QSize size);

  CellAxis cells_{};
  std::optional<QPoint> marked_;
  QImage device_;  // the box as shown at a fractional scale
  bool deviceStale_ = true;
};

}  // namespace vornel
