#include "app/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <optional>

#include "assets/Assets.h"
#include "board/Level.h"
#include "board/Title.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmScore.h"
#include "dialogs/frmScoreInput.h"
#include "play/Move.h"
#include "play/Spoken.h"
#include "render/BoardPainter.h"
#include "render/ScreenBox.h"
#include "render/Surface.h"
#include "winkit/DesignFont.h"
#include "winkit/LineBreaks.h"
#include "winkit/MenuCheckMarks.h"
#include "winkit/SpokenNote.h"
#include "winkit/Twips.h"
#include "winkit/WindowFrame.h"

namespace vornel {

namespace {
constexpr int kClientSize = 372;
constexpr int kClockInterval = 500;
// The client size the window is designed with, before InitWindow fits it.
constexpr QSize kDesignClient{500, 497};
}  // namespace

frmMain::frmMain(MainDependencies deps)
    : deps_(std::move(deps)),
      picSource_(TileSheetImage()),
      // Drawn whole by Form_Load (DrawBackground, ShowTitle) before anything
      // reads them.
      picBG_(MakeSurface(false)),
      picWork_(MakeSurface(false)) {
  if (deps_.clock == nullptr) deps_.clock = &systemClock_;
  if (!deps_.seed) deps_.seed = ClockSeed;

  setWindowTitle(QStringLiteral("Form1"));
  setWindowIcon(AppIcon());
  MakeToolWindow(this);
  // The window manager frames a twin of this window while the rest is built;
  // InitWindow needs the frame to centre the window.
  ExpectFrame(this);
  // The menu bar's height is part of the window's fixed size.
  UseDesignFont(this);
  BuildMenus();
  picScreen_ = new ScreenBox(this);
  picScreen_->setObjectName(QStringLiteral("picScreen"));
  setCentralWidget(picScreen_);
  resize(kDesignClient.width(), kDesignClient.height() + menuBar()->sizeHint().height());

  connect(picScreen_, &ScreenBox::mouseUp, this, &frmMain::picScreen_MouseUp);
  connect(picScreen_, &ScreenBox::keyDown, this, &frmMain::picScreen_KeyDown);
  picScreen_->setFocus();
  connect(&timMain_, &IntervalTimer::Timer, this, &frmMain::timMain_Timer);
  Form_Load();
}

frmMain::~frmMain() = default;

namespace {
// A named item of a menu or of the bar itself, running `click`.
template <typename Parent, typename Click>
QAction* AddItem(Parent* parent, const QString& name, const QString& caption, Click click) {
  QAction* item = parent->addAction(caption);
  item->setObjectName(name);
  QObject::connect(item, &QAction::triggered, click);
  return item;
}

template <typename Parent>
QMenu* AddMenu(Parent* parent, const char* name, const QString& caption) {
  QMenu* menu = parent->addMenu(caption);
  menu->setObjectName(QString::fromLatin1(name));
  return menu;
}
}  // namespace

void frmMain::BuildMenus() {
  // In the window on every desktop: a global menu bar may not run an item of
  // the bar itself that has no menu, as the version command is. Said before
  // the bar is made, so that Qt does not look for a desktop's global menu
  // (over D-Bus) at all.
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
  QMenuBar* bar = menuBar();
  QMenu* file = AddMenu(bar, "mnuFile", QStringLiteral("ﾌｧｲﾙ(&F)"));
  AddItem(file, QStringLiteral("mnuFileStart"), QStringLiteral("ｹﾞｰﾑ開始(&S)"),
          [this] { mnuFileStart_Click(); });

  QMenu* level = AddMenu(file, "mnuFileLevel", QStringLiteral("難易度(&L)"));
  // The level commands move the check mark themselves. No action group: a
  // menu draws the items of an exclusive group with radio dots, not ticks.
  UsePlainCheckMarks(level);
  for (int i = 0; i < kLevelCount; ++i) {
    QAction* item =
        AddItem(level, QStringLiteral("mnuFileLevel%1").arg(i + 1),
                QString::fromUtf8(kLevels[i].caption), [this, i] { mnuFileLevel_Click(i + 1); });
    item->setCheckable(true);
    item->setChecked(i == kStartLevel);
    mnuFileLevelN_[i] = item;
  }
  file->addSeparator()->setObjectName(QStringLiteral("mnuDummy"));
  AddItem(file, QStringLiteral("mnuFileExit"), QStringLiteral("Vornel を終了(&X)"),
          [this] { mnuFileExit_Click(); });

  QMenu* rank = AddMenu(bar, "mnuRank", QStringLiteral("ﾗﾝｷﾝｸﾞ(&R)"));
  AddItem(rank, QStringLiteral("mnuRankRank"), QStringLiteral("ﾗﾝｷﾝｸﾞ表示(&B)"),
          [this] { mnuRankRank_Click(); });

  // An item of the bar itself: one click runs it, no menu opens.
  AddItem(bar, QStringLiteral("mnuVersion"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"),
          [this] { mnuVersion_Click(); });
}

void frmMain::Form_Load() {
  InitWindow();
  state_.rankingDisk = LoadRanking(state_.Ranking, deps_.rankingPath);
  DrawBackground();
  ShowTitle();
}

void frmMain::InitWindow() {
  setWindowTitle(QStringLiteral("Vornel Ver%1.%2.%3")
                     .arg(VORNEL_VERSION_MAJOR)
                     .arg(VORNEL_VERSION_MINOR)
                     .arg(VORNEL_VERSION_PATCH));
  state_.BaseCaption = windowTitle();

  // Fit the outer size so that the client area below the menu bar is
  // exactly 372 x 372, whatever the current size and the display scale.
  const int tx = TwipsPerPixelX(this);
  const int ty = TwipsPerPixelY(this);
  const int menuHeight = menuBar()->sizeHint().height();
  // The frame cancels out here; what Qt knows of it will do.
  const QSize outer = frameGeometry().size();
  const QSize decoration = outer - size();
  const int outerWidth = OuterForClient(double(outer.width()) * tx, width(), tx, kClientSize) / tx;
  const int outerHeight =
      OuterForClient(double(outer.height()) * ty, height() - menuHeight, ty, kClientSize) / ty;
  setFixedSize(outerWidth - decoration.width(), outerHeight - decoration.height());
  CentreOnScreen(this);

  state_.Playing = kFalse;
}

void frmMain::DrawBackground() { vornel::DrawBackground(picSource_, picBG_); }

void frmMain::ShowTitle() {
  state_.TitleGrid = MakeTitleGrid();
  titleShown_ = true;
  picScreen_->placeCursor({}, false);
  DrawTitle();
}

void frmMain::DrawGrid(const Grid& grid) {
  ComposeGrid(grid, picSource_, picBG_, picWork_);
  picScreen_->showPicture(picWork_, grid);
}

void frmMain::DrawBoard() { DrawGrid(state_.board.ViewGrid); }
void frmMain::DrawTitle() { DrawGrid(state_.TitleGrid); }

int frmMain::GetLevel() const {
  std::array<bool, 4> checked{};
  for (int i = 0; i < kLevelCount; ++i) checked[i] = mnuFileLevelN_[i]->isChecked();
  return vornel::GetLevel(checked);
}

void frmMain::mnuFileStart_Click() {
  // Only the number of bombs depends on the level; none checked places none.
  int bombs = 0;
  for (int i = 0; i < kLevelCount; ++i)
    if (mnuFileLevelN_[i]->isChecked()) bombs = kLevels[i].bombs;
  NewGame(state_.board, bombs, deps_.seed());
  titleShown_ = false;
  // The keyboard's cursor waits on the top-left cell, unseen until a key.
  picScreen_->placeCursor({}, false);
  DrawBoard();
  state_.Playing = kTrue;
  timMain_.setInterval(kClockInterval);
  state_.StartTime = TimeOfDay(deps_.clock->now());
}

void frmMain::mnuFileLevel_Click(int k) {
  timMain_.setInterval(0);
  InitWindow();
  DrawBackground();
  ShowTitle();
  for (int i = 0; i < kLevelCount; ++i) mnuFileLevelN_[i]->setChecked(i == k - 1);
}

void frmMain::mnuFileExit_Click() { close(); }

void frmMain::mnuRankRank_Click() {
  frmScore dialog(state_.BaseCaption, state_.Ranking, GetLevel());
  dialog.exec();
}

void frmMain::mnuVersion_Click() {
  frmAbout dialog(state_.BaseCaption, AppIconPicture());
  dialog.exec();
}

QString frmMain::ElapsedText(const LocalTime& now) const {
  return ClockText(ElapsedSeconds(state_.StartTime, TimeOfDay(now)));
}

void frmMain::timMain_Timer() {
  if (state_.Playing != kTrue) return;
  setWindowTitle(state_.BaseCaption + QStringLiteral("  [ ") + ElapsedText(deps_.clock->now()) +
                 QStringLiteral(" ]"));
}

void frmMain::picScreen_KeyDown(BoardKey key) {
  if (key == BoardKey::Status) {
    Say(StatusReport());
    return;
  }
  // The board of a game can be read after it ends, where the keys that act
  // are as inert as the mouse; the title holds nothing to read.
  if (titleShown_) return;
  const Cursor at = picScreen_->cursor();
  if (const auto release = ReleaseFor(at, key)) {
    picScreen_->placeCursor(at, true);
    picScreen_MouseUp(release->button, 0, release->X, release->Y);
    return;
  }
  const Cursor to = MoveCursor(at, key);
  if (to == at) Say(EdgeText(key));
  picScreen_->placeCursor(to, true);
}

QString frmMain::StatusReport() const {
  const int level = GetLevel();
  const GamePhase phase = titleShown_                 ? GamePhase::Title
                          : state_.Playing == kTrue ? GamePhase::Running
                                                    : GamePhase::Over;
  return StatusText(QString::fromUtf8(kLevels[level].caption), kLevels[level].bombs, phase,
                    state_.board.ViewGrid, ElapsedText(deps_.clock->now()));
}

void frmMain::picScreen_MouseUp(std::int16_t button, std::int16_t /*shift*/, float X, float Y) {
  // What the move did is told to a listening screen reader only.
  std::optional<Grid> before;
  if (ScreenReaderListens()) before = state_.board.ViewGrid;
  const MoveResult move = ApplyMove(state_.board, state_.Playing, button, X, Y);
  if (!move.taken) return;
  if (move.lost) timMain_.setInterval(0);
  DrawBoard();
  if (before) Say(MoveText(*before, state_.board.ViewGrid, move.lost));
  if (CheckCleared(state_.board) == kTrue) FinishGame();
}

void frmMain::FinishGame() {
  state_.Playing = kFalse;
  timMain_.setInterval(0);
  setWindowTitle(state_.BaseCaption);

  Candidate& result = state_.result;
  const int level = GetLevel();
  const LocalTime now = deps_.clock->now();
  result.ResultLevel = QString::number(level);
  result.ResultTime = ElapsedText(now);
  result.ResultDate = DateText(now);

  if (CheckRankIn(state_.Ranking, result.ResultLevel, result.ResultTime)) {
    {
      frmScoreInput input(state_.BaseCaption, result.ResultTime,
                          QString::fromUtf8(kLevels[level].caption), [this](const QString& name) {
                            state_.result.ResultName = name;
                            return SaveRanking(state_.Ranking, state_.result, deps_.rankingPath,
                                               state_.rankingDisk);
                          });
      input.exec();
    }
    frmScore score(state_.BaseCaption, state_.Ranking, level);
    score.exec();
  } else {
    // The greeting, an empty line, then the time.
    const QString text = QStringLiteral("おめでとうございます\r\r\n") + result.ResultTime;
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vornel"), ToDisplayLineBreaks(text),
                    QMessageBox::Ok);
    box.exec();
  }
}

void frmMain::closeEvent(QCloseEvent* event) {
  event->accept();
  emit unloaded();
}

}  // namespace vornel
