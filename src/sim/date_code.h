#pragma once
// The logger's 14-character date code: seconds, minutes, hours, day, month
// (two digits each), a letter (the memory bank in the clock field), the day of
// the week as a digit ('1' Sunday ... '7' Saturday), the year in the century.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"

namespace brevik::sim {

// Builds the code; the weekday is computed from the date.
std::string dateCode(const DateTime& t, char letter);

// Reads a code whose digit fields form a real date and time (years 00-89 are
// taken as 2000-2089, 90-99 as 1990-1999); nothing otherwise.
std::optional<DateTime> parseDateCode(std::string_view code);

// Reads the 13-character time field of a configuration message: the date code
// without its letter.
std::optional<DateTime> parseConfigTimeField(std::string_view field);

// The date and time `seconds` later (or earlier, when negative); the weekday
// is set to match.
DateTime addSeconds(const DateTime& t, std::int64_t seconds);

}  // namespace brevik::sim
