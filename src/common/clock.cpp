#include "common/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace brevik {

int weekdayOf(int year, int month, int day) {
  // Sakamoto's method.
  static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + offsets[(month - 1) % 12] + day) % 7;
}

// Month/day/year and a 12-hour time with seconds: the short date and long
// time of an English Windows system, which is what unattended logs were read
// with. Platform front ends may override these with the user's locale.
std::string Clock::shortDate(const DateTime& t) const {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d/%d/%04d", t.month, t.day, t.year);
  return buf;
}

std::string Clock::longTime(const DateTime& t) const {
  char buf[32];
  const int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", h12, t.minute, t.second, t.hour < 12 ? "AM" : "PM");
  return buf;
}

DateTime SystemClock::now() const {
  const auto now = std::chrono::system_clock::now();
  const std::time_t secs = std::chrono::system_clock::to_time_t(now);
  std::tm tm{};
#if defined(_WIN32)
  localtime_s(&tm, &secs);
#else
  localtime_r(&secs, &tm);
#endif
  DateTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.millisecond = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  t.weekday = tm.tm_wday;
  return t;
}

}  // namespace brevik
