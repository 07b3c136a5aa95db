#pragma once
// Time-stamp texts and the calendar arithmetic on them.
//
// A display stamp reads "Tue  3-Jun-2003  9:05:00" (day name, day of month
// and hours two characters wide with a leading blank, "am"/"pm" appended on
// a 12-hour clock). A numeric stamp reads "06/03/2003,09:05:00" (month or day
// first, "," or a blank between date and time, optional milliseconds). The
// day name of a stamp travels with it: arithmetic advances it by the number
// of days crossed, so a stamp keeps the weekday the logger reported.

#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"

namespace brevik::protocol {

bool isLeapYear(int year);
int daysInMonth(int year, int month);

// "Sun".."Sat" (0 = Sunday) and "Jan".."Dec" (1 = January); "???" out of range.
std::string_view dayName(int weekday);
std::string_view monthName(int month);

std::string formatDisplayStamp(const DateTime& t, bool twelveHourClock);

// Reads a display stamp: two- or four-digit year (below 90 means 20xx, 90 to
// 99 means 19xx), seconds optional, "am"/"pm" optional. Besides the 21-, 24-
// and 26-character forms this also reads the 21-character default texts such
// as "Tue 24-Jun-2003 10:01". Returns nothing for text of another shape.
std::optional<DateTime> parseDisplayStamp(std::string_view text);

struct NumericStampStyle {
  bool dayFirst = false;      // ExportDayFirst
  bool csv = false;           // "," between fields, else a blank
  bool milliseconds = false;  // a third field with three digits of milliseconds
};

std::string formatNumericStamp(const DateTime& t, NumericStampStyle style);

// The milliseconds option of numeric stamps: on for intervals of 0.15 minutes or less.
bool numericStampNeedsMilliseconds(double intervalMinutes);

// Whole seconds are carried (minutes are rounded to the nearest second);
// months, years and leap years follow the Gregorian calendar.
DateTime addMinutes(const DateTime& t, double minutes);
DateTime subtractMinutes(const DateTime& t, double minutes);

// Adds minutes at millisecond precision; a negative amount counts as 0.
DateTime addMinutesPrecise(const DateTime& t, double minutes);

// Display stamp text plus or minus minutes, formatted back as a display stamp;
// nothing when the text is not a display stamp.
std::optional<std::string> addMinutesToStamp(std::string_view stamp, double minutes, bool twelveHourClock);
std::optional<std::string> subtractMinutesFromStamp(std::string_view stamp, double minutes,
                                                    bool twelveHourClock);

// Minutes from `from` to `to` (negative when `to` is earlier), milliseconds included.
double minutesBetween(const DateTime& from, const DateTime& to);

// Days since 1 January 1970 of a Gregorian date (negative before), and the
// date of such a day count.
long long daysFromCivil(int year, int month, int day);
void civilFromDays(long long days, int& year, int& month, int& day);

}  // namespace brevik::protocol
