// The board and the icon on a screen of twice the density: their pixels
// stay sharp 2 x 2 blocks, and clicks still land on the cell under the
// pointer.

#include <QtTest>

#include "dialogs/frmAbout.h"
#include "app/frmMain.h"
#include "assets/Assets.h"
#include "render/ScreenBox.h"

using namespace vornel;

namespace {
// True when `shot` (taken at twice the density) shows every pixel of
// `picture` as a 2 x 2 block, starting at device pixel `origin`.
bool ShowsAsSharpBlocks(const QPixmap& shot, const QImage& picture, QPoint origin) {
  const QImage big = shot.toImage().convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      for (int d = 0; d < 4; ++d)
        if (big.pixel(origin.x() + 2 * x + d % 2, origin.y() + 2 * y + d / 2) !=
            picture.pixel(x, y))
          return false;
  return true;
}
}  // namespace

class HighDensityTest : public QObject {
  Q_OBJECT

 private slots:
  void boardScalesWithoutBlurAndClicksMapToCells() {
    QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("2"));
    MainDependencies deps;
    deps.rankingPath = QStringLiteral("/nonexistent/vornel.dat");
    deps.seed = [] { return std::uint64_t{3}; };
    frmMain w(deps);
    w.show();
    QCOMPARE(w.picScreen()->size(), QSize(372, 372));

    const QPixmap shot = w.picScreen()->grab();
    QCOMPARE(shot.devicePixelRatio(), 2.0);
    QVERIFY(ShowsAsSharpBlocks(shot, w.picScreen()->picture(), {4, 4}));

    w.mnuFileStart_Click();
    // Right-click the middle of cell (5, 9): only that cell takes the mark.
    QTest::mouseRelease(w.picScreen(), Qt::RightButton, {}, QPoint(2 + 8 + 22 * 5 + 11, 2 + 8 + 22 * 9 + 11));
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        QCOMPARE(w.state().board.ViewGrid.at(x, y), (x == 5 && y == 9) ? 'e' : 'b');
  }

  void versionDialogIconScalesWithoutBlur() {
    const QImage icon = AppIconPicture().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(icon.size(), QSize(32, 32));
    frmAbout about(QStringLiteral("Vornel Ver1.0.0"), icon);
    about.show();
    auto* picture = about.findChild<QWidget*>(QStringLiteral("Picture1"));
    QVERIFY(ShowsAsSharpBlocks(picture->grab(), icon, {4, 4}));
  }
};

QTEST_MAIN(HighDensityTest)
#include "HighDensityTest.moc"
