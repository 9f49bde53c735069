#pragma once
// What the program tells a screen reader, kept here instead of sent. Qt
// tells nothing offscreen: the tests that use this run on an X server with
// Qt's accessibility bridge on.

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
  // Starts the accessibility bus, as a screen reader does, and waits for
  // Qt's bridge to come up on it.
  static bool BridgeUp() {
    QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
    return QTest::qWaitFor([] { return QAccessible::isActive(); });
  }

  ScreenReaderLog() { previous_ = QAccessible::installUpdateHandler(&Keep); }
  ~ScreenReaderLog() { QAccessible::installUpdateHandler(previous_); }

  // The notes said, and the name of what last took the focus, since the
  // last call of either.
  QStringList notes() { return Take(QAccessible::ObjectShow); }
  QString focused() {
    const QStringList names = Take(QAccessible::Focus);
    return names.isEmpty() ? QString() : names.last();
  }

 private:
  QStringList Take(QAccessible::Event type) {
    QStringList names;
    for (const auto& [kind, name] : std::exchange(heard_, {}))
      if (kind == type) names << name;
    return names;
  }
  static void Keep(QAccessibleEvent* event) {
    const QAccessibleInterface* about = event->accessibleInterface();
    const bool note = event->type() == QAccessible::ObjectShow && about &&
                      about->role() == QAccessible::Notification;
    if (note || event->type() == QAccessible::Focus)
      heard_.emplace_back(event->type(), about ? about->text(QAccessible::Name) : QString());
  }

  inline static std::vector<std::pair<QAccessible::Event, QString>> heard_;
  QAccessible::UpdateHandler previous_ = nullptr;
};

}  // namespace vornel::test
