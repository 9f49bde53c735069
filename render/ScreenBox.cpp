#include "render/ScreenBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "render/Surface.h"

namespace vornel {

namespace {
constexpr int kBorder = 2;
}

ScreenBox::ScreenBox(QWidget* parent) : QFrame(parent), image_(MakeSurface()) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(kBorder);
  setFixedSize(kBoxSize, kBoxSize);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScreenBox::showPicture(const QImage& picture) {
  BitBlt(image_, 0, 0, kBoxSize, kBoxSize, picture, 0, 0);
  update();
}

void ScreenBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  // No smoothing: on a high-density screen tiles scale up as sharp blocks.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRect(kBorder, kBorder, kSurfaceSize, kSurfaceSize), image_);
}

void ScreenBox::mouseReleaseEvent(QMouseEvent* event) {
  std::int16_t button = 0;
  switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: break;
  }
  const Qt::KeyboardModifiers mods = event->modifiers();
  const auto shift = static_cast<std::int16_t>((mods & Qt::ShiftModifier ? 1 : 0) |
                                               (mods & Qt::ControlModifier ? 2 : 0) |
                                               (mods & Qt::AltModifier ? 4 : 0));
  const QPointF at = event->position() - QPointF(kBorder, kBorder);
  emit mouseUp(button, shift, static_cast<float>(at.x()), static_cast<float>(at.y()));
}

}  // namespace vornel
