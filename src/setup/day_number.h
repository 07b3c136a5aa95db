#pragma once
// The logger configuration counts dates as days since 1 January 1600 (day 0),
// in the Gregorian calendar, as an unsigned 32-bit number.

#include <cstdint>
#include <optional>

namespace brevik::setup {

struct CalendarDate {
  int year = 1600;
  int month = 1;  // 1-12
  int day = 1;    // 1-31

  friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// The day number stored for "no valid date".
inline constexpr std::uint32_t kInvalidDayNumber = 0xFFFFFFFFu;

bool isValidDate(int year, int month, int day);

// Day number of a date; none for an impossible date or one before 1600.
std::optional<std::uint32_t> dayNumberOf(const CalendarDate& date);

// Date of a day number; none for kInvalidDayNumber and numbers too large
// to name a date.
std::optional<CalendarDate> dateOfDayNumber(std::uint32_t dayNumber);

}  // namespace brevik::setup
