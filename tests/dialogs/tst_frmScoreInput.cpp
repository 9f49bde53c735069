#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "ranking/frmScoreInput.h"
#include "tests/dialogs/DialogChecks.h"

namespace {

const QString kBase = QStringLiteral("Vornel Ver1.0.0");
const QString kTitle = QStringLiteral("ﾗﾝｷﾝｸﾞ登録");

// Records what the dialog hands over for storing; fails the save on request.
struct Store {
  QStringList names;
  std::optional<QString> failure;
  frmScoreInput::StoreName callback() {
    return [this](const QString& name) {
      names << name;
      return failure;
    };
  }
};

// Types `text` one character at a time, as a keyboard or input method would.
void Type(QWidget* widget, const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, n), Qt::NoModifier);
    i += n - 1;
  }
}

QLineEdit* NameBox(QDialog& dialog) {
  return dialog.findChild<QLineEdit*>(QStringLiteral("txtName"));
}
QPushButton* OkButton(QDialog& dialog) {
  return dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"));
}

}  // namespace

class ScoreInputDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void windowAndCaption() {
    Store store;
    frmScoreInput dialog(kBase, QStringLiteral("0:01:07"), QStringLiteral("難しい"),
                         store.callback());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Vornel Ver1.0.0 [ ﾗﾝｷﾝｸﾞ登録 ]"));
    dialogs_test::CheckWindowConventions(dialog, {312, 182});
  }

  void texts_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::newRow("greeting") << "Label1" << QStringLiteral("おめでとうございます");
    QTest::newRow("time caption") << "Label2" << QStringLiteral("クリアータイム ：");
    QTest::newRow("time") << "lblTime" << QStringLiteral("0:01:07");
    QTest::newRow("level caption") << "Label6" << QStringLiteral("レベル ：");
    QTest::newRow("level") << "lblLevel" << QStringLiteral("難しい");
    QTest::newRow("prompt") << "Label4" << QStringLiteral("お名前を入力して下さい");
  }
  void texts() {
    QFETCH(QString, control);
    QFETCH(QString, text);
    Store store;
    frmScoreInput dialog(kBase, QStringLiteral("0:01:07"), QStringLiteral("難しい"),
                         store.callback());
    auto* label = dialog.findChild<QLabel*>(control);
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), text);
    QVERIFY(!label->geometry().intersects(NameBox(dialog)->geometry()));
  }

  void startsWithEmptyFocusedNameBox() {
    Store store;
    frmScoreInput dialog(kBase, QStringLiteral("0:00:09"), QStringLiteral("普通"),
                         store.callback());
    QLineEdit* name = NameBox(dialog);
    QVERIFY(name != nullptr);
    QVERIFY(name->text().isEmpty());
    QCOMPARE(name->maxLength(), 50);
    QCOMPARE(dialog.focusWidget(), name);
    QCOMPARE(OkButton(dialog)->text(), QStringLiteral("O K"));

    dialog.show();
    QTest::keyClicks(name, QString(60, QLatin1Char('x')));
    QCOMPARE(name->text(), QString(50, QLatin1Char('x')));
  }

  void enterDoesNotConfirm_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
  }
  void enterDoesNotConfirm() {
    QFETCH(int, key);
    Store store;
    frmScoreInput dialog(kBase, QStringLiteral("0:00:09"), QStringLiteral("普通"),
                         store.callback());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(NameBox(dialog), QStringLiteral("Taro"));
    QTest::keyClick(NameBox(dialog), Qt::Key(key));
    QTest::keyClick(&dialog, Qt::Key(key));
    QVERIFY(dialog.isVisible());
    QVERIFY(store.names.isEmpty());
    QVERIFY(!OkButton(dialog)->isDefault());
  }

  void emptyNameIsRefusedWithABox() {
    Store store;
    frmScoreInput dialog(kBase, QStringLiteral("0:00:09"), QStringLiteral("普通"),
                         store.callback());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (int attempt = 0; attempt < 2; ++attempt) {
      dialogs_test::BoxWatcher watcher;
      QTest::mouseClick(OkButton(dialog), Qt::LeftButton);
      const dialogs_test::SeenBox& box = watcher.seen();
      QVERIFY(box.seen);
      QCOMPARE(box.text, QStringLiteral("名前を入力してください。"));
      QCOMPARE(box.title, kTitle);
      QCOMPARE(box.icon, QMessageBox::Information);
      QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
      QVERIFY(dialog.isVisible());
      QVERIFY(NameBox(dialog)->text().isEmpty());
    }
    QVERIFY(store.names.isEmpty());
  }

  void nameIsStoredAsTyped_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("spaces only") << QStringLiteral("   ");
    QTest::newRow("surrounding spaces") << QStringLiteral(" 山田 太郎 ");
    QTest::newRow("half-width kana") << QStringLiteral("ﾀﾛｳ");
    QTest::newRow("comma") << QStringLiteral("a,b");
    QTest::newRow("markup") << QStringLiteral("<b>x</b>&y");
  }
  void nameIsStoredAsTyped() {
    QFETCH(QString, name);
    Store store;
    frmScoreInput dialog(kBase, QStringLiteral("0:00:09"), QStringLiteral("普通"),
                         store.callback());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Type(NameBox(dialog), name);
    QTest::mouseClick(OkButton(dialog), Qt::LeftButton);
    QCOMPARE(store.names, QStringList{name});
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void unstorableTextIsRefused_data() {
    QTest::addColumn<QString>("bad");
    QTest::newRow("double quote") << QStringLiteral("\"");
    QTest::newRow("emoji") << QStringLiteral("😀");
    QTest::newRow("hangul") << QStringLiteral("한");
    QTest::newRow("line break") << QStringLiteral("\r\n");
    QTest::newRow("tab") << QStringLiteral("\t");
  }
  void unstorableTextIsRefused() {
    QFETCH(QString, bad);
    Store store;
    frmScoreInput dialog(kBase, QStringLiteral("0:00:09"), QStringLiteral("普通"),
                         store.callback());
    QLineEdit* name = NameBox(dialog);
    name->insert(QStringLiteral("ab"));
    name->insert(QStringLiteral("x") + bad + QStringLiteral("y"));  // as a paste would
    QCOMPARE(name->text(), QStringLiteral("ab"));
    int pos = 0;
    QString text = QStringLiteral("ab") + bad;
    QCOMPARE(name->validator()->validate(text, pos), QValidator::Invalid);
  }

  void typedUnstorableCharactersAreDropped() {
    Store store;
    frmScoreInput dialog(kBase, QStringLiteral("0:00:09"), QStringLiteral("普通"),
                         store.callback());
    dialog.show();
    Type(NameBox(dialog), QStringLiteral("a\"b😀c"));
    QCOMPARE(NameBox(dialog)->text(), QStringLiteral("abc"));
  }

  void closingWithoutOkStoresNothing_data() {
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("close box") << false;
    QTest::newRow("Escape") << true;
  }
  void closingWithoutOkStoresNothing() {
    QFETCH(bool, byEscape);
    Store store;
    frmScoreInput dialog(kBase, QStringLiteral("0:00:09"), QStringLiteral("普通"),
                         store.callback());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(NameBox(dialog), QStringLiteral("Taro"));
    if (byEscape) {
      QTest::keyClick(NameBox(dialog), Qt::Key_Escape);
    } else {
      dialog.close();
    }
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(store.names.isEmpty());
  }

  void failedSaveIsReportedAndTheDialogCloses() {
    Store store;
    store.failure = QStringLiteral("No space left on device");
    frmScoreInput dialog(kBase, QStringLiteral("0:00:09"), QStringLiteral("普通"),
                         store.callback());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(NameBox(dialog), QStringLiteral("Taro"));
    dialogs_test::BoxWatcher watcher;
    QTest::mouseClick(OkButton(dialog), Qt::LeftButton);
    const dialogs_test::SeenBox& box = watcher.seen();
    QVERIFY(box.seen);
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.text,
             QStringLiteral("ランキングを保存できませんでした。\nNo space left on device"));
    QCOMPARE(store.names, QStringList{QStringLiteral("Taro")});
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void successfulSaveShowsNoBox() {
    Store store;
    frmScoreInput dialog(kBase, QStringLiteral("0:00:09"), QStringLiteral("普通"),
                         store.callback());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(NameBox(dialog), QStringLiteral("Taro"));
    dialogs_test::BoxWatcher watcher;
    QTest::mouseClick(OkButton(dialog), Qt::LeftButton);
    QVERIFY(!watcher.seen().seen);
    QVERIFY(!dialog.isVisible());
  }
};

QTEST_MAIN(ScoreInputDialogTest)
#include "tst_frmScoreInput.moc"
