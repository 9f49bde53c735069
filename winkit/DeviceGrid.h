#pragma once
// A picture made of a margin, a row of equal cells and the margin again,
// laid out on whole device pixels at any scale: every cell takes the same
// number of device pixels, so every grid line shows equally wide, and the
// margins take what is left over.

namespace vornel {

struct CellAxis {
  int margin = 0;  // picture pixels before the first cell and after the last
  int pitch = 1;   // picture pixels of one cell
  int count = 1;
  int picture() const { return 2 * margin + count * pitch; }
};

class DeviceAxis {
 public:
  // `length` device pixels show the picture, at `scale` device pixels per
  // picture pixel.
  DeviceAxis(CellAxis cells, int length, double scale);

  int cell() const { return cell_; }      // device pixels of one cell
  int before() const { return before_; }  // of the first margin
  int after() const { return after_; }    // of the last

  // The picture pixel that device pixel `u` shows, 0 <= u < length; -1 for
  // one of a margin the picture does not have.
  int PictureAt(int u) const;
  // A device position, on the picture or beyond its edges, in picture
  // pixels: the pixel shown where it lies on the picture, beyond it the
  // distance at `scale`.
  double PictureCoordinate(double u) const;

 private:
  CellAxis cells_;
  int length_;
  double scale_;
  int cell_, before_, after_;
};

}  // namespace vornel
