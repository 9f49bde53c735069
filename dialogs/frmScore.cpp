#include "dialogs/frmScore.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>
#include <algorithm>

#include "board/Level.h"
#include "winkit/DesignFont.h"
#include "winkit/DialogLayout.h"
#include "winkit/ReadableRows.h"
#include "winkit/SpokenNote.h"
#include "winkit/Twips.h"

namespace {

using vornel::Px;
using vornel::PxRect;

constexpr int kClientWidth = 423;   // 6345 twips
constexpr int kClientHeight = 265;  // 3975 twips
constexpr int kRowStep = 270;       // twips from one row of the table to the next

QString IndexedName(const char* name, int index) {
  return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

// Text starts at the top of a label, as the layout assumes; a font taller
// than the design one makes the label taller rather than cut its text.
QLabel* AddLabel(QWidget* parent, const QString& name, QRect designed,
                 Qt::Alignment horizontal = Qt::AlignLeft) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);  // names come from a file the user can edit
  label->setAlignment(horizontal | Qt::AlignTop);
  if (designed.height() < label->fontMetrics().height()) {
    designed.setHeight(label->fontMetrics().height());
  }
  label->setGeometry(designed);
  return label;
}

// Keeps the designed box but lets it grow to its text, away from the side it
// is aligned to, so a font larger than the design one does not cut the text.
void FitText(QLabel* label, const QRect& designed) {
  const QSize hint = label->sizeHint();
  QRect box = designed;
  box.setHeight(std::max(box.height(), hint.height()));
  if (hint.width() > box.width()) {
    if (label->alignment() & Qt::AlignRight) {
      box.setLeft(designed.right() + 1 - hint.width());
    } else {
      box.setWidth(hint.width());
    }
  }
  label->setGeometry(box);
}

// A label sized to its text, from its designed top-left corner.
void SizeToText(QLabel* label, const QRect& designed) {
  label->setGeometry(QRect(designed.topLeft(), label->sizeHint()));
}

// The bordered, transparent, empty label that draws one cell of the grid.
void AddCell(QWidget* parent, const char* name, int index, const QRect& designed) {
  QLabel* cell = AddLabel(parent, IndexedName(name, index), designed);
  cell->setFrameStyle(QFrame::Box | QFrame::Plain);
  cell->setLineWidth(1);
}

// A place as a screen reader reads it: "1位 山田 0:01:23 2026/12/07 17:15:00",
// or "2位 空き" where the row is empty.
QString PlaceText(int place, const QStringList& shown) {
  QStringList words{QStringLiteral("%1位").arg(place + 1)};
  for (const QString& text : shown)
    if (!text.isEmpty()) words << text;
  if (words.size() == 1) words << QStringLiteral("空き");
  return words.join(u' ');
}

QRect NameRect(int i) { return PxRect(810, 810 + kRowStep * i, 2310, 180); }
QRect TimeRect(int i) { return PxRect(3390, 810 + kRowStep * i, 720, 180); }
QRect DateRect(int i) { return PxRect(4500, 810 + kRowStep * i, 1665, 180); }

}  // namespace

frmScore::frmScore(const QString& baseCaption, const vornel::Ranking& ranking, int checkedLevel,
                   QWidget* parent)
    : QDialog(parent), ranking_(ranking), checkedLevel_(checkedLevel) {
  setObjectName(QStringLiteral("frmScore"));
  Form_Load(baseCaption);
}

int frmScore::shownLevel() const { return cmbLevel->currentIndex(); }

