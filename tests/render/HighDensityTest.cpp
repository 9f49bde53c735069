// The board on a screen of twice the density: its pixels stay sharp 2 x 2
// blocks, and clicks still land on the cell under the pointer.

#include <QtTest>

#include "app/frmMain.h"
#include "render/ScreenBox.h"
#include "tests/winkit/SharpBlocks.h"

using namespace vornel;
using vornel::test::ShowsAsSharpBlocks;

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
};

QTEST_MAIN(HighDensityTest)
#include "HighDensityTest.moc"
