#include "sim/date_code.h"

#include <cstdio>

namespace brevik::sim {

namespace {

// Days since 1970-01-01 of a Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(int y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

int daysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : days[(m - 1) % 12];
}

std::optional<int> twoDigits(std::string_view s, std::size_t at) {
  if (at + 2 > s.size()) return std::nullopt;
  const char a = s[at], b = s[at + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return std::nullopt;
  return (a - '0') * 10 + (b - '0');
}

std::optional<DateTime> fromFields(std::string_view s, std::size_t yearAt) {
  const auto ss = twoDigits(s, 0), mi = twoDigits(s, 2), hh = twoDigits(s, 4), dd = twoDigits(s, 6),
             mo = twoDigits(s, 8), yy = twoDigits(s, yearAt);
  if (!ss || !mi || !hh || !dd || !mo || !yy) return std::nullopt;
  if (*ss > 59 || *mi > 59 || *hh > 23 || *mo < 1 || *mo > 12) return std::nullopt;
  DateTime t;
  t.year = *yy >= 90 ? 1900 + *yy : 2000 + *yy;
  t.month = *mo;
  if (*dd < 1 || *dd > daysInMonth(t.year, t.month)) return std::nullopt;
  t.day = *dd;
  t.hour = *hh;
  t.minute = *mi;
  t.second = *ss;
  t.weekday = weekdayOf(t.year, t.month, t.day);
  return t;
}

}  // namespace

std::string dateCode(const DateTime& t, char letter) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d%02d%02d%02d%02d%c%d%02d", t.second % 100, t.minute % 100, t.hour % 100,
                t.day % 100, t.month % 100, letter, weekdayOf(t.year, t.month, t.day) + 1, t.year % 100);
  return std::string(buf, 14);
}

std::optional<DateTime> parseDateCode(std::string_view code) {
  if (code.size() != 14) return std::nullopt;
  return fromFields(code, 12);
}

std::optional<DateTime> parseConfigTimeField(std::string_view field) {
  if (field.size() != 13) return std::nullopt;
  return fromFields(field, 11);
}

DateTime addSeconds(const DateTime& t, std::int64_t seconds) {
  std::int64_t total = daysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second +
                       seconds;
  std::int64_t days = total / 86400;
  std::int64_t rest = total % 86400;
  if (rest < 0) {
    rest += 86400;
    days -= 1;
  }
  DateTime r;
  civilFromDays(days, r.year, r.month, r.day);
  r.hour = static_cast<int>(rest / 3600);
  r.minute = static_cast<int>(rest / 60 % 60);
  r.second = static_cast<int>(rest % 60);
  r.millisecond = t.millisecond;
  r.weekday = weekdayOf(r.year, r.month, r.day);
  return r;
}

}  // namespace brevik::sim
