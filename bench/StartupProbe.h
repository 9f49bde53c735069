#pragma once
// Reports, once the watched widget has painted for the first time, the
// CLOCK_MONOTONIC time and the resident memory, then ends the program.
// Used by the start-up benchmark for the game and for a bare window alike.

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace vornel::bench {

inline long ResidentKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return -1;
}

class FirstPaintProbe : public QObject {
 public:
  explicit FirstPaintProbe(QObject* watched) : QObject(watched) { watched->installEventFilter(this); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      // Report after the paint has been flushed to the window.
      QTimer::singleShot(0, [] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("painted %lld %ld\n", now.tv_sec * 1000000000LL + now.tv_nsec, ResidentKiB());
        std::fflush(stdout);
        QCoreApplication::exit(0);
      });
    }
    return false;
  }

 private:
  bool seen_ = false;
};

}  // namespace vornel::bench
