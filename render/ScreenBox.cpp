#include "render/ScreenBox.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>

#include "render/BoardAccessible.h"
#include "render/Surface.h"
#include "winkit/SpokenNote.h"

namespace vornel {

ScreenBox::ScreenBox(QWidget* parent) : PictureBox(parent) {
  // Before anything asks Qt to describe the widget.
  InstallBoardAccessible();
  image_ = MakeSurface();
  setFixedSize(kBoxSize, kBoxSize);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCells({kBoardOrigin, kTileSize, kBoardSize});
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(QStringLiteral("盤面"));
}

void ScreenBox::showPicture(const QImage& picture, const Grid& shown) {
  BitBlt(image_, 0, 0, kBoxSize, kBoxSize, picture, 0, 0);
  const Grid before = shown_;
  shown_ = shown;
  pictureChanged();
  // Only a listening screen reader needs the cells that changed.
  if (!ScreenReaderListens()) return;
  for (int y = 0; y < kBoardSize; ++y)
    for (int x = 0; x < kBoardSize; ++x)
      if (before.at(x, y) != shown.at(x, y)) AnnounceCell(this, x, y, QAccessible::NameChanged);
}

void ScreenBox::placeCursor(Cursor cursor, bool visible) {
  const bool moved = !(cursor == cursor_);
  cursor_ = cursor;
  setMarkedCell(visible ? std::optional<QPoint>(QPoint(cursor.x, cursor.y)) : std::nullopt);
  if (moved) AnnounceFocus();
}

void ScreenBox::AnnounceFocus() {
  if (hasFocus()) AnnounceCell(this, cursor_.x, cursor_.y, QAccessible::Focus);
}

void ScreenBox::focusInEvent(QFocusEvent* event) {
  PictureBox::focusInEvent(event);
  // Qt tells of the board's own focus only after this handler; the cell's
  // focus must come after it, or a screen reader settles on the board.
  if (ScreenReaderListens())
    QMetaObject::invokeMethod(this, &ScreenBox::AnnounceFocus, Qt::QueuedConnection);
}

void ScreenBox::mousePressEvent(QMouseEvent* event) {
  setMarkedCell(std::nullopt);
  PictureBox::mousePressEvent(event);
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

void ScreenBox::keyPressEvent(QKeyEvent* event) {
  std::optional<BoardKey> key;
  if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    switch (event->key()) {
      case Qt::Key_Left: key = BoardKey::Left; break;
      case Qt::Key_Right: key = BoardKey::Right; break;
      case Qt::Key_Up: key = BoardKey::Up; break;
      case Qt::Key_Down: key = BoardKey::Down; break;
      case Qt::Key_Return:
      case Qt::Key_Enter: key = BoardKey::Open; break;
      case Qt::Key_Space: key = BoardKey::Mark; break;
      case Qt::Key_I: key = BoardKey::Status; break;
      default: break;
    }
  }
  if (!key) {
    PictureBox::keyPressEvent(event);
    return;
  }
  // A held arrow walks on; a held Enter or Space is one move, as a click
  // is, and a held I asks once.
  const bool arrow = *key != BoardKey::Open && *key != BoardKey::Mark && *key != BoardKey::Status;
  if (arrow || !event->isAutoRepeat()) emit keyDown(*key);
}

}  // namespace vornel
