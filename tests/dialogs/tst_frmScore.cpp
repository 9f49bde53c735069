#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "board/Level.h"
#include "ranking/frmScore.h"
#include "tests/dialogs/DialogChecks.h"

namespace {

const QString kBase = QStringLiteral("Vornel Ver1.0.0");

QString Indexed(const char* name, int index) {
  return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

QLabel* Label(const QDialog& dialog, const QString& name) {
  auto* label = dialog.findChild<QLabel*>(name);
  if (label == nullptr) qFatal("no label %s", qPrintable(name));
  return label;
}

vornel::RankEntry Entry(int level, int place) {
  const QString tag = QStringLiteral("L%1P%2").arg(level).arg(place);
  return {QString::number(level), QString::number(place), QStringLiteral("name ") + tag,
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

struct Row {
  QString name, time, date;
  friend bool operator==(const Row&, const Row&) = default;
};

Row ShownRow(const QDialog& dialog, int i) {
  return {Label(dialog, Indexed("lblName", i))->text(), Label(dialog, Indexed("lblTime", i))->text(),
          Label(dialog, Indexed("lblDate", i))->text()};
}

Row StoredRow(const vornel::Ranking& ranking, int level, int i) {
  const vornel::RankEntry& e = ranking.at(level, i);
  return {e.Name, e.Time, e.Date};
}

QComboBox* LevelList(const QDialog& dialog) {
  return dialog.findChild<QComboBox*>(QStringLiteral("cmbLevel"));
}

}  // namespace

class ScoreDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void windowCaptionAndHeadings() {
    frmScore dialog(kBase, vornel::Ranking{}, 1);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Vornel Ver1.0.0 [ ｽｺｱﾗﾝｷﾝｸﾞ ]"));
    dialogs_test::CheckWindowConventions(dialog, {423, 265});
    QCOMPARE(Label(dialog, QStringLiteral("Label7"))->text(), QStringLiteral("レベル"));
    QCOMPARE(Label(dialog, QStringLiteral("Label1"))->text(), QStringLiteral("順位"));
    QCOMPARE(Label(dialog, QStringLiteral("Label2"))->text(), QStringLiteral("名前"));
    QCOMPARE(Label(dialog, QStringLiteral("Label3"))->text(), QStringLiteral("記録"));
    QCOMPARE(Label(dialog, QStringLiteral("Label4"))->text(), QStringLiteral("日時"));

    QComboBox* list = LevelList(dialog);
    QVERIFY(!list->isEditable());
    QCOMPARE(list->count(), vornel::kLevelCount);
    for (int k = 0; k < vornel::kLevelCount; ++k) {
      QCOMPARE(list->itemText(k), QString::fromUtf8(vornel::kLevels[k].caption));
    }
  }

  void onlyCloseAndListTakeFocus() {
    frmScore dialog(kBase, vornel::Ranking{}, 1);
    auto* exit = dialog.findChild<QPushButton*>(QStringLiteral("cmdExit"));
    QVERIFY(exit != nullptr);
    QCOMPARE(exit->text(), QStringLiteral("閉じる"));
    QCOMPARE(dialog.focusWidget(), exit);
    QVERIFY(!exit->isDefault());
    QWidget* next = exit->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
    QCOMPARE(next, LevelList(dialog));
    QList<QWidget*> focusable;
    const auto children = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
      if (child->focusPolicy() != Qt::NoFocus) focusable << child;
    }
    QCOMPARE(focusable.size(), 2);
  }

  void emptyRankingShowsOnlyRankNumbers() {
    frmScore dialog(kBase, vornel::Ranking{}, 1);
    for (int level = 0; level < vornel::kLevelCount; ++level) {
      LevelList(dialog)->setCurrentIndex(level);
      for (int i = 0; i < vornel::kShownPlaces; ++i) {
        QCOMPARE(Label(dialog, Indexed("lblRankNum", i))->text(), QString::number(i + 1));
        QCOMPARE(ShownRow(dialog, i), Row{});
      }
    }
  }

  void startsAtTheCheckedLevel_data() {
    QTest::addColumn<int>("checked");
    for (int k = 0; k < vornel::kLevelCount; ++k) {
      QTest::addRow("level %d", k) << k;
    }
  }
  void startsAtTheCheckedLevel() {
    QFETCH(int, checked);
    const vornel::Ranking ranking = FullRanking();
    frmScore dialog(kBase, ranking, checked);
    QCOMPARE(LevelList(dialog)->currentIndex(), checked);
    QCOMPARE(dialog.shownLevel(), checked);
    for (int i = 0; i < vornel::kShownPlaces; ++i) {
      QCOMPARE(ShownRow(dialog, i), StoredRow(ranking, checked, i));
    }
  }

  void noCheckedLevelShowsNoRows() {
    frmScore dialog(kBase, FullRanking(), -1);
    QCOMPARE(LevelList(dialog)->currentIndex(), -1);
    for (int i = 0; i < vornel::kShownPlaces; ++i) {
      QCOMPARE(ShownRow(dialog, i), Row{});
    }
  }

  void pickingALevelRefillsAtOnce() {
    const vornel::Ranking ranking = FullRanking();
    frmScore dialog(kBase, ranking, 2);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QComboBox* list = LevelList(dialog);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);  // picks "簡単" without opening the list
    QCOMPARE(list->currentIndex(), 0);
    for (int i = 0; i < vornel::kShownPlaces; ++i) {
      QCOMPARE(ShownRow(dialog, i), StoredRow(ranking, 0, i));
    }
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(ShownRow(dialog, 9), StoredRow(ranking, 1, 9));
  }

