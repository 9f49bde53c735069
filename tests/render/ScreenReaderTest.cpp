// What a screen reader is told of the board: the cell that takes the focus,
// with its row and column, and what each key did. Offscreen, Qt tells no
// screen reader anything: this runs on an X server with Qt's accessibility
// bridge on.

#include <QAccessible>
#include <QtTest>

#include "render/ScreenBox.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/board/BoardTestUtil.h"
#include "tests/winkit/ScreenReaderLog.h"

using namespace vornel;
using namespace vornel::test;

class ScreenReaderTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(ScreenReaderLog::BridgeUp()); }

  void eachKeyIsToldWhatItDid() {
    Game g;
    frmMain& w = g.open();
    ScreenBox* board = w.picScreen();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    ScreenReaderLog heard;
    const auto said = [](std::initializer_list<const char*> texts) {
      QStringList out;
      for (const char* t : texts) out << QString::fromUtf8(t);
      return out;
    };
    QTest::keyClick(board, Qt::Key_I);
    QCOMPARE(heard.notes(), said({"普通 爆弾30個 ゲーム開始前"}));

    // The cell takes the focus after the board does, so a screen reader
    // settles on the cell.
    board->clearFocus();
    board->setFocus();
    QCoreApplication::processEvents();
    QCOMPARE(heard.focused(), QString::fromUtf8("空白 1行1列"));

    w.mnuFileStart_Click();
    for (int i = 0; i < 32; ++i) QTest::keyClick(board, i % 2 ? Qt::Key_Down : Qt::Key_Right);
    QCOMPARE(heard.focused(), QString::fromUtf8("未開封 16行16列"));
    QTest::keyClick(board, Qt::Key_Right);  // the corner: the arrows say where they stop
    QTest::keyClick(board, Qt::Key_Down);
    QCOMPARE(board->cursor(), (Cursor{15, 15}));
    QCOMPARE(heard.notes(), said({"右端", "下端"}));

    // On a known board (bombs fence the top-left 3 x 3 off), what each key did.
    g.board() = test::BoardWithBombs({{3, 0}, {3, 1}, {3, 2}, {3, 3}, {2, 3}, {1, 3}, {0, 3}});
    w.DrawBoard();
    board->placeCursor({0, 0}, true);
    heard.notes();  // forget what was told so far
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_Return, "空白 9マス開きました"},  {Qt::Key_Right, nullptr},
        {Qt::Key_Right, nullptr},                  {Qt::Key_Right, nullptr},
        {Qt::Key_Right, nullptr},                  {Qt::Key_Return, "2"},
        {Qt::Key_Left, nullptr},                   {Qt::Key_Space, "爆弾マーク"},
        {Qt::Key_I, "普通 爆弾30個 マーク1個 経過時間 0:00:00"},
        {Qt::Key_Space, "はてなマーク"},           {Qt::Key_Space, "未開封"},
        {Qt::Key_Return, "踏んだ爆弾 ゲームオーバー"}};
    for (const auto& [key, note] : keys) {
      QTest::keyClick(board, key);
      QCOMPARE(heard.notes(), note ? said({note}) : QStringList());
    }
    QTest::keyClick(board, Qt::Key_Down);  // the lost board is read
    QCOMPARE(heard.focused(), QString::fromUtf8("爆弾 2行4列"));
    QTest::keyClick(board, Qt::Key_I);
    QCOMPARE(heard.notes(), said({"普通 爆弾30個 マーク0個 ゲーム終了"}));
  }
};

QTEST_MAIN(ScreenReaderTest)
#include "ScreenReaderTest.moc"
