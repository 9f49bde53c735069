#pragma once
// Checks shared by the dialog tests: the window conventions every dialog
// follows, and a way to answer the message boxes a dialog opens modally.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <tuple>

namespace dialogs_test {

// Fixed client size, tool window with a close box only, modal, no owner,
// centred on its screen.
inline void CheckWindowConventions(QDialog& dialog, QSize client) {
  QCOMPARE(dialog.size(), client);
  QCOMPARE(dialog.minimumSize(), client);
  QCOMPARE(dialog.maximumSize(), client);
  const Qt::WindowFlags flags = dialog.windowFlags();
  QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
  QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
  QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
  QCOMPARE(dialog.parentWidget(), nullptr);
  const QRect screen = dialog.screen()->geometry();
  const QRect frame = dialog.frameGeometry();
  QVERIFY(std::abs(frame.left() - screen.left() - (screen.width() - frame.width()) / 2) <= 1);
  QVERIFY(std::abs(frame.top() - screen.top() - (screen.height() - frame.height()) / 2) <= 1);
}

// Each label (name, text, top-left corner in pixels) shows its text uncut
// where it was designed; of a text with a line end, the first line only.
inline void CheckLabels(const QWidget& dialog,
                        std::initializer_list<std::tuple<const char*, QString, QPoint>> labels) {
  for (const auto& [name, text, at] : labels) {
    const auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    QVERIFY2(label != nullptr, name);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->pos(), at);
    QVERIFY2(label->width() >= label->sizeHint().width() || text.endsWith(u'\n'), name);
  }
}

// The ways a player closes a display dialog: its command button clicked, or
// pressed with Enter while it has the focus, Escape, and the close box.
enum class CloseBy { Click, EnterOnButton, Escape, CloseBox };

inline void CloseDialog(QDialog& dialog, QPushButton* button, CloseBy how) {
  switch (how) {
    case CloseBy::Click: QTest::mouseClick(button, Qt::LeftButton); break;
    case CloseBy::EnterOnButton:
      QCOMPARE(dialog.focusWidget(), button);
      QTest::keyClick(button, Qt::Key_Return);
      break;
    case CloseBy::Escape: QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape); break;
    case CloseBy::CloseBox: dialog.close(); break;
  }
}

// What a modal message box showed, recorded before it was answered.
struct SeenBox {
  bool seen = false;
  QString text, title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

// Watches for the next modal message box, records it and presses its OK
// button. Keep the returned watcher alive until the box has been answered.
class BoxWatcher {
 public:
  BoxWatcher() : timer_(std::make_unique<QTimer>()) {
    timer_->setInterval(10);
    QObject::connect(timer_.get(), &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || seen_.seen) return;
      seen_ = {true, box->text(), box->windowTitle(), box->icon(), box->standardButtons()};
      if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
        ok->click();
      } else {
        box->reject();
      }
    });
    timer_->start();
  }
  const SeenBox& seen() const { return seen_; }

 private:
  std::unique_ptr<QTimer> timer_;
  SeenBox seen_;
};

}  // namespace dialogs_test
