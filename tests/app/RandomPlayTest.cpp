// Tens of thousands of random events on the real main window: starts, level
// commands, presses and releases of every button anywhere. After each one the
// game must still be consistent and the screen must show the grid in play.

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "app/frmMain.h"
#include "dialogs/frmScore.h"
#include "dialogs/frmScoreInput.h"
#include "render/BoardPainter.h"
#include "render/ScreenBox.h"
#include "render/Surface.h"

using namespace vornel;

namespace {

bool ValidView(Cell c) { return QByteArrayView("abcdef12345678").contains(c); }
bool ValidMine(Cell c) { return QByteArrayView("acf12345678").contains(c); }

QString CheckGrids(const Board& b) {
  for (int y = 0; y < kGridSize; ++y)
    for (int x = 0; x < kGridSize; ++x) {
      const bool margin = x == 16 || y == 16;
      const Cell v = b.ViewGrid.at(x, y), m = b.MineGrid.at(x, y);
      if (margin) {
        if (v != kEmpty || m != kEmpty) return QStringLiteral("margin %1,%2 written").arg(x).arg(y);
        continue;
      }
      if (!ValidView(v) || !ValidMine(m)) return QStringLiteral("bad code at %1,%2").arg(x).arg(y);
      if (m == 'c' || m == 'f') continue;
      int around = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const Cell n = Grid::onBoard(x + dx, y + dy) ? b.MineGrid.at(x + dx, y + dy) : kEmpty;
          around += (n == 'c' || n == 'f');
        }
      if (m != (around == 0 ? 'a' : Cell('0' + around))) return QStringLiteral("count at %1,%2").arg(x).arg(y);
      if (isCount(v) && v != m) return QStringLiteral("view count at %1,%2").arg(x).arg(y);
    }
  return {};
}

// Answers whatever modal the finish of a game opens, without nesting.
void AnswerDialogs(QRandomGenerator& rng) {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr) return;
  if (auto* input = qobject_cast<frmScoreInput*>(modal)) {
    if (rng.bounded(4) == 0) {
      input->close();
    } else {
      input->findChild<QLineEdit*>()->setText(QStringLiteral("player %1").arg(rng.bounded(100)));
      QMetaObject::invokeMethod(input->findChild<QPushButton*>(), "click", Qt::QueuedConnection);
    }
  } else {
    modal->close();
  }
}

}  // namespace

class RandomPlayTest : public QObject {
  Q_OBJECT

 private slots:
  void randomEventsKeepTheGameConsistent() {
    QTemporaryDir dir;
    MainDependencies deps;
    deps.rankingPath = dir.filePath(QStringLiteral("vornel.dat"));
    std::uint64_t seed = 1;
    deps.seed = [&seed] { return ++seed; };
    frmMain w(deps);
    w.show();

    QRandomGenerator rng(20261207);
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] { AnswerDialogs(rng); });
    answer.start(0);

    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton,
                                       Qt::BackButton};
    bool titleShown = true;
    int clears = 0;
    QImage expected = MakeSurface();
    constexpr int kEvents = 30000;
    for (int i = 0; i < kEvents; ++i) {
      const int what = rng.bounded(1000);
      if (what < 10) {
        w.mnuFileStart_Click();
        titleShown = false;
      } else if (what < 14) {
        w.mnuFileLevel_Click(rng.bounded(1, 5));
        titleShown = true;
      } else if (what < 16 && w.state().Playing == kTrue) {
        // Mark every bomb: the last mark clears the board.
        for (int n = 0; n < 256; ++n)
          if (w.state().board.MineGrid.is(n % 16, n / 16, 'c') &&
              !w.state().board.ViewGrid.is(n % 16, n / 16, 'e'))
            while (!w.state().board.ViewGrid.is(n % 16, n / 16, 'e') && w.state().Playing == kTrue)
              w.picScreen_MouseUp(2, 0, 8.0F + 22 * (n % 16) + 5, 8.0F + 22 * (n / 16) + 5);
        ++clears;
      } else {
        const QPoint at(rng.bounded(-20, 400), rng.bounded(-20, 400));
        const Qt::MouseButton button = buttons[rng.bounded(4)];
        if (rng.bounded(3) == 0) QTest::mousePress(w.picScreen(), button, {}, at);
        QTest::mouseRelease(w.picScreen(), button, {}, at);
      }
      QCoreApplication::processEvents();

      const GameState& s = w.state();
      QCOMPARE(s.Playing == kTrue, w.timMain().interval() == 500);
      QVERIFY(s.Playing == kTrue || w.timMain().interval() == 0);
      if (!titleShown) {
        const QString fault = CheckGrids(s.board);
        QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("event %1: %2").arg(i).arg(fault)));
      }
      ComposeGrid(titleShown ? s.TitleGrid : s.board.ViewGrid, w.picSource(), w.picBG(), expected);
      QVERIFY2(w.picScreen()->picture() == expected, qPrintable(QStringLiteral("event %1").arg(i)));
    }
    QVERIFY(clears > 0);
  }
};

QTEST_MAIN(RandomPlayTest)
#include "RandomPlayTest.moc"
