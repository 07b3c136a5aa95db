#pragma once
// Time stamps as data files hold them (written by protocol::formatDisplayStamp): "Ddd dd-Mmm-yy[yy] hh:mm[:ss][am|pm]"
// with English day and month names, in the five lengths files have used
// (21, 22, 24 with a four-digit year, 24 with am/pm, 26), and the logger's
// 14-character date code, which older files carry as their Last stamp.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/clock.h"

namespace brevik::datafile {

inline constexpr std::string_view kInvalidDateMessage = "Invalid Date string";
inline constexpr std::string_view kInvalidMonthMessage = "Invalid Month string";

// The date and time of a stamp of one of the five lengths (trailing blanks
// ignored); nothing for text of another shape. A day outside 1-31 or an
// unknown month name adds its message to `warnings` (when given) and gives
// nothing: the text is then shown as it stands. Two-digit years below 90 are
// 20yy, others 19yy, as in the logger's date codes.
std::optional<DateTime> parseFileStamp(std::string_view text, std::vector<std::string>* warnings = nullptr);

// Whether a 14-character date code is well formed: positions 1-10 and 13-14
// digits, seconds and minutes 00-59, hours 00-23, day 01-31, month 01-12.
// Positions 11 and 12 are not checked.
bool isValidDateCode(std::string_view code);

// A valid date code in the display form (24-hour clock,
// "Mon 10-Jun-2003  3:04:05"); nothing otherwise.
std::optional<std::string> dateCodeAsStamp(std::string_view code);

}  // namespace brevik::datafile
