// The main window played as a player would: menus, the board on screen,
// whole games on seeded boards, and the dialogs that a finish opens.

#include <sys/resource.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <array>
#include <csignal>

#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "app/frmMain.h"
#include "board/Level.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmScore.h"
#include "dialogs/frmScoreInput.h"
#include "render/ScreenBox.h"

using namespace vornel;
using namespace vornel::test;

namespace {

const QString kBase = QStringLiteral("Vornel Ver" VORNEL_VERSION);

// The outer frame sits in the middle of the screen, halves truncated.
bool IsCentred(const QWidget& w) {
  const QRect screen = w.screen()->geometry();
  const QRect frame = w.frameGeometry();
  return frame.x() - screen.x() == (screen.width() - frame.width()) / 2 &&
         frame.y() - screen.y() == (screen.height() - frame.height()) / 2;
}

QAction* Item(frmMain& w, const char* name) {
  return w.findChild<QAction*>(QString::fromLatin1(name));
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A full level 1 of ten entries, all at `time`.
QByteArray FullLevel1(const char* time) {
  QByteArray out;
  for (int p = 0; p < 10; ++p)
    out += QByteArray("\"1\",\"") + QByteArray::number(p) + "\",\"p" + QByteArray::number(p) +
           "\",\"" + time + "\",\"2026/01/01 00:00:00\"\r\n";
  return out;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpShowsCaptionTitleAndExactClientArea() {
    Game g;
    frmMain& w = g.open();
    QCOMPARE(w.windowTitle(), kBase);
    QCOMPARE(w.state().BaseCaption, kBase);
    QCOMPARE(w.state().Playing, kFalse);
    QCOMPARE(w.timMain().interval(), 0);
    QCOMPARE(w.picScreen()->size(), QSize(372, 372));
    QCOMPARE(w.picScreen()->mapTo(&w, QPoint(0, 0)), QPoint(0, w.menuBar()->height()));
    QCOMPARE(w.size(), QSize(372, 372 + w.menuBar()->height()));
    QVERIFY(IsCentred(w));
    QVERIFY(w.windowFlags().testFlag(Qt::Tool));
    QVERIFY(!w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(ScreenShows(w, w.state().TitleGrid));
  }

  // A release acts on the cell under it: cells of 22 pixels from (8, 8) of
  // the drawing area inside the 2-pixel border, halves rounded to even. Up to
  // 371 a release is taken on the empty margin; beyond, nothing is redrawn.
  void releasePositionPicksTheCell() {
    Game g;
    frmMain& w = g.open();
    w.mnuFileStart_Click();
    const Grid covered = g.board().ViewGrid;
    const struct {
      float x, y;
      int col, row;  // -1: refused
    } cases[] = {{8, 8, 0, 0},         {29.4F, 29.4F, 0, 0},  {29.5F, 30, 1, 1},
                 {359, 359, 15, 15},   {360, 100, 16, 4},     {100, 371, 4, 16},
                 {7.9F, 100, -1, -1},  {371.1F, 100, -1, -1}, {100, 7.9F, -1, -1},
                 {100, 371.1F, -1, -1}};
    for (const auto& c : cases) {
      Grid expected = covered;
      expected.set(5, 12, 'a');  // on screen only once the board is redrawn
      g.board().ViewGrid = expected;
      if (c.col >= 0 && c.col < 16 && c.row < 16) expected.set(c.col, c.row, 'e');
      const QPointF at(2 + c.x, 2 + c.y);
      QMouseEvent release(QEvent::MouseButtonRelease, at, w.picScreen()->mapToGlobal(at),
                          Qt::RightButton, Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(w.picScreen(), &release);
      QCOMPARE(g.board().ViewGrid, expected);
      QCOMPARE(ScreenShows(w, expected), c.col >= 0);
      g.board().ViewGrid = covered;
      w.DrawBoard();
    }
  }

  void menusCarryTheirCaptions() {
    Game g;
    frmMain& w = g.open();
    const std::pair<const char*, const char*> items[] = {
        {"mnuFileStart", "ｹﾞｰﾑ開始(&S)"}, {"mnuFileLevel1", "簡単"},
        {"mnuFileLevel2", "普通"},         {"mnuFileLevel3", "難しい"},
        {"mnuFileLevel4", "超むず"},       {"mnuFileExit", "Vornel を終了(&X)"},
        {"mnuRankRank", "ﾗﾝｷﾝｸﾞ表示(&B)"}, {"mnuVersion", "ﾊﾞｰｼﾞｮﾝ情報(&A)"}};
    for (auto [name, caption] : items) {
      QAction* a = Item(w, name);
      QVERIFY2(a != nullptr, name);
      QCOMPARE(a->text(), QString::fromUtf8(caption));
      QVERIFY(a->shortcut().isEmpty());
    }
    const QList<QAction*> bar = w.menuBar()->actions();
    QVERIFY(!w.menuBar()->isNativeMenuBar());  // a global menu may not run mnuVersion
    QCOMPARE(bar.size(), 3);
    QCOMPARE(bar[0]->text(), QStringLiteral("ﾌｧｲﾙ(&F)"));
    QCOMPARE(bar[1]->text(), QStringLiteral("ﾗﾝｷﾝｸﾞ(&R)"));
    QCOMPARE(bar[2], Item(w, "mnuVersion"));
    QVERIFY(bar[2]->menu() == nullptr);
    const QList<QAction*> file = bar[0]->menu()->actions();
    QCOMPARE(file.size(), 4);
    QVERIFY(file[0] == Item(w, "mnuFileStart") && file[3] == Item(w, "mnuFileExit"));
    QCOMPARE(file[1]->text(), QStringLiteral("難易度(&L)"));
    QVERIFY(file[2]->isSeparator());
    QVERIFY(Item(w, "mnuFileLevel2")->isChecked());
    QCOMPARE(w.GetLevel(), 1);
  }

  void levelCommandReturnsToTitle_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("midGame");
    for (int k = 1; k <= 4; ++k) {
      QTest::addRow("level %d from title", k) << k << false;
      QTest::addRow("level %d mid-game", k) << k << true;
    }
  }
  void levelCommandReturnsToTitle() {
    QFETCH(int, level);
    QFETCH(bool, midGame);
    Game g;
    frmMain& w = g.open();
    if (midGame) {
      w.mnuFileStart_Click();
      g.clock.advance(5);
      w.timMain_Timer();
      QVERIFY(w.windowTitle() != kBase);
    }
    const Board before = g.board();
    w.move(3, 3);
    Item(w, QStringLiteral("mnuFileLevel%1").arg(level).toLatin1().constData())->trigger();
    QCOMPARE(w.windowTitle(), kBase);
    QCOMPARE(w.state().Playing, kFalse);
    QCOMPARE(w.timMain().interval(), 0);
    QVERIFY(IsCentred(w));
    QVERIFY(ScreenShows(w, w.state().TitleGrid));
    for (int k = 1; k <= 4; ++k)
      QCOMPARE(Item(w, QStringLiteral("mnuFileLevel%1").arg(k).toLatin1().constData())->isChecked(),
               k == level);
    QCOMPARE(w.GetLevel(), level - 1);
    // The abandoned board is left alone and answers no clicks.
    g.click(Qt::LeftButton, 4, 4);
    QCOMPARE(g.board().ViewGrid, before.ViewGrid);
    QVERIFY(ScreenShows(w, w.state().TitleGrid));
    // The next game has the new level's bombs.
    w.mnuFileStart_Click();
    QCOMPARE(g.cells('c').size(), qsizetype(std::array{20, 30, 50, 70}[level - 1]));
  }

  void firstClickOnABombLosesAndRevealsTheBoard() {
    Game g;
    frmMain& w = g.open();
    Item(w, "mnuFileStart")->trigger();
    QVERIFY(ScreenShows(w, g.board().ViewGrid));
    const QList<QPoint> bombs = g.cells('c');
    QCOMPARE(bombs.size(), qsizetype(30));
    g.click(Qt::RightButton, bombs[0].x(), bombs[0].y());  // a marked bomb still goes off
    g.click(Qt::RightButton, bombs[1].x(), bombs[1].y());  // a mark that the reveal removes
    g.clock.advance(3);
    w.timMain_Timer();
    const QString lastClock = w.windowTitle();
    g.click(Qt::LeftButton, bombs[0].x(), bombs[0].y());
    QCOMPARE(w.state().Playing, kFalse);
    QCOMPARE(w.timMain().interval(), 0);
    QCOMPARE(g.board().ViewGrid, g.board().MineGrid);
    QCOMPARE(g.cells('f').size(), qsizetype(1));
    QCOMPARE(g.cells('c').size(), qsizetype(29));
    QCOMPARE(w.windowTitle(), lastClock);
    QVERIFY(ScreenShows(w, g.board().ViewGrid));
    // Later clicks and ticks change nothing.
    const Board lost = g.board();
    g.click(Qt::RightButton, 0, 0);
    g.click(Qt::LeftButton, bombs[2].x(), bombs[2].y());
    g.clock.advance(3);
    w.timMain_Timer();
    QCOMPARE(g.board().ViewGrid, lost.ViewGrid);
    QCOMPARE(w.windowTitle(), lastClock);
  }

  void regionOpensAndMarksCycle() {
    Game g;
    frmMain& w = g.open();
    w.mnuFileStart_Click();
    QPoint empty(-1, -1);
    for (const QPoint& p : g.cells('a')) { empty = p; break; }
    QVERIFY(empty.x() >= 0);
    g.click(Qt::LeftButton, empty.x(), empty.y());
    int opened = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) opened += g.board().ViewGrid.at(x, y) != 'b';
    QVERIFY(opened > 1);
    QVERIFY(ScreenShows(w, g.board().ViewGrid));
    g.click(Qt::RightButton, empty.x(), empty.y());  // an open cell takes no mark
    QCOMPARE(g.board().ViewGrid.at(empty.x(), empty.y()), 'a');

    const QPoint bomb = g.cells('c').first();
    g.click(Qt::MiddleButton, bomb.x(), bomb.y());  // neither opens nor marks
    QCOMPARE(g.board().ViewGrid.at(bomb.x(), bomb.y()), 'b');
    for (char expected : {'e', 'd', 'b', 'e'}) {
      g.click(Qt::RightButton, bomb.x(), bomb.y());
      QCOMPARE(g.board().ViewGrid.at(bomb.x(), bomb.y()), expected);
      QVERIFY(ScreenShows(w, g.board().ViewGrid));
    }
  }

  void clockRunsInTheCaption() {
    Game g;
    frmMain& w = g.open();
    w.mnuFileStart_Click();
    QCOMPARE(w.timMain().interval(), 500);
    QCOMPARE(w.windowTitle(), kBase);  // the first tick writes the clock
    QTRY_COMPARE_WITH_TIMEOUT(w.windowTitle(), kBase + QStringLiteral("  [ 0:00:00 ]"), 2000);
    g.clock.advance(67);
    w.timMain_Timer();
    QCOMPARE(w.windowTitle(), kBase + QStringLiteral("  [ 0:01:07 ]"));
    // Starting again deals a new board, covered, and restarts the clock.
    g.click(Qt::RightButton, 0, 0);
    const Grid oldMines = g.board().MineGrid;
    w.mnuFileStart_Click();
    QCOMPARE(g.board().ViewGrid.at(0, 0), 'b');
    QVERIFY(g.board().MineGrid != oldMines);
    QVERIFY(ScreenShows(w, g.board().ViewGrid));
    w.timMain_Timer();
    QCOMPARE(w.windowTitle(), kBase + QStringLiteral("  [ 0:00:00 ]"));
  }

  void qualifyingClearRegistersAndShowsTheRanking_data() {
    QTest::addColumn<int>("level");
    for (int level = 0; level < 4; ++level) QTest::addRow("level %d", level) << level;
  }
  void qualifyingClearRegistersAndShowsTheRanking() {
    QFETCH(int, level);
    const char* const captions[] = {"簡単", "普通", "難しい", "超むず"};
    Game g;
    frmMain& w = g.open();
    Item(w, QStringLiteral("mnuFileLevel%1").arg(level + 1).toLatin1().constData())->trigger();
    w.mnuFileStart_Click();
    g.clock.advance(67);
    w.timMain_Timer();  // the clock in the caption goes with the win
    QString display;
    WhenModal<frmScoreInput>([&](frmScoreInput* input) {
      QCOMPARE(input->windowTitle(), kBase + QStringLiteral(" [ ﾗﾝｷﾝｸﾞ登録 ]"));
      QCOMPARE(input->findChild<QLabel*>(QStringLiteral("lblTime"))->text(),
               QStringLiteral("0:01:07"));
      QCOMPARE(input->findChild<QLabel*>(QStringLiteral("lblLevel"))->text(),
               QString::fromUtf8(captions[level]));
      // Typed through the name filter.
      input->findChild<QLineEdit*>()->insert(QStringLiteral("山田 太郎"));
      QTest::mouseClick(input->findChild<QPushButton*>(), Qt::LeftButton);
    });
    WhenModal<frmScore>([&](frmScore* score) {
      QCOMPARE(score->shownLevel(), level);
      for (const char* column : {"lblName_0", "lblTime_0", "lblDate_0"})
        display += score->findChild<QLabel*>(QString::fromLatin1(column))->text() + QLatin1Char('|');
      display.chop(1);
      score->close();
    });
    g.markAllBombs();
    QCOMPARE(w.windowTitle(), kBase);
    QCOMPARE(w.state().Playing, kFalse);
    QCOMPARE(display, QStringLiteral("山田 太郎|0:01:07|2026/12/07 14:06:16"));
    QByteArray expected;
    for (int line = 0; line < 40; ++line) {
      if (line == 10 * level)
        expected += "\"" + QByteArray::number(level) +
                    "\",\"0\",\"\x8e\x52\x93\x63 \x91\xbe\x98\x59\",\"0:01:07\","
                    "\"2026/12/07 14:06:16\"\r\n";
      else if (line / 10 == level)
        expected += "\"\",\"" + QByteArray::number(line % 10) + "\",\"\",\"\",\"\"\r\n";
      else
        expected += "\"\",\"\",\"\",\"\",\"\"\r\n";
    }
    QCOMPARE(ReadFile(g.rankingPath()), expected);
  }

  void slowClearShowsTheCongratulationBox() {
    Game g;
    {
      QFile f(g.rankingPath());
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(FullLevel1("0:00:05"));  // a time equal to the tenth is refused
    }
    const QByteArray before = ReadFile(g.rankingPath());
    frmMain& w = g.open();
    w.mnuFileStart_Click();
    g.clock.advance(5);
    bool shown = false;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
      shown = true;
      QCOMPARE(box->text(), QStringLiteral("おめでとうございます\n\n0:00:05"));  // CR CR LF shown as an empty line
      QCOMPARE(box->windowTitle(), QStringLiteral("Vornel"));
      QCOMPARE(box->icon(), QMessageBox::NoIcon);
      QCOMPARE(box->buttons().size(), qsizetype(1));
      box->button(QMessageBox::Ok)->click();
    });
    g.markAllBombs();
    QVERIFY(shown);
    QCOMPARE(ReadFile(g.rankingPath()), before);
    QCOMPARE(w.windowTitle(), kBase);
    QCOMPARE(w.timMain().interval(), 0);
    // A win reveals nothing: the marks and the covered cells stay.
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        QCOMPARE(g.board().ViewGrid.at(x, y), g.board().MineGrid.is(x, y, 'c') ? 'e' : 'b');
    QVERIFY(ScreenShows(w, g.board().ViewGrid));
  }

