#include "protocol/time_stamps.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace brevik::protocol {

namespace {

constexpr std::array<std::string_view, 7> kDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

constexpr long long kMsPerDay = 86400000LL;
// Shifts beyond some thirty thousand years are not dates anyone logs; they
// are refused rather than overflowing.
constexpr double kLimitSeconds = 1e12;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// Reads a run of digits at `pos` (at most `maxDigits`); advances pos.
std::optional<int> readNumber(std::string_view s, std::size_t& pos, std::size_t maxDigits) {
  const std::size_t start = pos;
  int value = 0;
  while (pos < s.size() && isDigit(s[pos]) && pos - start < maxDigits) value = value * 10 + (s[pos++] - '0');
  if (pos == start) return std::nullopt;
  return value;
}

void skipBlanks(std::string_view s, std::size_t& pos) {
  while (pos < s.size() && s[pos] == ' ') ++pos;
}


long long toMilliseconds(const DateTime& t) {
  return daysFromCivil(t.year, t.month, t.day) * kMsPerDay +
         ((static_cast<long long>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
}

// The date-time `deltaMs` after `t`; the weekday moves with the days crossed.
DateTime shifted(const DateTime& t, long long deltaMs) {
  const long long before = toMilliseconds(t);
  const long long after = before + deltaMs;
  long long days = after / kMsPerDay;
  long long rest = after % kMsPerDay;
  if (rest < 0) {
    rest += kMsPerDay;
    --days;
  }
  DateTime r;
  civilFromDays(days, r.year, r.month, r.day);
  r.hour = static_cast<int>(rest / 3600000);
  r.minute = static_cast<int>(rest / 60000 % 60);
  r.second = static_cast<int>(rest / 1000 % 60);
  r.millisecond = static_cast<int>(rest % 1000);
  long long beforeDays = before / kMsPerDay;
  if (before % kMsPerDay < 0) --beforeDays;
  const long long crossed = days - beforeDays;
  r.weekday = static_cast<int>(((t.weekday + crossed) % 7 + 7) % 7);
  return r;
}

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

long long daysFromCivil(int year, int month, int day) {
  const long long y = year - (month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long mp = month > 2 ? month - 3 : month + 9;
  const long long doy = (153 * mp + 2) / 5 + day - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(long long z, int& year, int& month, int& day) {
  // Howard Hinnant's algorithm (proleptic Gregorian).
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::string_view dayName(int weekday) {
  return weekday >= 0 && weekday < 7 ? kDayNames[static_cast<std::size_t>(weekday)] : "???";
}

std::string_view monthName(int month) {
  return month >= 1 && month <= 12 ? kMonthNames[static_cast<std::size_t>(month - 1)] : "???";
}

std::string formatDisplayStamp(const DateTime& t, bool twelveHourClock) {
  int hour = t.hour;
  const char* suffix = "";
  if (twelveHourClock) {
    suffix = hour >= 12 ? "pm" : "am";
    hour = hour % 12 == 0 ? 12 : hour % 12;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3s %2d-%.3s-%04d %2d:%02d:%02d%s", dayName(t.weekday).data(), t.day,
                monthName(t.month).data(), t.year, hour, t.minute, t.second, suffix);
  return buf;
}

std::optional<DateTime> parseDisplayStamp(std::string_view s) {
  if (s.size() < 4 || s[3] != ' ') return std::nullopt;
  DateTime t;
  int weekday = -1;
  for (std::size_t i = 0; i < kDayNames.size(); ++i)
    if (sameLetters(s.substr(0, 3), kDayNames[i])) weekday = static_cast<int>(i);

  std::size_t pos = 4;
  skipBlanks(s, pos);
  const auto day = readNumber(s, pos, 2);
  if (!day || pos >= s.size() || s[pos] != '-') return std::nullopt;
  ++pos;
  if (pos + 3 > s.size()) return std::nullopt;
  int month = 0;
  for (std::size_t i = 0; i < kMonthNames.size(); ++i)
    if (sameLetters(s.substr(pos, 3), kMonthNames[i])) month = static_cast<int>(i) + 1;
  if (month == 0) return std::nullopt;
  pos += 3;
  if (pos >= s.size() || s[pos] != '-') return std::nullopt;
  ++pos;
  const std::size_t yearStart = pos;
  const auto yearDigits = readNumber(s, pos, 4);
  if (!yearDigits) return std::nullopt;
  int year = *yearDigits;
  if (pos - yearStart == 2) year += year < 90 ? 2000 : 1900;
  else if (pos - yearStart != 4) return std::nullopt;
  if (pos >= s.size() || s[pos] != ' ') return std::nullopt;
  skipBlanks(s, pos);
  const auto hour = readNumber(s, pos, 2);
  if (!hour || pos >= s.size() || s[pos] != ':') return std::nullopt;
  ++pos;
  const std::size_t minuteStart = pos;
  const auto minute = readNumber(s, pos, 2);
  if (!minute || pos - minuteStart != 2) return std::nullopt;
  int second = 0;
  if (pos < s.size() && s[pos] == ':') {
    ++pos;
    const std::size_t secondStart = pos;
    const auto sec = readNumber(s, pos, 2);
    if (!sec || pos - secondStart != 2) return std::nullopt;
    second = *sec;
  }
  int h = *hour;
  if (pos < s.size()) {
    const std::string_view suffix = s.substr(pos);
    const bool pm = sameLetters(suffix, "pm");
    if (!pm && !sameLetters(suffix, "am")) return std::nullopt;
    if (h < 1 || h > 12) return std::nullopt;
    if (pm && h != 12) h += 12;
    if (!pm && h == 12) h = 0;
  }
  if (*day < 1 || *day > daysInMonth(year, month) || h > 23 || *minute > 59 || second > 59) return std::nullopt;
  t.year = year;
  t.month = month;
  t.day = *day;
  t.hour = h;
  t.minute = *minute;
  t.second = second;
  t.weekday = weekday >= 0 ? weekday : weekdayOf(year, month, *day);
  return t;
}

std::string formatNumericStamp(const DateTime& t, NumericStampStyle style) {
  const char sep = style.csv ? ',' : ' ';
  const int first = style.dayFirst ? t.day : t.month;
  const int second = style.dayFirst ? t.month : t.day;
  char buf[64];
  if (style.milliseconds)
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d%c%02d:%02d:%02d%c%03d", first, second, t.year, sep, t.hour,
                  t.minute, t.second, sep, t.millisecond);
  else
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d%c%02d:%02d:%02d", first, second, t.year, sep, t.hour,
                  t.minute, t.second);
  return buf;
}

bool numericStampNeedsMilliseconds(double intervalMinutes) { return intervalMinutes <= 0.15; }

DateTime addMinutes(const DateTime& t, double minutes) {
  const double seconds = std::round(minutes * 60.0);
  if (!std::isfinite(seconds) || std::fabs(seconds) > kLimitSeconds) return t;
  return shifted(t, static_cast<long long>(seconds) * 1000);
}

DateTime subtractMinutes(const DateTime& t, double minutes) { return addMinutes(t, -minutes); }

DateTime addMinutesPrecise(const DateTime& t, double minutes) {
  double ms = std::round(minutes * 60000.0);
  if (!std::isfinite(ms) || ms < 0) ms = 0;
  if (ms > kLimitSeconds * 1000.0) return t;
  return shifted(t, static_cast<long long>(ms));
}

std::optional<std::string> addMinutesToStamp(std::string_view stamp, double minutes, bool twelveHourClock) {
  const auto t = parseDisplayStamp(stamp);
  if (!t) return std::nullopt;
  return formatDisplayStamp(addMinutes(*t, minutes), twelveHourClock);
}

std::optional<std::string> subtractMinutesFromStamp(std::string_view stamp, double minutes,
                                                    bool twelveHourClock) {
  return addMinutesToStamp(stamp, -minutes, twelveHourClock);
}

double minutesBetween(const DateTime& from, const DateTime& to) {
  return static_cast<double>(toMilliseconds(to) - toMilliseconds(from)) / 60000.0;
}

}  // namespace brevik::protocol
