#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "board/Level.h"
#include "dialogs/frmScore.h"
#include "tests/dialogs/DialogChecks.h"

namespace {

const QString kBase = QStringLiteral("Vornel Ver" VORNEL_VERSION);

QLabel* Label(const QDialog& dialog, const char* name, int index = -1) {
  QString objectName = QString::fromLatin1(name);
  if (index >= 0) objectName += QLatin1Char('_') + QString::number(index);
  auto* label = dialog.findChild<QLabel*>(objectName);
  if (label == nullptr) qFatal("no label %s", qPrintable(objectName));
  return label;
}

QComboBox* LevelList(const QDialog& dialog) {
  return dialog.findChild<QComboBox*>(QStringLiteral("cmbLevel"));
}

// Name, time and date as shown in row i, or as stored at (level, i).
QStringList ShownRow(const QDialog& dialog, int i) {
  return {Label(dialog, "lblName", i)->text(), Label(dialog, "lblTime", i)->text(),
          Label(dialog, "lblDate", i)->text()};
}
QStringList StoredRow(const vornel::Ranking& ranking, int level, int i) {
  const vornel::RankEntry& e = ranking.at(level, i);
  return {e.Name, e.Time, e.Date};
}
const QStringList kEmptyRow{QString(), QString(), QString()};

vornel::RankEntry Entry(int level, int place) {
  return {QString::number(level), QString::number(place),
          QStringLiteral("name L%1P%2").arg(level).arg(place),
          QStringLiteral("0:0%1:%2").arg(level).arg(10 + place),
          QStringLiteral("2000/03/23 14:05:%1").arg(10 + place)};
}

// Every shown place of every level filled with text naming its level and place.
vornel::Ranking FullRanking() {
  vornel::Ranking ranking;
  for (int level = 0; level < vornel::kSavedLevels; ++level) {
    for (int place = 0; place < vornel::kShownPlaces; ++place) {
      ranking.at(level, place) = Entry(level, place);
    }
  }
  return ranking;
}

}  // namespace

class ScoreDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void contents() {
    frmScore dialog(kBase, vornel::Ranking{}, 1);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Vornel Ver" VORNEL_VERSION " [ ｽｺｱﾗﾝｷﾝｸﾞ ]"));
    dialogs_test::CheckWindowConventions(dialog, {423, 265});
    // Places: the design's twips over 15.
    dialogs_test::CheckLabels(dialog, {{"Label7", QStringLiteral("レベル"), {10, 6}},
                                       {"Label1", QStringLiteral("順位"), {14, 33}},
                                       {"Label2", QStringLiteral("名前"), {118, 33}},
                                       {"Label3", QStringLiteral("記録"), {241, 33}},
                                       {"Label4", QStringLiteral("日時"), {310, 33}}});
    QCOMPARE(LevelList(dialog)->geometry(), QRect(49, 3, 81, 20));

    QComboBox* list = LevelList(dialog);
    QVERIFY(!list->isEditable());
    const char* const names[] = {"簡単", "普通", "難しい", "超むず"};
    QCOMPARE(list->count(), 4);
    for (int k = 0; k < 4; ++k) QCOMPARE(list->itemText(k), QString::fromUtf8(names[k]));

