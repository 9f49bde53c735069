#include "play/Clock.h"

#include <QDateTime>
#include <cmath>

namespace vornel {

namespace {
constexpr int kSecondsPerDay = 86400;
}

LocalTime SystemClock::now() const {
  const QDateTime dt = QDateTime::currentDateTime();
  const QDate d = dt.date();
  const QTime t = dt.time();
  return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

double TimeOfDay(const LocalTime& t) {
  return (t.hour * 3600 + t.minute * 60 + t.second) / static_cast<double>(kSecondsPerDay);
}

int ElapsedSeconds(double start, double now) {
  auto s = static_cast<int>(std::lround((now - start) * kSecondsPerDay));
  s %= kSecondsPerDay;
  if (s < 0) s += kSecondsPerDay;
  return s;
}

QString ClockText(int seconds) {
  if (seconds < 0) seconds = 0;
  return QStringLiteral("%1:%2:%3")
      .arg(seconds / 3600)
      .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString DateText(const LocalTime& t) {
  const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
  return QStringLiteral("%1/%2/%3 %4:%5:%6")
      .arg(t.year, 4, 10, QLatin1Char('0'))
      .arg(two(t.month), two(t.day), two(t.hour), two(t.minute), two(t.second));
}

}  // namespace vornel
