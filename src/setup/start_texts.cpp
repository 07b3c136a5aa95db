#include "setup/start_texts.h"

#include <algorithm>
#include <array>

#include "setup/day_number.h"

namespace brevik::setup {

std::string removeSeconds(std::string_view text) {
  std::string s(text);
  const auto first = s.find(':');
  if (first == std::string::npos) return s;
  const auto second = s.find(':', first + 1);
  if (second == std::string::npos) return s;
  s.erase(second, 3);
  return s;
}

std::string_view daySuffix(int dayOfMonth) {
  switch (dayOfMonth) {
    case 1: case 21: case 31: return "st at ";
    case 2: case 22: return "nd at ";
    case 3: case 23: return "rd at ";
    default: return "th at ";
  }
}

std::string_view dialOutWeekdayName(int weekday) {
  static constexpr std::array<std::string_view, 7> kNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  if (weekday < 1 || weekday > 7) return "err";
  return kNames[static_cast<std::size_t>(weekday - 1)];
}

std::string_view longDayName(int weekday) {
  static constexpr std::array<std::string_view, 7> kNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                             "Thursday", "Friday", "Saturday"};
  if (weekday < 0 || weekday > 6) return "";
  return kNames[static_cast<std::size_t>(weekday)];
}

std::string formatDayDateTime(const DateTime& t, const Clock& clock) {
  std::string text = std::string(longDayName(t.weekday)) + ", " + clock.shortDate(t);
  const bool midnight = t.hour == 0 && t.minute == 0 && t.second == 0 && t.millisecond == 0;
  if (!midnight) text += " " + clock.longTime(t);
  return text;
}

DateTime presetStartMoment(const LoggerConfiguration& config, const DateTime& now) {
  DateTime t;
  t.year = now.year;
  t.month = now.month;
  t.day = now.day;
  if (!config.startToday()) {
    if (auto date = config.startCalendarDate()) {
      t.year = date->year;
      t.month = date->month;
      t.day = date->day;
    }
  }
  const std::uint32_t seconds = std::min<std::uint32_t>(config.startTime(), 86399);
  t.hour = static_cast<int>(seconds / 3600);
  t.minute = static_cast<int>(seconds / 60 % 60);
  t.second = static_cast<int>(seconds % 60);
  t.weekday = weekdayOf(t.year, t.month, t.day);
  return t;
}

std::string presetStartItemText(const LoggerConfiguration& config, const Clock& clock) {
  return removeSeconds(formatDayDateTime(presetStartMoment(config, clock.now()), clock));
}

std::optional<std::string> storedDialOutItemText(const LoggerConfiguration& config, const Clock& clock) {
  const std::uint8_t kind = config.dialOutKind();
  if (kind != kDialOutDaily && kind != kDialOutWeekly && kind != kDialOutMonthly) return std::nullopt;
  // The stored date only matters for a start on another day; the time is what shows.
  LoggerConfiguration onStoredDate = config;
  onStoredDate.setStartToday(false);
  const std::string time = removeSeconds(clock.longTime(presetStartMoment(onStoredDate, clock.now())));
  if (kind == kDialOutDaily) return "immediate; dialout at " + time;
  if (kind == kDialOutWeekly)
    return "immediate; dialout on " + std::string(dialOutWeekdayName(config.dialOutWeekday())) + " at " + time;
  const int day = config.dialOutMonthday();
  return "immediate; dialout on " + std::to_string(day) + std::string(daySuffix(day)) + time;
}

std::string dialogDialOutItemText(std::uint8_t dialOutKind, std::string_view weekdayText, int monthday,
                                  std::string_view timeText) {
  if (dialOutKind == kDialOutWeekly)
    return "immediate; dialout on " + std::string(weekdayText) + " at " + std::string(timeText);
  if (dialOutKind == kDialOutMonthly)
    return "immediate; dialout on " + std::to_string(monthday) + std::string(daySuffix(monthday)) +
           std::string(timeText);
  return "immediate; with " + std::string(timeText) + " dialout";
}

}  // namespace brevik::setup
