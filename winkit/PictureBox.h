#pragma once
// A picture box: a sunken border around a drawing area that shows its image
// pixel for pixel. On a screen of higher density every pixel becomes a sharp
// block, as the board's tiles and the 16-colour icon are meant to look.

#include <QFrame>
#include <QImage>

namespace vornel {

class PictureBox : public QFrame {
  Q_OBJECT
 public:
  // The standard picture box border: 2 pixels, sunken.
  explicit PictureBox(QWidget* parent = nullptr);

  void setPicture(const QImage& picture);
  const QImage& picture() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

  QImage image_;
};

}  // namespace vornel
