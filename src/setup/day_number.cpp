#include "setup/day_number.h"

namespace brevik::setup {

namespace {

// Days from 1 March of year 0 arithmetic (proleptic Gregorian), shifted so
// that the era arithmetic stays in non-negative numbers for years >= 1600.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = y / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe);
}

CalendarDate civilFromDays(std::int64_t z) {
  const std::int64_t era = z / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return CalendarDate{static_cast<int>(y + (m <= 2 ? 1 : 0)), static_cast<int>(m), static_cast<int>(d)};
}

const std::int64_t kDay0 = daysFromCivil(1600, 1, 1);

// The last day number that still names a year an int can hold comfortably.
constexpr std::uint32_t kLastNamedDay = 3000000000u;

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

bool isValidDate(int year, int month, int day) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  const int last = kDays[month - 1] + (month == 2 && isLeap(year) ? 1 : 0);
  return day <= last;
}

std::optional<std::uint32_t> dayNumberOf(const CalendarDate& date) {
  if (date.year < 1600 || !isValidDate(date.year, date.month, date.day)) return std::nullopt;
  const std::int64_t n = daysFromCivil(date.year, static_cast<unsigned>(date.month),
                                       static_cast<unsigned>(date.day)) - kDay0;
  if (n >= kLastNamedDay) return std::nullopt;
  return static_cast<std::uint32_t>(n);
}

std::optional<CalendarDate> dateOfDayNumber(std::uint32_t dayNumber) {
  if (dayNumber == kInvalidDayNumber || dayNumber >= kLastNamedDay) return std::nullopt;
  return civilFromDays(kDay0 + dayNumber);
}

}  // namespace brevik::setup