void frmScore::Form_Load(const QString& baseCaption) {
  vornel::MakeToolWindow(this);
  vornel::UseDesignFont(this);
  setWindowModality(Qt::ApplicationModal);
  setWindowTitle(baseCaption + QStringLiteral(" [ ｽｺｱﾗﾝｷﾝｸﾞ ]"));
  setFixedSize(kClientWidth, kClientHeight);

  // Only the button and the list take the focus, the button first.
  cmdExit =
      vornel::AddButton(this, "cmdExit", QStringLiteral("閉じる"), PxRect(5325, 3540, 885, 360));
  connect(cmdExit, &QPushButton::clicked, this, &frmScore::cmdExit_Click);

  cmbLevel = new QComboBox(this);
  cmbLevel->setObjectName(QStringLiteral("cmbLevel"));
  cmbLevel->setEditable(false);
  cmbLevel->setGeometry(PxRect(735, 45, 1215, 300));
  connect(cmbLevel, &QComboBox::currentIndexChanged, this, &frmScore::cmbLevel_Click);
  setTabOrder(cmdExit, cmbLevel);

  QLabel* caption = AddLabel(this, QStringLiteral("Label7"), PxRect(150, 90, 495, 180));
  caption->setText(QStringLiteral("レベル"));
  SizeToText(caption, PxRect(150, 90, 495, 180));

  const struct {
    const char* name;
    QString text;
    int left;
  } headings[] = {
      {"Label1", QStringLiteral("順位"), 210},
      {"Label2", QStringLiteral("名前"), 1770},
      {"Label3", QStringLiteral("記録"), 3615},
      {"Label4", QStringLiteral("日時"), 4650},
  };
  for (const auto& h : headings) {
    QLabel* heading = AddLabel(this, QString::fromLatin1(h.name), PxRect(h.left, 495, 360, 180));
    heading->setText(h.text);
    FitText(heading, PxRect(h.left, 495, 360, 180));
  }

  // The grid first, so the texts lie on top of it.
  for (int i = 0; i < vornel::kShownPlaces; ++i) {
    const int top = 765 + kRowStep * i;
    AddCell(this, "Label5", i, PxRect(120, top, 540, 270));
    AddCell(this, "Label6", i, PxRect(675, top, 2565, 270));
    AddCell(this, "Label6", i + 10, PxRect(3255, top, 1095, 270));
  }
  // The date column is numbered from the bottom row up.
  for (int index = 20; index < 30; ++index) {
    AddCell(this, "Label6", index, PxRect(4365, 765 + kRowStep * (29 - index), 1860, 270));
  }

  for (int i = 0; i < vornel::kShownPlaces; ++i) {
    const QRect designed =
        i == 9 ? PxRect(300, 3240, 180, 180) : PxRect(345, 810 + kRowStep * i, 90, 180);
    QLabel* number = AddLabel(this, IndexedName("lblRankNum", i), designed, Qt::AlignRight);
    number->setText(QString::number(i + 1));
    FitText(number, designed);

    lblName[i] = AddLabel(this, IndexedName("lblName", i), NameRect(i));
    lblTime[i] = AddLabel(this, IndexedName("lblTime", i), TimeRect(i), Qt::AlignRight);
    lblDate[i] = AddLabel(this, IndexedName("lblDate", i), DateRect(i));
  }

  // After the list in the tab order, for a screen reader only.
  auto* rows = new vornel::ReadableRows(this, QStringLiteral("ランキング"), vornel::kShownPlaces,
                                        [this](int i) { return PlaceText(i, ShownPlace(i)); });
  rows->setGeometry(PxRect(120, 765, 6105, kRowStep * vornel::kShownPlaces));
  setTabOrder(cmbLevel, rows);

  cmdExit->setFocus();
  vornel::CentreOnScreen(this);
  FillRanking();
}

QStringList frmScore::ShownPlace(int i) const {
  return {lblName[i]->text(), lblTime[i]->text(), lblDate[i]->text()};
}

QString frmScore::ShownList() const {
  QStringList places{cmbLevel->currentText()};
  for (int i = 0; i < vornel::kShownPlaces; ++i) {
    const QStringList shown = ShownPlace(i);
    if (!shown.join(QString()).isEmpty()) places << PlaceText(i, shown);
  }
  if (places.size() == 1) places << QStringLiteral("登録なし");
  return places.join(u'、');
}

void frmScore::FillRanking() {
  {
    // Filling the list must not show a level before the checked one is picked.
    const QSignalBlocker quiet(cmbLevel);
    cmbLevel->clear();
    for (const vornel::LevelInfo& level : vornel::kLevels) {
      cmbLevel->addItem(QString::fromUtf8(level.caption));
    }
  }
  const bool known = checkedLevel_ >= 0 && checkedLevel_ < vornel::kLevelCount;
  cmbLevel->setCurrentIndex(known ? checkedLevel_ : -1);
  cmbLevel_Click(cmbLevel->currentIndex());
}

void frmScore::cmbLevel_Click(int index) {
  const bool known = index >= 0 && index < vornel::kLevelCount;
  for (int i = 0; i < vornel::kShownPlaces; ++i) {
    const vornel::RankEntry empty;
    const vornel::RankEntry& entry = known ? ranking_.at(index, i) : empty;
    lblName[i]->setText(entry.Name);
    lblTime[i]->setText(entry.Time);
    FitText(lblTime[i], TimeRect(i));
    lblDate[i]->setText(entry.Date);
    SizeToText(lblDate[i], DateRect(i));
  }
  // Read with the dialog as it opens, and told when the player picks
  // another level.
  if (!vornel::ScreenReaderListens()) return;
  if (isVisible()) {
    vornel::Say(ShownList());
  } else {
    setAccessibleDescription(ShownList());
  }
}

void frmScore::cmdExit_Click() { close(); }
