#pragma once
// What the program tells a screen reader, kept in place of sending it: each
// event's kind and the role and name of what it is about. Qt tells nothing
// offscreen: the tests that use it run on an X server with Qt's
// accessibility bridge on.

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QtTest>
#include <utility>
#include <vector>


namespace vornel::test {

class ScreenReaderLog {
 public:
  struct Heard {
    QAccessible::Event type;
    QAccessible::Role role;
    QString name;
  };

  // Starts the accessibility bus, as a screen reader does, and waits for
  // Qt's bridge to come up on it.
  static bool BridgeUp() {
    QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
    return QTest::qWaitFor([] { return QAccessible::isActive(); });
  }

  ScreenReaderLog() {
    log_ = &heard_;
    previous_ = QAccessible::installUpdateHandler(&Keep);
  }
  ~ScreenReaderLog() {
    QAccessible::installUpdateHandler(previous_);
    log_ = nullptr;
  }

  // What was told since the last call.
  std::vector<Heard> take() { return std::exchange(heard_, {}); }
  // The notes said since the last call, in order.
  QStringList notes() {
    QStringList said;
    for (const Heard& h : take())
      if (h.type == QAccessible::ObjectShow && h.role == QAccessible::Notification) said << h.name;
    return said;
  }
  // The name of what last took the focus since the last call.
  QString focused() {
    QString name;
    for (const Heard& h : take())
      if (h.type == QAccessible::Focus) name = h.name;
    return name;
  }

 private:
  static void Keep(QAccessibleEvent* event) {
    QAccessibleInterface* about = event->accessibleInterface();
    log_->push_back({event->type(), about ? about->role() : QAccessible::NoRole,
                     about ? about->text(QAccessible::Name) : QString()});
  }

  inline static std::vector<Heard>* log_ = nullptr;
  std::vector<Heard> heard_;
  QAccessible::UpdateHandler previous_ = nullptr;
};

}  // namespace vornel::test
