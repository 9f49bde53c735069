#pragma once
// A timer that is always enabled and switched only through its interval:
// 0 means stopped (a bare QTimer would fire continuously at 0).

#include <QObject>
#include <QTimer>

namespace vornel {

class IntervalTimer : public QObject {
  Q_OBJECT
 public:
  explicit IntervalTimer(QObject* parent = nullptr) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, &IntervalTimer::Timer);
  }
  int interval() const { return interval_; }
  void setInterval(int ms) {
    interval_ = ms;
    if (ms > 0) timer_.start(ms); else timer_.stop();
  }

 signals:
  void Timer();

 private:
  QTimer timer_;
  int interval_ = 0;
};

}  // namespace vornel
