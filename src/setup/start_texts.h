#pragma once
// The texts the start box shows for a preset start and for a modem dial-out
// schedule. Dates and times are written with the clock's short date and long
// time, so the windows can hand in the user's locale.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "setup/logger_configuration.h"

namespace brevik::setup {

// The text without its seconds: at the second ':' that ':' and the two
// characters after it are deleted; fewer than two ':' leave it unchanged.
// "14:05:33" -> "14:05", "2:05:33 PM" -> "2:05 PM".
std::string removeSeconds(std::string_view text);

// What follows a day of the month in the monthly text: "st at " after 1, 21
// and 31, "nd at " after 2 and 22, "rd at " after 3 and 23, else "th at ".
std::string_view daySuffix(int dayOfMonth);

// "Sun" ... "Sat" for 1 (Sunday) ... 7; "err" for any other value.
std::string_view dialOutWeekdayName(int weekday);

// "Sunday" ... "Saturday" for 0 (Sunday) ... 6.
std::string_view longDayName(int weekday);

// The long weekday name, ", ", the short date and, unless the moment is
// midnight exactly, a blank and the long time.
std::string formatDayDateTime(const DateTime& t, const Clock& clock);

// The moment of the preset start: today (the clock's date) when
// `StartToday` is 1, else `StartDate` (today as well when the stored date is
// not a valid one), at `StartTime` (a damaged time is held to 23:59:59).
DateTime presetStartMoment(const LoggerConfiguration& config, const DateTime& now);

// Start box item 1 for a preset start: the preset moment as
// formatDayDateTime, without its seconds.
std::string presetStartItemText(const LoggerConfiguration& config, const Clock& clock);

// Start box item 3 for a stored schedule: "immediate; dialout at " + T,
// "immediate; dialout on " + day name + " at " + T, or "immediate; dialout
// on " + day of month + suffix + T, where T is the time of `StartDate` and
// `StartTime` in the long time format without seconds. None when
// `DialOutKind` is not 'a', 'b' or 'c' (the item keeps its text).
std::optional<std::string> storedDialOutItemText(const LoggerConfiguration& config, const Clock& clock);

// Start box item 3 as the date dialog writes it on OK. `timeText` is the
// chosen time already without its seconds; `weekdayText` the day box text.
std::string dialogDialOutItemText(std::uint8_t dialOutKind, std::string_view weekdayText, int monthday,
                                  std::string_view timeText);

}  // namespace brevik::setup
