#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "about/frmAbout.h"
#include "tests/dialogs/DialogChecks.h"

namespace {

const QString kBase = QStringLiteral("Vornel Ver1.0.0");

QPixmap TestIcon() {
  QPixmap icon(32, 32);
  icon.fill(Qt::gray);
  QPainter painter(&icon);
  painter.fillRect(4, 4, 10, 20, Qt::red);
  return icon;
}

}  // namespace

class AboutDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void windowAndCaption() {
    frmAbout dialog(kBase, TestIcon());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Vornel Ver1.0.0 [ ﾊﾞｰｼﾞｮﾝ情報 ]"));
    dialogs_test::CheckWindowConventions(dialog, {374, 175});
  }

  void texts_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::newRow("version") << "lblVersion" << QStringLiteral("「Vornel Ver1.0.0」\r\n");
    QTest::newRow("thanks") << "Label1" << QStringLiteral("ご利用頂きありがとうございます。");
    QTest::newRow("url") << "Label2" << QStringLiteral("URL ");
    QTest::newRow("published") << "Label3"
                               << QStringLiteral("ホームページ上にてランキングを掲載します。");
    QTest::newRow("what") << "Label4" << QStringLiteral("名前、難易度、クリアタイム、クリア日時");
    QTest::newRow("send") << "Label7" << QStringLiteral("を下記メールアドレスに送って下さい。");
    QTest::newRow("mail") << "Label5" << QStringLiteral("mailto : ");
    QTest::newRow("rule") << "Label6" << QString();
  }
  void texts() {
    QFETCH(QString, control);
    QFETCH(QString, text);
    frmAbout dialog(kBase, TestIcon());
    auto* label = dialog.findChild<QLabel*>(control);
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), text);
    if (!text.isEmpty()) QCOMPARE(label->textFormat(), Qt::PlainText);
  }

  void versionLineShowsOnlyItsFirstLine() {
    frmAbout dialog(kBase, TestIcon());
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("lblVersion"));
    QCOMPARE(label->pos(), QPoint(16, 13));
    QVERIFY(label->height() < 2 * label->fontMetrics().lineSpacing());
  }

  void iconFillsSunkenBox() {
    const QPixmap icon = TestIcon();
    frmAbout dialog(kBase, icon);
    auto* picture = dialog.findChild<QLabel*>(QStringLiteral("Picture1"));
    QVERIFY(picture != nullptr);
    QCOMPARE(picture->geometry(), QRect(14, 35, 36, 36));
    QCOMPARE(picture->contentsRect(), QRect(2, 2, 32, 32));
    QCOMPARE(picture->frameShadow(), QFrame::Sunken);
    // What is on screen inside the border is the icon itself.
    dialog.show();
    const QImage shown = picture->grab(picture->contentsRect()).toImage().convertToFormat(
        QImage::Format_RGB32);
    QCOMPARE(shown, icon.toImage().convertToFormat(QImage::Format_RGB32));
  }

  void okHasFocusButIsNoDefault() {
    frmAbout dialog(kBase, TestIcon());
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    QVERIFY(ok != nullptr);
    QCOMPARE(ok->text(), QStringLiteral("O K"));
    QCOMPARE(dialog.focusWidget(), ok);
    QVERIFY(!ok->isDefault());
    QVERIFY(!ok->autoDefault());
    const auto buttons = dialog.findChildren<QWidget*>();
    for (QWidget* child : buttons) {
      QVERIFY2(child == ok || child->focusPolicy() == Qt::NoFocus,
               qPrintable(child->objectName()));
    }
  }

  void okAndCloseBoxBehaveAlike_data() {
    QTest::addColumn<bool>("byButton");
    QTest::newRow("O K") << true;
    QTest::newRow("close box") << false;
  }
  void okAndCloseBoxBehaveAlike() {
    QFETCH(bool, byButton);
    frmAbout dialog(kBase, TestIcon());
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (byButton) {
      QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdOK")),
                        Qt::LeftButton);
    } else {
      dialog.close();
    }
    QVERIFY(!dialog.isVisible());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }
};

QTEST_MAIN(AboutDialogTest)
#include "tst_frmAbout.moc"
