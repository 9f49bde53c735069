#pragma once
// Time of day, elapsed-time texts and the clock the game reads. The clock is
// passed in so that tests can fix it.

#include <QString>

namespace vornel {

struct LocalTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime now() const = 0;
};

// The user's local wall clock, to the whole second.
class SystemClock final : public Clock {
 public:
  LocalTime now() const override;
};

// Time of day as a fraction of a day, 0 <= value < 1.
double TimeOfDay(const LocalTime& t);

// Whole seconds from `start` to `now` (both fractions of a day). A game that
// runs across midnight wraps by one day instead of going negative.
int ElapsedSeconds(double start, double now);

// The clock form: H:MM:SS, hours without a leading zero (67 s -> 0:01:07).
// The caption, the clear time and the ranking all use it.
QString ClockText(int seconds);

// "YYYY/MM/DD HH:MM:SS".
QString DateText(const LocalTime& t);

}  // namespace vornel
