#include "render/ScreenBox.h"

#include <QMouseEvent>

#include "board/Grid.h"
#include "render/Surface.h"

namespace vornel {

ScreenBox::ScreenBox(QWidget* parent) : PictureBox(parent) {
  image_ = MakeSurface();
  setFixedSize(kBoxSize, kBoxSize);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCells({kBoardOrigin, kTileSize, kBoardSize});
}

void ScreenBox::showPicture(const QImage& picture) {
  BitBlt(image_, 0, 0, kBoxSize, kBoxSize, picture, 0, 0);
  pictureChanged();
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
  const QPointF at = PicturePoint(*event);
  emit mouseUp(button, shift, static_cast<float>(at.x()), static_cast<float>(at.y()));
}

}  // namespace vornel
