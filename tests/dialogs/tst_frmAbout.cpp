#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "dialogs/frmAbout.h"
#include "tests/dialogs/DialogChecks.h"

namespace {

QImage TestIcon() {
  QImage icon(32, 32, QImage::Format_RGB32);
  icon.fill(Qt::gray);
  QPainter(&icon).fillRect(4, 4, 10, 20, Qt::red);
  return icon;
}

}  // namespace

class AboutDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void contents() {
    const QImage icon = TestIcon();
    frmAbout dialog(QStringLiteral("Vornel Ver" VORNEL_VERSION), icon);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Vornel Ver" VORNEL_VERSION " [ ﾊﾞｰｼﾞｮﾝ情報 ]"));
    dialogs_test::CheckWindowConventions(dialog, {374, 175});

    dialogs_test::CheckLabels(
        dialog, {{"lblVersion", QStringLiteral("「Vornel Ver" VORNEL_VERSION "」\r\n"), {16, 13}},
                 {"Label1", QStringLiteral("ご利用頂きありがとうございます。"), {62, 38}},
                 {"Label2", QStringLiteral("URL "), {62, 59}},
                 {"Label3", QStringLiteral("ホームページ上にてランキングを掲載します。"), {13, 96}},
                 {"Label4", QStringLiteral("名前、難易度、クリアタイム、クリア日時"), {13, 115}},
                 {"Label7", QStringLiteral("を下記メールアドレスに送って下さい。"), {14, 131}},
                 {"Label5", QStringLiteral("mailto : "), {14, 152}},
                 {"Label6", QString(), {6, 82}}});

    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    QCOMPARE(ok->text(), QStringLiteral("O K"));
    QCOMPARE(ok->geometry(), QRect(318, 142, 46, 22));
    QCOMPARE(dialog.focusWidget(), ok);
    QVERIFY(!ok->isDefault() && !ok->autoDefault());

    // The icon fills the drawing area inside the 2-pixel sunken border.
    auto* picture = dialog.findChild<QFrame*>(QStringLiteral("Picture1"));
    QCOMPARE(picture->geometry(), QRect(14, 35, 36, 36));
    QCOMPARE(picture->frameShadow(), QFrame::Sunken);
    dialog.show();
    QCOMPARE(picture->grab(QRect(2, 2, 32, 32)).toImage().convertToFormat(QImage::Format_RGB32),
             icon);
  }

  void everyWayOutClosesAlike() {
    using dialogs_test::CloseBy;
    for (const CloseBy how :
         {CloseBy::Click, CloseBy::EnterOnButton, CloseBy::Escape, CloseBy::CloseBox}) {
      frmAbout dialog(QStringLiteral("Vornel Ver" VORNEL_VERSION), TestIcon());
      QSignalSpy finished(&dialog, &QDialog::finished);
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      dialogs_test::CloseDialog(dialog, dialog.findChild<QPushButton*>(QStringLiteral("cmdOK")),
                                how);
      QVERIFY2(!dialog.isVisible(), QByteArray::number(int(how)));
      QCOMPARE(finished.count(), 1);
      QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
  }
};

QTEST_MAIN(AboutDialogTest)
#include "tst_frmAbout.moc"
