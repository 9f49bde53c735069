#pragma once
// The ranking display: the top ten of one level at a time, picked from a
// list that starts at the checked level. Build a fresh one per showing and
// exec() it; it changes nothing.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>

#include "ranking/Ranking.h"

class QComboBox;
class QLabel;
class QPushButton;

class frmScore : public QDialog {
  Q_OBJECT

 public:
  // `checkedLevel` is the index 0..3 of the checked level item, -1 for none
  // (the list then selects nothing and the rows stay empty).
  frmScore(const QString& baseCaption, const vornel::Ranking& ranking, int checkedLevel,
           QWidget* parent = nullptr);

  // The level whose rows are shown: the list's selected index, -1 for none.
  int shownLevel() const;

 private:
  void Form_Load(const QString& baseCaption);
  void FillRanking();
  void cmbLevel_Click(int index);
  void cmdExit_Click();
  // Name, time and date of place i as the rows show them, and the shown
  // level's list as a screen reader reads it.
  QStringList ShownPlace(int i) const;
  QString ShownList() const;

  vornel::Ranking ranking_;
  int checkedLevel_;
  QComboBox* cmbLevel = nullptr;
  QPushButton* cmdExit = nullptr;
  std::array<QLabel*, vornel::kShownPlaces> lblName{};
  std::array<QLabel*, vornel::kShownPlaces> lblTime{};
  std::array<QLabel*, vornel::kShownPlaces> lblDate{};
};