  void gapShowsAnEmptyRow() {
    vornel::Ranking ranking;
    ranking.at(1, 0) = Entry(1, 0);
    ranking.at(1, 3) = Entry(1, 3);
    frmScore dialog(kBase, ranking, 1);
    QCOMPARE(ShownRow(dialog, 0), StoredRow(ranking, 1, 0));
    QCOMPARE(ShownRow(dialog, 1), Row{});
    QCOMPARE(ShownRow(dialog, 2), Row{});
    QCOMPARE(ShownRow(dialog, 3), StoredRow(ranking, 1, 3));
    QCOMPARE(Label(dialog, Indexed("lblRankNum", 2))->text(), QStringLiteral("3"));
  }

  void placeTenAndBufferRowAreNeverShown() {
    vornel::Ranking ranking;
    for (int level = 0; level < vornel::kRankLevels; ++level) {
      ranking.at(level, 10) = {QString::number(level), QStringLiteral("10"),
                               QStringLiteral("hidden"), QStringLiteral("0:00:01"),
                               QStringLiteral("2000/01/01 00:00:00")};
    }
    for (int place = 0; place < vornel::kRankPlaces; ++place) {
      ranking.at(4, place).Name = QStringLiteral("hidden");
    }
    frmScore dialog(kBase, ranking, 0);
    for (int level = 0; level < vornel::kLevelCount; ++level) {
      LevelList(dialog)->setCurrentIndex(level);
      const auto labels = dialog.findChildren<QLabel*>();
      for (const QLabel* label : labels) {
        QVERIFY2(!label->text().contains(QStringLiteral("hidden")),
                 qPrintable(label->objectName()));
      }
    }
  }

  void textsShowAsStored() {
    vornel::Ranking ranking;
    ranking.at(0, 0) = {QStringLiteral("0"), QStringLiteral("0"),
                        QStringLiteral("<b>a&b</b>  "), QStringLiteral("10:00:00"),
                        QStringLiteral("2000/03/23 14:05:09")};
    frmScore dialog(kBase, ranking, 0);
    QLabel* name = Label(dialog, QStringLiteral("lblName_0"));
    QCOMPARE(name->text(), QStringLiteral("<b>a&b</b>  "));
    QCOMPARE(name->textFormat(), Qt::PlainText);
    // A long time stays right-aligned on the designed right edge and uncut.
    QLabel* time = Label(dialog, QStringLiteral("lblTime_0"));
    QCOMPARE(time->geometry().right(), 226 + 48 - 1);
    QVERIFY(time->width() >= time->sizeHint().width());
    QLabel* date = Label(dialog, QStringLiteral("lblDate_0"));
    QCOMPARE(date->pos(), QPoint(300, 54));
    QVERIFY(date->width() >= date->sizeHint().width());
  }

  void gridCellsAndDateColumnRunBottomUp() {
    frmScore dialog(kBase, vornel::Ranking{}, 0);
    for (int i = 0; i < vornel::kShownPlaces; ++i) {
      const int top = 51 + 18 * i;
      QCOMPARE(Label(dialog, Indexed("Label5", i))->geometry(), QRect(8, top, 36, 18));
      QCOMPARE(Label(dialog, Indexed("Label6", i))->geometry(), QRect(45, top, 171, 18));
      QCOMPARE(Label(dialog, Indexed("Label6", 10 + i))->geometry(), QRect(217, top, 73, 18));
      QCOMPARE(Label(dialog, Indexed("Label6", 29 - i))->geometry(), QRect(291, top, 124, 18));
      // Each row's text lies inside its row of the grid.
      const QRect row = Label(dialog, Indexed("Label5", i))->geometry();
      QCOMPARE(Label(dialog, Indexed("lblName", i))->y(), top + 3);
      QVERIFY(row.contains(Label(dialog, Indexed("lblRankNum", i))->geometry().topRight()));
    }
    QLabel* cell = Label(dialog, QStringLiteral("Label6_20"));
    QVERIFY(cell->text().isEmpty());
    QCOMPARE(cell->frameShape(), QFrame::Box);
    QVERIFY(!cell->autoFillBackground());
    QCOMPARE(Label(dialog, QStringLiteral("lblRankNum_9"))->geometry().right(), 20 + 12 - 1);
    QVERIFY(Label(dialog, QStringLiteral("lblRankNum_0"))->alignment() & Qt::AlignRight);
  }

  void closeButtonCloses() {
    frmScore dialog(kBase, vornel::Ranking{}, 1);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdExit")), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(finished.count(), 1);
  }
};

QTEST_MAIN(ScoreDialogTest)
#include "tst_frmScore.moc"
