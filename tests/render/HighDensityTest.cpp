// The board on a screen of higher density, at twice the density and at the
// fractional scales 1.25 and 1.75 (ctest runs it at each): every device pixel
// shows the picture's pixel under its centre, every cell the same whole
// number of device pixels, and clicks still land on the cell under the
// pointer.

#include <QtTest>
#include <array>

#include "app/frmMain.h"
#include "render/ScreenBox.h"

using namespace vornel;

class HighDensityTest : public QObject {
  Q_OBJECT

 private slots:
  void boardScalesWithoutBlurAndClicksMapToCells() {
    // In device pixels: the box (372 design pixels), its border and the
    // cursor's ring (2, rounded down), a cell (22, rounded down) and the
    // sheet's 8-pixel frame before the first cell (the smaller half of what
    // the cells leave).
    const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
    const auto [box, border, cell, before] = scale == "1.25"   ? std::array{465, 2, 27, 14}
                                             : scale == "1.75" ? std::array{651, 3, 38, 18}
                                                               : std::array{744, 4, 44, 16};
    const int area = box - 2 * border, cells = 16 * cell, after = area - before - cells;
    const auto design = [&](int u) {  // the picture pixel under device pixel u's centre
      const double centre = u + 0.5;
      if (centre < before) return int(centre * 8 / before);
      if (centre < before + cells) return 8 + int((centre - before) * 22 / cell);
      return 360 + int((centre - before - cells) * 8 / after);
    };
    MainDependencies deps;
    deps.rankingPath = QStringLiteral("/nonexistent/vornel.dat");
    deps.seed = [] { return std::uint64_t{3}; };
    frmMain w(deps);
    w.show();
    w.mnuFileStart_Click();
    // Right-click the middle of cell (5, 9), sent to the window as a platform
    // delivers it: the box maps the pointer from its place in the window.
    QTest::mouseClick(w.windowHandle(), Qt::RightButton, {},
                      w.picScreen()->mapTo(&w, QPoint(2 + 8 + 22 * 5 + 11, 2 + 8 + 22 * 9 + 11)));
    QCOMPARE(w.state().board.ViewGrid.at(5, 9), 'e');

    // Covered tiles, a marked one, a digit and the cursor's ring on cell
    // (1, 0): every device pixel shows the picture's pixel under its centre,
    // but for the ring, as wide as the border.
    w.state().board.ViewGrid.set(6, 9, '8');
    w.DrawBoard();
    QTest::keyClick(w.picScreen(), Qt::Key_Right);
    const QImage shot = w.picScreen()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.size(), QSize(box, box));
    const QRect ring(before + cell, before, cell, cell);
    const QRect inside = ring.adjusted(border, border, -border, -border);
    QImage expected(area, area, QImage::Format_RGB32);
    for (int v = 0; v < area; ++v)
      for (int u = 0; u < area; ++u)
        expected.setPixel(u, v,
                          ring.contains(u, v) && !inside.contains(u, v)
                              ? w.picScreen()->palette().color(QPalette::Highlight).rgb()
                              : w.picScreen()->picture().pixel(design(u), design(v)));
    QVERIFY(shot.copy(border, border, area, area) == expected);
  }
};

QTEST_MAIN(HighDensityTest)
#include "HighDensityTest.moc"