  void closingRegistrationStoresNothingButShowsTheRanking() {
    Game g;
    frmMain& w = g.open();
    w.mnuFileStart_Click();
    bool displayed = false;
    WhenModal<frmScoreInput>([](frmScoreInput* input) {
      QTest::keyClicks(input->findChild<QLineEdit*>(), QStringLiteral("abc"));
      input->close();
    });
    WhenModal<frmScore>([&](frmScore* score) {
      displayed = true;
      score->close();
    });
    g.markAllBombs();
    QVERIFY(displayed);
    QVERIFY(!QFile::exists(g.rankingPath()));
    QVERIFY(w.state().result.ResultName.isEmpty());
    QCOMPARE(w.state().Ranking.at(1, 0).Time, QString());
  }

  void failedSaveKeepsTheOldFileAndSaysSo() {
    Game g;
    {
      QFile f(g.rankingPath());
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(FullLevel1("0:09:00"));
    }
    const QByteArray before = ReadFile(g.rankingPath());
    frmMain& w = g.open();
    w.mnuFileStart_Click();
    // A disk that takes no more than 64 bytes per file.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString message;
    WhenModal<frmScoreInput>([&](frmScoreInput* input) {
      QTest::keyClicks(input->findChild<QLineEdit*>(), QStringLiteral("name"));
      WhenModal<QMessageBox>([&](QMessageBox* box) {
        message = box->text();
        box->button(QMessageBox::Ok)->click();
      });
      QTest::mouseClick(input->findChild<QPushButton*>(), Qt::LeftButton);
    });
    WhenModal<frmScore>([](frmScore* score) { score->close(); });
    g.markAllBombs();
    setrlimit(RLIMIT_FSIZE, &saved);
    QCOMPARE(message, QStringLiteral("ランキングを保存できませんでした。\n") + g.rankingPath() +
                          QStringLiteral("：ファイルが大きすぎて書き込めません。"));
    QCOMPARE(ReadFile(g.rankingPath()), before);
    // The game goes on: a new one starts and plays.
    w.mnuFileStart_Click();
    QCOMPARE(w.state().Playing, kTrue);
  }

