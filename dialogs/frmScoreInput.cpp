#include "dialogs/frmScoreInput.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolTip>
#include <algorithm>
#include <utility>

#include "ranking/Ranking.h"
#include "winkit/DesignFont.h"
#include "winkit/DialogLayout.h"
#include "winkit/SpokenNote.h"
#include "winkit/Twips.h"

namespace vornel {

QValidator::State StorableNameValidator::validate(QString& input, int& pos) const {
  // Input methods here type the Unicode forms of a few signs that the
  // Japanese code page writes as their full-width look-alikes; take those,
  // so a wave dash or a minus is not refused. The box shows what is stored.
  static constexpr std::pair<char16_t, char16_t> kLookAlikes[] = {
      {u'\u301C', u'\uFF5E'},  // wave dash -> fullwidth tilde
      {u'\u2212', u'\uFF0D'},  // minus sign -> fullwidth hyphen-minus
      {u'\u2016', u'\u2225'},  // double vertical line -> parallel to
      {u'\u00A2', u'\uFFE0'},  // cent sign
      {u'\u00A3', u'\uFFE1'},  // pound sign
      {u'\u00AC', u'\uFFE2'},  // not sign
  };
  for (const auto& [from, to] : kLookAlikes) input.replace(QChar(from), QChar(to));
  if (IsStorableText(input)) return Acceptable;

  QString kept, left;
  int keptBeforeCursor = 0;
  for (qsizetype i = 0; i < input.size();) {
    // A character outside the basic plane is a pair of code units.
    const qsizetype n = input[i].isHighSurrogate() && i + 1 < input.size() ? 2 : 1;
    const QString character = input.mid(i, n);
    if (IsStorableText(character)) {
      kept += character;
      if (i < pos) keptBeforeCursor += int(n);
    } else if (!left.contains(character)) {
      left += character;
    }
    i += n;
  }
  input = kept;
  pos = keptBeforeCursor;
  emit refused(left);
  return Acceptable;
}

}  // namespace vornel

namespace {

using vornel::AddLabel;
using vornel::PxRect;

constexpr int kClientWidth = 312;   // 4680 twips
constexpr int kClientHeight = 182;  // 2730 twips

const QString kTitle = QStringLiteral("ﾗﾝｷﾝｸﾞ登録");

}  // namespace

frmScoreInput::frmScoreInput(const QString& baseCaption, const QString& resultTime,
                             const QString& levelCaption, StoreName store, QWidget* parent)
    : QDialog(parent), store_(std::move(store)) {
  setObjectName(QStringLiteral("frmScoreInput"));
  Form_Load(baseCaption, resultTime, levelCaption);
}

void frmScoreInput::Form_Load(const QString& baseCaption, const QString& resultTime,
                              const QString& levelCaption) {
  vornel::MakeToolWindow(this);
  vornel::UseDesignFont(this);
  setWindowModality(Qt::ApplicationModal);
  setWindowTitle(baseCaption + QStringLiteral(" [ ") + kTitle + QStringLiteral(" ]"));
  setFixedSize(kClientWidth, kClientHeight);

  const QLabel* Label1 = AddLabel(this, "Label1", QStringLiteral("おめでとうございます"),
                                  PxRect(255, 180, 1605, 180), true);
  const QLabel* Label2 =
      AddLabel(this, "Label2", QStringLiteral("クリアータイム ："), PxRect(854, 555, 1245, 180), true);
  lblTime = AddLabel(this, "lblTime", resultTime, PxRect(2429, 555, 1560, 180), false);
  const QLabel* Label6 =
      AddLabel(this, "Label6", QStringLiteral("レベル ："), PxRect(1454, 870, 645, 180), true);
  lblLevel = AddLabel(this, "lblLevel", levelCaption, PxRect(2415, 870, 1005, 180), true);
  QLabel* prompt = AddLabel(this, "Label4", QStringLiteral("お名前を入力して下さい"),
                            PxRect(255, 1365, 1815, 180), true);

  txtName = new QLineEdit(this);
  txtName->setObjectName(QStringLiteral("txtName"));
  txtName->setGeometry(PxRect(570, 1650, 3540, 315));
  txtName->setMaxLength(kMaxNameLength);
  // A screen reader names the box by its prompt.
  prompt->setBuddy(txtName);
  auto* filter = new vornel::StorableNameValidator(txtName);
  txtName->setValidator(filter);
  connect(filter, &vornel::StorableNameValidator::refused, this, &frmScoreInput::TellRefused);
  txtName->clear();

  // Neither default nor cancel button: Enter in the name box confirms nothing.
  cmdOK = vornel::AddButton(this, "cmdOK", QStringLiteral("O K"), PxRect(1710, 2130, 1155, 435));
  connect(cmdOK, &QPushButton::clicked, this, &frmScoreInput::cmdOK_Click);

  setTabOrder(txtName, cmdOK);
  // The prompt is read with the name box it names.
  vornel::ReadWithDialog(this, {Label1, Label2, lblTime, Label6, lblLevel});
  txtName->setFocus();
  vornel::CentreOnScreen(this);
}

void frmScoreInput::TellRefused(const QString& characters) {
  // Control characters would show as nothing; name the others.
  QString shown;
  for (const QChar c : characters)
    if (c.unicode() >= 0x20 && c.unicode() != 0x7F) shown += c;
  const QString text = shown.isEmpty()
                           ? QStringLiteral("改行などの制御文字はランキングに保存できません。")
                           : QStringLiteral("次の文字はランキングに保存できません：") + shown;
  // Over the prompt above the box, where it hides nothing still needed (a
  // tip sits some 16 pixels below the point it is given).
  QToolTip::showText(txtName->mapToGlobal(QPoint(0, -txtName->height() - 16)), text, txtName);
  // A screen reader reads no tip unless asked to.
  vornel::Say(text);
}

void frmScoreInput::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel)) return;
  QDialog::keyPressEvent(event);
}

void frmScoreInput::cmdOK_Click() {
  const QString name = txtName->text();
  if (name.isEmpty()) {
    QMessageBox box(QMessageBox::Information, kTitle, QStringLiteral("名前を入力してください。"),
                    QMessageBox::Ok, this);
    box.exec();
    return;
  }
  const vornel::SaveResult result = store_ ? store_(name) : vornel::SaveResult{true, {}};
  if (!result.saved) {
    // The entry is ranked in memory all the same, so the game goes on; the
    // player must learn that it will be lost when the program ends.
    QMessageBox box(QMessageBox::Warning, kTitle,
                    QStringLiteral("ランキングを保存できませんでした。\n") + result.message,
                    QMessageBox::Ok, this);
    box.exec();
  } else if (!result.message.isEmpty()) {
    QMessageBox box(QMessageBox::Information, kTitle, result.message, QMessageBox::Ok, this);
    box.exec();
  }
  accept();
}
