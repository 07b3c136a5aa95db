#pragma once
// The logger's 14-character date code: seconds, minutes, hours, day, month
// (two digits each), a letter (the memory bank, clock field only), the
// weekday digit ('1' = Sunday) and the year within the century.

#include <optional>
#include <string_view>

#include "common/clock.h"

namespace brevik::protocol {

inline constexpr std::size_t kDateCodeLength = 14;

// The date and time of a valid code; nothing when a digit is missing or a
// field is out of range. Years whose first digit is below '9' are 20xx, else
// 19xx. The weekday comes from the code's own digit when it is '1'..'7' and
// from the calendar otherwise.
std::optional<DateTime> parseDateCode(std::string_view code);

}  // namespace brevik::protocol