    // Only the button and then the list take the focus; the button has it.
    auto* exit = dialog.findChild<QPushButton*>(QStringLiteral("cmdExit"));
    QCOMPARE(exit->text(), QStringLiteral("閉じる"));
    QCOMPARE(exit->geometry(), QRect(355, 236, 59, 24));
    QCOMPARE(dialog.focusWidget(), exit);
    QWidget* next = exit->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
    QCOMPARE(next, list);
    const auto children = dialog.findChildren<QWidget*>();
    QCOMPARE(std::count_if(children.begin(), children.end(),
                           [](QWidget* w) { return w->focusPolicy() != Qt::NoFocus; }),
             2);
  }

  void emptyRankingShowsOnlyRankNumbers() {
    frmScore dialog(kBase, vornel::Ranking{}, 1);
    for (int level = 0; level < vornel::kLevelCount; ++level) {
      LevelList(dialog)->setCurrentIndex(level);
      for (int i = 0; i < vornel::kShownPlaces; ++i) {
        QCOMPARE(Label(dialog, "lblRankNum", i)->text(), QString::number(i + 1));
        QCOMPARE(ShownRow(dialog, i), kEmptyRow);
      }
    }
  }

  void startsAtTheCheckedLevel() {
    const vornel::Ranking ranking = FullRanking();
    for (int checked = -1; checked < vornel::kLevelCount; ++checked) {
      frmScore dialog(kBase, ranking, checked);
      QCOMPARE(dialog.shownLevel(), checked);
      for (int i = 0; i < vornel::kShownPlaces; ++i) {
        QCOMPARE(ShownRow(dialog, i), checked < 0 ? kEmptyRow : StoredRow(ranking, checked, i));
      }
    }
  }

  // Enter presses the focused button, and the list is no button.
  void enterClosesOnTheButtonOnly() {
    frmScore dialog(kBase, vornel::Ranking{}, 1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(LevelList(dialog), Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    dialogs_test::CloseDialog(dialog, dialog.findChild<QPushButton*>(QStringLiteral("cmdExit")),
                              dialogs_test::CloseBy::EnterOnButton);
    QVERIFY(!dialog.isVisible());
  }

  void pickingALevelRefillsAtOnce() {
    const vornel::Ranking ranking = FullRanking();
    frmScore dialog(kBase, ranking, 2);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QComboBox* list = LevelList(dialog);
    QTest::keyClick(list, Qt::Key_Home);  // picks "簡単" without opening the list
    QCOMPARE(dialog.shownLevel(), 0);
    for (int i = 0; i < vornel::kShownPlaces; ++i) {
      QCOMPARE(ShownRow(dialog, i), StoredRow(ranking, 0, i));
    }
  }

  void gapAndHiddenPlaces() {
    vornel::Ranking ranking;
    ranking.at(1, 0) = Entry(1, 0);
    ranking.at(1, 3) = Entry(1, 3);
    ranking.at(1, 10) = Entry(1, 10);
    ranking.at(4, 1) = Entry(4, 1);
    frmScore dialog(kBase, ranking, 1);
    QCOMPARE(ShownRow(dialog, 0), StoredRow(ranking, 1, 0));
    QCOMPARE(ShownRow(dialog, 1), kEmptyRow);
    QCOMPARE(ShownRow(dialog, 2), kEmptyRow);
    QCOMPARE(ShownRow(dialog, 3), StoredRow(ranking, 1, 3));
    for (int i = 4; i < vornel::kShownPlaces; ++i) QCOMPARE(ShownRow(dialog, i), kEmptyRow);
  }

  void textsShowAsStoredAndUncut() {
    vornel::Ranking ranking;
    ranking.at(0, 0) = {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("<b>a&b</b> "),
                        QStringLiteral("10:00:00"), QStringLiteral("2000/03/23 14:05:09")};
    frmScore dialog(kBase, ranking, 0);
    QCOMPARE(Label(dialog, "lblName", 0)->text(), QStringLiteral("<b>a&b</b> "));
    QCOMPARE(Label(dialog, "lblName", 0)->textFormat(), Qt::PlainText);
    // A long time keeps its right edge and grows to the left.
    QLabel* time = Label(dialog, "lblTime", 0);
    QCOMPARE(time->geometry().right(), 226 + 48 - 1);
    QVERIFY(time->width() >= time->sizeHint().width());
    QLabel* date = Label(dialog, "lblDate", 0);
    QCOMPARE(date->pos(), QPoint(300, 54));
    QVERIFY(date->width() >= date->sizeHint().width());
  }

  void dateColumnCellsRunBottomUp() {
    frmScore dialog(kBase, vornel::Ranking{}, 0);
    for (int row = 0; row < vornel::kShownPlaces; ++row) {
      const QRect rankCell(8, 51 + 18 * row, 36, 18);  // 120, 765 + 270 i, 540, 270 twips
      QCOMPARE(Label(dialog, "Label5", row)->geometry(), rankCell);
      QCOMPARE(Label(dialog, "Label6", 29 - row)->geometry(), QRect(291, rankCell.y(), 124, 18));
      QCOMPARE(Label(dialog, "Label6", 10 + row)->y(), rankCell.y());
      QVERIFY(rankCell.contains(Label(dialog, "lblRankNum", row)->geometry()));
      // Right-aligned numbers end at 435 twips, "10" at 480.
      QCOMPARE(Label(dialog, "lblRankNum", row)->geometry().right() + 1, row == 9 ? 32 : 29);
      QCOMPARE(Label(dialog, "lblName", row)->pos(), QPoint(54, 54 + 18 * row));
    }
    QLabel* cell = Label(dialog, "Label6", 20);
    QCOMPARE(cell->frameShape(), QFrame::Box);
    QVERIFY(cell->text().isEmpty() && !cell->autoFillBackground());
  }
};

QTEST_MAIN(ScoreDialogTest)
#include "tst_frmScore.moc"
