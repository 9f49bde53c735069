#include "winkit/PictureBox.h"

#include <QPainter>

namespace vornel {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
}

void PictureBox::setPicture(const QImage& picture) {
  image_ = picture;
  update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  const QRect area = contentsRect();
  painter.drawImage(QRect(area.topLeft(), image_.size()), image_);
}

}  // namespace vornel
