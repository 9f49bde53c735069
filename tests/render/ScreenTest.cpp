// The board on the main window's screen: the background and the tiles come
// from the sheet, the keys play it, and it reads as a table of cells.

#include <QAccessible>
#include <QtTest>

#include "play/Move.h"
#include "render/ScreenBox.h"
#include "tests/app/MainWindowFixture.h"

using namespace vornel;
using namespace vornel::test;

class ScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void backgroundAndTilesComeFromTheSheet() {
    Game g;
    frmMain& w = g.open();
    const QImage& bg = w.picBG();
    const QImage& sheet = w.picSource();
    for (int i = 0; i < 368; ++i)
      for (int j : {0, 1, 2, 3, 4, 5, 6, 7, 360, 361, 362, 363, 364, 365, 366, 367}) {
        QCOMPARE(bg.pixel(i, j), sheet.pixel(i, j));
        QCOMPARE(bg.pixel(j, i), sheet.pixel(j, i));
      }
    QCOMPARE(qGray(bg.pixel(0, 200)), 185);
    QCOMPARE(qGray(bg.pixel(7, 200)), 162);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        QCOMPARE(bg.copy(8 + 22 * x, 8 + 22 * y, 22, 22), sheet.copy(118, 8, 22, 22));
    // Every code and a cell without one, in every row and column.
    Grid grid;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) grid.set(x, y, "abcdef12345678"[(x + 3 * y) % 15]);
    w.state().board.ViewGrid = grid;
    w.DrawBoard();
    QVERIFY(ScreenShows(w, grid));
  }

  void keysPlayTheBoardAndItReadsAsATableOfCells() {
    Game g;
    frmMain& w = g.open();
    ScreenBox* board = w.picScreen();
    QTest::keyClick(board, Qt::Key_Right);  // no game runs: nothing moves
    QCOMPARE(board->markedCell(), std::nullopt);
    w.mnuFileStart_Click();
    const auto press = [board](Qt::Key key, bool held) {  // held: a repeat of the press before
      QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(), held);
      QCoreApplication::sendEvent(board, &event);
    };
    // Held arrows walk on.
    for (int i = 0; i < 32; ++i) press(i < 16 ? Qt::Key_Right : Qt::Key_Down, i % 16 > 0);
    QCOMPARE(board->cursor(), (Cursor{15, 15}));
    QCOMPARE(board->markedCell(), QPoint(15, 15));
    QCOMPARE(board->picture(), w.picWork());  // the ring lies over the picture only

    // Space and Enter act as the right and left buttons on that cell, once
    // however long they are held.
    Board byMouse = g.board();
    Flag playing = kTrue;
    ApplyMove(byMouse, playing, kRightButton, 349, 349);
    QTest::keyClick(board, Qt::Key_Space);
    press(Qt::Key_Space, true);
    press(Qt::Key_Return, true);
    QCOMPARE(g.board().ViewGrid, byMouse.ViewGrid);
    ApplyMove(byMouse, playing, kLeftButton, 349, 349);
    QTest::keyClick(board, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(g.board().ViewGrid, byMouse.ViewGrid);
    QTest::mousePress(board, Qt::LeftButton, {}, QPoint(100, 100));
    QCOMPARE(board->markedCell(), std::nullopt);

    // A lost game's board is still read by the arrows; the keys that act
    // stay as inert as the mouse, and a new game puts the cursor back on
    // the top-left cell, unseen.
    g.board().MineGrid.set(15, 14, 'c');
    QTest::keyClick(board, Qt::Key_Up);
    QTest::keyClick(board, Qt::Key_Return);
    QCOMPARE(w.state().Playing, kFalse);
    const Grid lost = g.board().ViewGrid;
    QTest::keyClick(board, Qt::Key_Left);
    QTest::keyClick(board, Qt::Key_Space);
    QTest::keyClick(board, Qt::Key_Return);
    QCOMPARE(board->cursor(), (Cursor{14, 14}));
    QCOMPARE(g.board().ViewGrid, lost);
    w.mnuFileStart_Click();
    QCOMPARE(board->cursor(), (Cursor{0, 0}));
    QCOMPARE(board->markedCell(), std::nullopt);

    // Every cell is named after what it shows and where it lies.
    QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(board)->tableInterface();
    const char* const names[] = {"空白", "未開封", "爆弾", "はてなマーク", "爆弾マーク", "踏んだ爆弾", "7"};
    for (int x = 0; x < 7; ++x) g.board().ViewGrid.set(x, 3, "abcdef7"[x]);
    w.DrawBoard();
    for (int x = 0; x < 7; ++x) {
      QCOMPARE(table->cellAt(3, x)->text(QAccessible::Name),
               QString::fromUtf8(names[x]) + QStringLiteral(" 4行%1列").arg(x + 1));
      QCOMPARE(table->cellAt(3, x)->tableCellInterface()->columnIndex(), x);
      QCOMPARE(table->cellAt(3, x)->rect().topLeft(), board->mapToGlobal(QPoint(10 + 22 * x, 76)));
    }
    // The cursor's cell has the focus while the board has it.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w) && board->hasFocus());
    QTest::keyClick(board, Qt::Key_Right);
    const QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(board)->focusChild();
    QVERIFY(cell == table->cellAt(0, 1) && cell->state().focused);
    board->clearFocus();
    QVERIFY(!QAccessible::queryAccessibleInterface(board)->focusChild() && !cell->state().focused);
  }
};

QTEST_MAIN(ScreenTest)
#include "ScreenTest.moc"
