#pragma once
// The text of a dial-out schedule reply: kind, minutes, hours, weekday and
// day of the month in its first ten characters.

#include <string>
#include <string_view>

namespace brevik::protocol {

// "Daily dialout at 07:30", "Weekly dialout: Tuesday at 07:30",
// "Monthly dialout on the 22th at 07:30"; empty for any other kind or a
// reply too short to hold the schedule.
std::string dialOutScheduleText(std::string_view reply);

}  // namespace brevik::protocol
