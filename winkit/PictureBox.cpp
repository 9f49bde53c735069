#include "winkit/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtWidgets/qdrawutil.h>
#include <algorithm>
#include <cmath>
#include <vector>

namespace vornel {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
}

void PictureBox::setPicture(const QImage& picture) {
  image_ = picture;
  pictureChanged();
}

void PictureBox::pictureChanged() {
  deviceStale_ = true;
  update();
}

void PictureBox::setMarkedCell(std::optional<QPoint> cell) {
  if (cell == marked_) return;
  marked_ = cell;
  pictureChanged();
}

namespace {
// The mark: a ring two picture pixels wide inside the cell, in the colour
// of a selection, sharp at any scale because it is whole device pixels.
void DrawMark(QPainter& painter, const QRect& cell, int width, const QColor& colour) {
  painter.fillRect(QRect(cell.left(), cell.top(), cell.width(), width), colour);
  painter.fillRect(QRect(cell.left(), cell.bottom() + 1 - width, cell.width(), width), colour);
  painter.fillRect(QRect(cell.left(), cell.top(), width, cell.height()), colour);
  painter.fillRect(QRect(cell.right() + 1 - width, cell.top(), width, cell.height()), colour);
}
}  // namespace

CellAxis PictureBox::Cells() const {
  return cells_.pitch > 1 ? cells_ : CellAxis{0, image_.width(), 1};
}

bool PictureBox::WholeScale() const {
  const qreal ratio = devicePixelRatioF();
  return ratio == std::floor(ratio);
}

int PictureBox::DeviceBorder() const {
  // Rounded down like the cells, so that the picture always fits inside.
  return std::max(1, static_cast<int>(std::floor(lineWidth() * devicePixelRatioF())));
}

QRect PictureBox::DeviceRect() const {
  const qreal ratio = devicePixelRatioF();
  const QPointF origin = mapTo(window(), QPointF(0, 0)) * ratio;
  const QPointF end = mapTo(window(), QPointF(width(), height())) * ratio;
  return QRect(QPoint(int(std::lround(origin.x())), int(std::lround(origin.y()))),
               QPoint(int(std::lround(end.x())) - 1, int(std::lround(end.y())) - 1));
}

QPointF PictureBox::PicturePoint(const QMouseEvent& event) const {
  if (WholeScale()) return event.position() - QPointF(contentsRect().topLeft());
  const qreal ratio = devicePixelRatioF();
  const QRect device = DeviceRect();
  const int border = DeviceBorder();
  // The pointer lies on a whole device pixel of the window. Qt hands that on
  // divided by the scale as the position in the window, and rounded to a
  // whole logical pixel as the position in the widget.
  const QPointF inWindow = event.scenePosition() * ratio;
  const auto onAxis = [&](double at, int start, int length) {
    const DeviceAxis axis(Cells(), length - 2 * border, ratio);
    return axis.PictureCoordinate(std::floor(at + 1e-6) - start - border);
  };
  return {onAxis(inWindow.x(), device.left(), device.width()),
          onAxis(inWindow.y(), device.top(), device.height())};
}

const QImage& PictureBox::DevicePicture(QSize size) {
  if (!deviceStale_ && device_.size() == size) return device_;
  deviceStale_ = false;
  device_ = QImage(size, QImage::Format_RGB32);
  device_.fill(palette().color(backgroundRole()));
  const int border = DeviceBorder();
  {
    QPainter painter(&device_);
    qDrawShadePanel(&painter, device_.rect(), palette(), frameShadow() == QFrame::Sunken, border);
  }
  const qreal ratio = devicePixelRatioF();
  const QSize area = size - QSize(2 * border, 2 * border);
  const DeviceAxis across(Cells(), area.width(), ratio);
  const DeviceAxis down(Cells(), area.height(), ratio);
  std::vector<int> columns(area.width());
  for (int u = 0; u < area.width(); ++u) columns[u] = across.PictureAt(u);
  const QImage picture = image_.convertToFormat(QImage::Format_RGB32);
  for (int v = 0; v < area.height(); ++v) {
    const int row = down.PictureAt(v);
    if (row < 0 || row >= picture.height()) continue;
    const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(row));
    auto* to = reinterpret_cast<QRgb*>(device_.scanLine(border + v)) + border;
    for (int u = 0; u < area.width(); ++u)
      if (columns[u] >= 0 && columns[u] < picture.width()) to[u] = from[columns[u]];
  }
  if (marked_) {
    QPainter painter(&device_);
    const QPoint at(border + across.before() + marked_->x() * across.cell(),
                    border + down.before() + marked_->y() * down.cell());
    DrawMark(painter, QRect(at, QSize(across.cell(), down.cell())),
             static_cast<int>(std::floor(2 * ratio)), palette().color(QPalette::Highlight));
  }
  return device_;
}

void PictureBox::paintEvent(QPaintEvent* event) {
  if (WholeScale()) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect area = contentsRect();
    painter.drawImage(QRect(area.topLeft(), image_.size()), image_);
    if (marked_) {
      const QPoint at = area.topLeft() + QPoint(cells_.margin, cells_.margin) +
                        QPoint(marked_->x(), marked_->y()) * cells_.pitch;
      DrawMark(painter, QRect(at, QSize(cells_.pitch, cells_.pitch)), 2,
               palette().color(QPalette::Highlight));
    }
    return;
  }
  // Drawn in device pixels: the painter's own mapping undone, the box
  // composed at the device's size and copied in unscaled.
  QPainter painter(this);
  const QTransform toDevice = painter.deviceTransform();
  const QRectF exact = toDevice.mapRect(QRectF(rect()));
  const QPoint topLeft(int(std::lround(exact.left())), int(std::lround(exact.top())));
  const QPoint end(int(std::lround(exact.right())), int(std::lround(exact.bottom())));
  painter.setWorldTransform(toDevice.inverted());
  painter.drawImage(topLeft, DevicePicture(QSize(end.x() - topLeft.x(), end.y() - topLeft.y())));
}

}  // namespace vornel
