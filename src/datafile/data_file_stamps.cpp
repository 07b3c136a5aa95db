#include "datafile/data_file_stamps.h"


#include "common/bytes.h"
#include "protocol/date_code.h"
#include "protocol/time_stamps.h"

namespace brevik::datafile {

namespace {


bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A number in text[from, from + width), leading blanks allowed (" 3").
std::optional<int> numberAt(std::string_view text, std::size_t from, std::size_t width) {
  if (from + width > text.size()) return std::nullopt;
  int value = 0;
  bool any = false;
  for (std::size_t i = from; i < from + width; ++i) {
    const char c = text[i];
    if (c == ' ' && !any) continue;
    if (!isDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
    any = true;
  }
  if (!any) return std::nullopt;
  return value;
}

int yearOfTwoDigits(int yy) { return yy < 90 ? 2000 + yy : 1900 + yy; }

std::optional<int> monthOfName(std::string_view name) {
  for (int month = 1; month <= 12; ++month)
    if (protocol::monthName(month) == name) return month;
  return std::nullopt;
}

// "am"/"pm" in either case; nothing for anything else.
std::optional<bool> afternoon(std::string_view s) {
  if (s.size() != 2 || (s[1] != 'm' && s[1] != 'M')) return std::nullopt;
  if (s[0] == 'a' || s[0] == 'A') return false;
  if (s[0] == 'p' || s[0] == 'P') return true;
  return std::nullopt;
}

struct Layout {
  std::size_t yearDigits;  // 2 or 4
  std::size_t timeAt;      // 0-based start of hh
  bool seconds;
  bool amPm;
};

std::optional<Layout> layoutOf(std::string_view text) {
  switch (text.size()) {
    case 21:
      // A 21-character text with a four-digit year has no seconds (the
      // status decoder's fallback texts look like that).
      if (isDigit(text[13]) && isDigit(text[14])) return Layout{4, 16, false, false};
      return Layout{2, 14, false, true};
    case 22: return Layout{2, 14, true, false};
    case 24:
      if (isDigit(text[23])) return Layout{4, 16, true, false};
      return Layout{2, 14, true, true};
    case 26: return Layout{4, 16, true, true};
    default: return std::nullopt;
  }
}

}  // namespace

std::optional<DateTime> parseFileStamp(std::string_view text, std::vector<std::string>* warnings) {
  const std::string trimmed = bytes::trimmedRight(text);
  const std::string_view s = trimmed;
  const auto layout = layoutOf(s);
  if (!layout) return std::nullopt;
  const auto day = numberAt(s, 4, 2);
  const auto year = numberAt(s, 11, layout->yearDigits);
  const auto hour = numberAt(s, layout->timeAt, 2);
  const auto minute = numberAt(s, layout->timeAt + 3, 2);
  std::optional<int> second = 0;
  std::size_t end = layout->timeAt + 5;
  if (layout->seconds) {
    second = numberAt(s, layout->timeAt + 6, 2);
    end += 3;
  }
  if (!day || !year || !hour || !minute || !second) return std::nullopt;
  if (s[layout->timeAt + 2] != ':' || (layout->seconds && s[layout->timeAt + 5] != ':')) return std::nullopt;

  DateTime t;
  t.hour = *hour;
  if (layout->amPm) {
    const auto pm = afternoon(s.substr(end, 2));
    if (!pm) return std::nullopt;
    if (t.hour < 1 || t.hour > 12) return std::nullopt;
    t.hour = t.hour % 12 + (*pm ? 12 : 0);
  }
  if (t.hour > 23 || *minute > 59 || *second > 59) return std::nullopt;

  bool valid = true;
  if (*day < 1 || *day > 31) {
    if (warnings) warnings->emplace_back(kInvalidDateMessage);
    valid = false;
  }
  const auto month = monthOfName(s.substr(7, 3));
  if (!month) {
    if (warnings) warnings->emplace_back(kInvalidMonthMessage);
    valid = false;
  }
  if (!valid) return std::nullopt;
  t.day = *day;
  t.month = *month;
  t.year = layout->yearDigits == 2 ? yearOfTwoDigits(*year) : *year;
  t.minute = *minute;
  t.second = *second;
  t.weekday = weekdayOf(t.year, t.month, t.day);
  for (int weekday = 0; weekday < 7; ++weekday)
    if (protocol::dayName(weekday) == s.substr(0, 3)) t.weekday = weekday;
  return t;
}

bool isValidDateCode(std::string_view code) {
  if (code.size() != 14) return false;
  for (std::size_t i = 0; i < 14; ++i)
    if ((i < 10 || i >= 12) && !isDigit(code[i])) return false;
  const int seconds = *numberAt(code, 0, 2);
  const int minutes = *numberAt(code, 2, 2);
  const int hours = *numberAt(code, 4, 2);
  const int day = *numberAt(code, 6, 2);
  const int month = *numberAt(code, 8, 2);
  return seconds <= 59 && minutes <= 59 && hours <= 23 && day >= 1 && day <= 31 && month >= 1 && month <= 12;
}

std::optional<std::string> dateCodeAsStamp(std::string_view code) {
  if (!isValidDateCode(code)) return std::nullopt;
  const auto t = protocol::parseDateCode(code);
  if (!t) return std::nullopt;
  return protocol::formatDisplayStamp(*t, false);
}

}  // namespace brevik::datafile