  void rankingAndVersionCommandsShowFreshDialogs() {
    Game g;
    frmMain& w = g.open();
    Item(w, "mnuFileLevel3")->trigger();
    w.mnuFileStart_Click();  // the dialogs' captions take no clock
    g.clock.advance(9);
    w.timMain_Timer();
    for (int round = 0; round < 2; ++round) {
      WhenModal<frmScore>([](frmScore* score) {
        QCOMPARE(score->windowTitle(), kBase + QStringLiteral(" [ ｽｺｱﾗﾝｷﾝｸﾞ ]"));
        QCOMPARE(score->shownLevel(), 2);
        score->findChild<QComboBox*>()->setCurrentIndex(0);
        QCOMPARE(score->shownLevel(), 0);
        score->close();
      });
      Item(w, "mnuRankRank")->trigger();
    }
    WhenModal<frmAbout>([](frmAbout* about) {
      QCOMPARE(about->windowTitle(), kBase + QStringLiteral(" [ ﾊﾞｰｼﾞｮﾝ情報 ]"));
      about->close();
    });
    Item(w, "mnuVersion")->trigger();
    QCOMPARE(w.state().Playing, kTrue);  // a game goes on behind the dialog
  }

  void closingEndsTheProgram() {
    Game g;
    frmMain& w = g.open();
    QSignalSpy unloaded(&w, &frmMain::unloaded);
    Item(w, "mnuFileExit")->trigger();
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!w.isVisible());
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
