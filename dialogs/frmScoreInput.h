#pragma once
// The ranking registration dialog: shows the clear time and level of a game
// that entered the top ten and takes the player's name. "O K" with a name
// hands the name to the store callback and closes (exec() gives Accepted);
// the close box closes without storing (Rejected). Escape does not close it:
// there is no cancel button, and a player cancelling an input-method
// conversion must not lose the registration.

#include <QDialog>
#include <QString>
#include <QValidator>
#include <functional>

#include "ranking/Ranking.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vornel {

// Keeps out of the name what the ranking file cannot hold: characters
// outside Shift-JIS, the double quote that delimits its fields, and control
// characters, which would break its lines apart. The rest of a typed or
// pasted text is kept, and `refused` names what was left out.
class StorableNameValidator : public QValidator {
  Q_OBJECT
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;

 signals:
  void refused(const QString& characters) const;
};

}  // namespace vornel

class frmScoreInput : public QDialog {
  Q_OBJECT

 public:
  // Stores the confirmed name (sets the candidate's name and saves the
  // ranking); says whether the ranking file was written, and what to tell.
  using StoreName = std::function<vornel::SaveResult(const QString& name)>;

  static constexpr int kMaxNameLength = 50;

  // `levelCaption` is the caption of the checked level ("普通" when none is).
  frmScoreInput(const QString& baseCaption, const QString& resultTime,
                const QString& levelCaption, StoreName store, QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Form_Load(const QString& baseCaption, const QString& resultTime,
                 const QString& levelCaption);
  void cmdOK_Click();
  void TellRefused(const QString& characters);

  StoreName store_;
  QLabel* lblTime = nullptr;
  QLabel* lblLevel = nullptr;
  QLineEdit* txtName = nullptr;
  QPushButton* cmdOK = nullptr;
};
