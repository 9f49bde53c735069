#include "dialogs/frmAbout.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "winkit/DesignFont.h"
#include "winkit/DialogLayout.h"
#include "winkit/PictureBox.h"
#include "winkit/SpokenNote.h"
#include "winkit/Twips.h"

namespace {

using vornel::AddLabel;

constexpr int kClientWidth = 374;
constexpr int kClientHeight = 175;

}  // namespace

frmAbout::frmAbout(const QString& baseCaption, const QImage& icon32, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  Form_Load(baseCaption, icon32);
}

QString frmAbout::VersionText() {
  return QStringLiteral("「Vornel Ver%1.%2.%3」\r\n")
      .arg(VORNEL_VERSION_MAJOR)
      .arg(VORNEL_VERSION_MINOR)
      .arg(VORNEL_VERSION_PATCH);
}

void frmAbout::Form_Load(const QString& baseCaption, const QImage& icon32) {
  vornel::MakeToolWindow(this);
  vornel::UseDesignFont(this);
  setWindowModality(Qt::ApplicationModal);
  setWindowTitle(baseCaption + QStringLiteral(" [ ﾊﾞｰｼﾞｮﾝ情報 ]"));
  setFixedSize(kClientWidth, kClientHeight);

  // Created in tab order; only the button takes the focus.
  lblVersion = AddLabel(this, "lblVersion", VersionText(), {16, 13, 187, 12}, false);
  // The label is one line high: the line break after the name stays hidden.
  lblVersion->setFixedHeight(lblVersion->fontMetrics().height());
  const QLabel* Label1 = AddLabel(this, "Label1", QStringLiteral("ご利用頂きありがとうございます。"),
                                  {62, 38, 170, 12}, false);
  const QLabel* Label2 = AddLabel(this, "Label2", QStringLiteral("URL "), {62, 59, 142, 12}, false);
  const QLabel* Label3 = AddLabel(
      this, "Label3", QStringLiteral("ホームページ上にてランキングを掲載します。"), {13, 96, 230, 12}, true);
  const QLabel* Label4 = AddLabel(this, "Label4", QStringLiteral("名前、難易度、クリアタイム、クリア日時"),
                                  {13, 115, 199, 12}, true);

  cmdOK = vornel::AddButton(this, "cmdOK", QStringLiteral("O K"), {318, 142, 46, 22});
  connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

  const QLabel* Label5 = AddLabel(this, "Label5", QStringLiteral("mailto : "), {14, 152, 142, 12}, false);

  Picture1 = new vornel::PictureBox(this);
  Picture1->setObjectName(QStringLiteral("Picture1"));
  Picture1->setGeometry(14, 35, 36, 36);
  Picture1->setPicture(icon32);

  auto* rule = new QLabel(this);
  rule->setObjectName(QStringLiteral("Label6"));
  rule->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  rule->setLineWidth(1);
  rule->setGeometry(6, 82, 362, 4);

  const QLabel* Label7 = AddLabel(
      this, "Label7", QStringLiteral("を下記メールアドレスに送って下さい。"), {14, 131, 191, 12}, true);

  // Label3, Label4 and Label7 are one message.
  vornel::ReadWithDialog(this, {lblVersion, Label1, Label2, Label3, Label4, Label7, Label5});
  cmdOK->setFocus();
  vornel::CentreOnScreen(this);
}

void frmAbout::cmdOK_Click() { close(); }
