#include "protocol/dialout_schedule.h"

#include <array>

namespace brevik::protocol {

namespace {

constexpr std::size_t kScheduleLength = 10;

std::string dayOfMonthText(std::string_view day) {
  if (day == "01") return "1st";
  if (day == "02") return "2nd";
  if (day == "03") return "3rd";
  if (day == "31") return "31st";
  if (day[0] == '0') return std::string(1, day[1]) + "th";
  return std::string(day) + "th";
}

}  // namespace

std::string dialOutScheduleText(std::string_view reply) {
  if (reply.size() < kScheduleLength) return {};
  const std::string_view kind = reply.substr(0, 2);
  const std::string minutes(reply.substr(2, 2));
  const std::string hours(reply.substr(4, 2));
  const std::string_view weekday = reply.substr(6, 2);
  const std::string_view day = reply.substr(8, 2);
  const std::string time = hours + ":" + minutes;
  if (kind == "99") return "Daily dialout at " + time;
  if (kind == "98") {
    static constexpr std::array<std::string_view, 7> kDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                              "Thursday", "Friday", "Saturday"};
    std::string name;
    if (weekday[0] == '3' && weekday[1] >= '1' && weekday[1] <= '7')
      name = kDays[static_cast<std::size_t>(weekday[1] - '1')];
    return "Weekly dialout: " + name + " at " + time;
  }
  if (kind == "97") return "Monthly dialout on the " + dayOfMonthText(day) + " at " + time;
  return {};
}

}  // namespace brevik::protocol
