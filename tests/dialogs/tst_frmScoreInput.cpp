#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "ranking/Ranking.h"
#include "dialogs/frmScoreInput.h"
#include "tests/dialogs/DialogChecks.h"

namespace {

const QString kTitle = QStringLiteral("ﾗﾝｷﾝｸﾞ登録");

// A shown dialog for a 0:01:07 clear on "難しい", recording what it stores;
// the save gives `result`.
struct Fixture {
  QStringList stored;
  vornel::SaveResult result{true, {}};
  frmScoreInput dialog{QStringLiteral("Vornel Ver" VORNEL_VERSION), QStringLiteral("0:01:07"),
                       QStringLiteral("難しい"), [this](const QString& name) {
                         stored << name;
                         return result;
                       }};
  QLineEdit* name = dialog.findChild<QLineEdit*>(QStringLiteral("txtName"));
  QPushButton* ok = dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"));

  Fixture() {
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) qFatal("dialog not shown");
  }
  // Types one character at a time, as a keyboard or input method would.
  void type(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      const qsizetype n = text.at(i).isHighSurrogate() ? 2 : 1;
      QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, text.mid(i, n), Qt::NoModifier);
      i += n - 1;
    }
  }
};

}  // namespace

class ScoreInputDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void contents() {
    Fixture f;
    QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Vornel Ver" VORNEL_VERSION " [ ﾗﾝｷﾝｸﾞ登録 ]"));
    dialogs_test::CheckWindowConventions(f.dialog, {312, 182});
    // Places: the design's twips over 15, to the nearest pixel.
    dialogs_test::CheckLabels(f.dialog,
                              {{"Label1", QStringLiteral("おめでとうございます"), {17, 12}},
                               {"Label2", QStringLiteral("クリアータイム ："), {57, 37}},
                               {"lblTime", QStringLiteral("0:01:07"), {162, 37}},
                               {"Label6", QStringLiteral("レベル ："), {97, 58}},
                               {"lblLevel", QStringLiteral("難しい"), {161, 58}},
                               {"Label4", QStringLiteral("お名前を入力して下さい"), {17, 91}}});
    QCOMPARE(f.name->geometry(), QRect(38, 110, 236, 21));
    QCOMPARE(f.ok->geometry(), QRect(114, 142, 77, 29));
    QCOMPARE(f.ok->text(), QStringLiteral("O K"));
    QVERIFY(f.name->text().isEmpty());
    QCOMPARE(f.dialog.focusWidget(), f.name);
    f.type(QString(60, QLatin1Char('x')));
    QCOMPARE(f.name->text(), QString(50, QLatin1Char('x')));
  }

  // Enter in the name box confirms nothing, nor does Escape cancel; Enter on
  // the button, reached with Tab, presses it.
  void enterConfirmsOnlyOnTheButtonAndEscapeKeepsTheDialog() {
    Fixture f;
    f.type(QStringLiteral("Taro"));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
      QTest::keyClick(f.name, key);
      QTest::keyClick(&f.dialog, key);
    }
    QVERIFY(f.dialog.isVisible());
    QVERIFY(f.stored.isEmpty());
    QTest::keyClick(f.name, Qt::Key_Tab);
    QCOMPARE(f.dialog.focusWidget(), f.ok);
    QTest::keyClick(f.ok, Qt::Key_Escape);
    QVERIFY(f.dialog.isVisible());
    QTest::keyClick(f.ok, Qt::Key_Enter);
    QCOMPARE(f.stored, QStringList{QStringLiteral("Taro")});
    QVERIFY(!f.dialog.isVisible());
  }

  void emptyNameIsRefusedWithABox() {
    Fixture f;
    for (int attempt = 0; attempt < 2; ++attempt) {
      dialogs_test::BoxWatcher watcher;
      QTest::mouseClick(f.ok, Qt::LeftButton);
      const dialogs_test::SeenBox& box = watcher.seen();
      QVERIFY(box.seen);
      QCOMPARE(box.text, QStringLiteral("名前を入力してください。"));
      QCOMPARE(box.title, kTitle);
      QCOMPARE(box.icon, QMessageBox::Information);
      QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
      QVERIFY(f.dialog.isVisible());
    }
    QVERIFY(f.stored.isEmpty());
  }

  void nameIsStoredAsTyped_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("spaces only") << QStringLiteral("   ");
    QTest::newRow("kanji with spaces") << QStringLiteral(" 山田 太郎 ");
    QTest::newRow("half-width kana") << QStringLiteral("ﾀﾛｳ");
    QTest::newRow("comma and markup") << QStringLiteral("a,<b>&");
  }
  void nameIsStoredAsTyped() {
    QFETCH(QString, name);
    Fixture f;
    f.type(name);
    QTest::mouseClick(f.ok, Qt::LeftButton);
    QCOMPARE(f.stored, QStringList{name});
    QVERIFY(!f.dialog.isVisible());
    QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
  }

  // The file can hold neither a double quote, nor a line break, nor what
  // Shift-JIS cannot encode: such characters are left out of what is typed
  // or pasted, the rest is kept, and the player is told which.
  void unstorableCharactersAreLeftOutAndNamed_data() {
    QTest::addColumn<QString>("bad");
    QTest::addColumn<QString>("told");
    const QString named = QStringLiteral("次の文字はランキングに保存できません：");
    QTest::newRow("double quote") << QStringLiteral("\"") << named + QStringLiteral("\"");
    QTest::newRow("emoji") << QStringLiteral("😀") << named + QStringLiteral("😀");
    QTest::newRow("hangul twice") << QStringLiteral("한한") << named + QStringLiteral("한");
    QTest::newRow("line break") << QStringLiteral("\r\n")
                                << QStringLiteral("改行などの制御文字はランキングに保存できません。");
  }
  void unstorableCharactersAreLeftOutAndNamed() {
    QFETCH(QString, bad);
    QFETCH(QString, told);
    Fixture f;
    f.type(QStringLiteral("a") + bad + QStringLiteral("b"));
    QCOMPARE(f.name->text(), QStringLiteral("ab"));
    QToolTip::hideText();
    f.name->setCursorPosition(1);
    f.name->insert(QStringLiteral("x") + bad + QStringLiteral("y"));  // as a paste would
    QCOMPARE(f.name->text(), QStringLiteral("axyb"));
    QCOMPARE(f.name->cursorPosition(), 3);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), told);
    QToolTip::hideText();
  }

  // Signs that input methods type in their Unicode form become the code
  // page's look-alikes in the box, and are stored as shown. The yen and
  // overline keys stay as typed: the file keeps them as 0x5C and 0x7E.
  void keyboardSignsAreTakenAsTheCodePageHasThem() {
    Fixture f;
    f.type(QStringLiteral("\u00A5100\u203E"));
    f.name->insert(QStringLiteral("A\u301CB\u2212C"));
    const QString shown = QStringLiteral("\u00A5100\u203EA\uFF5EB\uFF0DC");
    QCOMPARE(f.name->text(), shown);
    QVERIFY(!QToolTip::isVisible());
    QTest::mouseClick(f.ok, Qt::LeftButton);
    QCOMPARE(f.stored, QStringList{shown});
    QVERIFY(vornel::IsStorableText(f.stored.first()));
  }

  void closeBoxStoresNothing() {
    Fixture f;
    f.type(QStringLiteral("Taro"));
    f.dialog.close();
    QVERIFY(!f.dialog.isVisible());
    QCOMPARE(f.dialog.result(), int(QDialog::Rejected));
    QVERIFY(f.stored.isEmpty());
  }

  void failedSaveIsReportedAndTheDialogCloses_data() {
    QTest::addColumn<bool>("saved");
    QTest::newRow("failed") << false;
    QTest::newRow("saved, a note shown as it is") << true;
  }
  void failedSaveIsReportedAndTheDialogCloses() {
    QFETCH(bool, saved);
    Fixture f;
    f.result = {saved, QStringLiteral("No space left on device")};
    f.type(QStringLiteral("Taro"));
    dialogs_test::BoxWatcher watcher;
    QTest::mouseClick(f.ok, Qt::LeftButton);
    const dialogs_test::SeenBox& box = watcher.seen();
    QVERIFY(box.seen);
    QCOMPARE(box.icon, saved ? QMessageBox::Information : QMessageBox::Warning);
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.text,
             (saved ? QString() : QStringLiteral("ランキングを保存できませんでした。\n")) +
                 QStringLiteral("No space left on device"));
    QCOMPARE(f.stored, QStringList{QStringLiteral("Taro")});
    QVERIFY(!f.dialog.isVisible());
  }
};

QTEST_MAIN(ScoreInputDialogTest)
#include "tst_frmScoreInput.moc"
