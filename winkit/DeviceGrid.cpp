#include "winkit/DeviceGrid.h"

#include <algorithm>
#include <cmath>

namespace vornel {

DeviceAxis::DeviceAxis(CellAxis cells, int length, double scale)
    : cells_(cells), length_(length), scale_(scale) {
  // Rounded down, so that the margins never come out narrower than designed.
  cell_ = std::max(1, static_cast<int>(std::floor(cells.pitch * scale + 1e-9)));
  const int left = std::max(0, length - cell_ * cells.count);
  before_ = left / 2;
  after_ = left - before_;
}

namespace {
// Picture pixel `first` + the part of `span` picture pixels that device
// pixel `u` of `device` pixels shows (sampled at the pixel's centre); -1
// where the span is empty.
int Sample(int first, int span, int u, int device) {
  if (span <= 0) return -1;
  return first + std::min(span - 1, (2 * u + 1) * span / (2 * device));
}
}  // namespace

int DeviceAxis::PictureAt(int u) const {
  if (u < before_) return Sample(0, cells_.margin, u, before_);
  u -= before_;
  if (u < cell_ * cells_.count)
    return Sample(cells_.margin + u / cell_ * cells_.pitch, cells_.pitch, u % cell_, cell_);
  u -= cell_ * cells_.count;
  return Sample(cells_.margin + cells_.count * cells_.pitch, cells_.margin, u, after_);
}

double DeviceAxis::PictureCoordinate(double u) const {
  if (u < 0) return u / scale_;
  if (u >= length_) return cells_.picture() + (u - length_) / scale_;
  return PictureAt(static_cast<int>(u));
}

}  // namespace vornel
