#pragma once
// The PC's date and time, as a port: the core never reads the system clock
// itself, so tests can fix "now".

#include <cstdint>
#include <string>

namespace brevik {

struct DateTime {
  int year = 1600;
  int month = 1;   // 1-12
  int day = 1;     // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int weekday = 0;  // 0 = Sunday ... 6 = Saturday

  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// Day of the week (0 = Sunday) of a Gregorian date.
int weekdayOf(int year, int month, int day);

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime now() const = 0;
  // The system's short date and long time, as the unattended log writes them.
  virtual std::string shortDate(const DateTime& t) const;
  virtual std::string longTime(const DateTime& t) const;
};

// The machine's local time.
class SystemClock final : public Clock {
 public:
  DateTime now() const override;
};

// A clock that stands still at a set time (tests, replays).
class FixedClock final : public Clock {
 public:
  explicit FixedClock(DateTime t) : t_(t) {}
  DateTime now() const override { return t_; }
  void set(DateTime t) { t_ = t; }

 private:
  DateTime t_;
};

}  // namespace brevik
