#pragma once
// Answers modal dialogs from inside a test: WhenModal<T>(f) waits for the
// next active modal widget of type T and hands it to f. Each wait has its own
// timer, so a handler may itself open a nested modal and wait for it.

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace vornel::test {

template <typename T>
void WhenModal(std::function<void(T*)> handle) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, handle] {
    auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
    if (widget == nullptr || !widget->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    const QPointer<T> guard(widget);
    handle(widget);
    if (guard && guard->isVisible()) guard->close();  // a failed check must not hang the test
  });
  timer->start();
}

}  // namespace vornel::test
