#include "protocol/date_code.h"

namespace brevik::protocol {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int twoDigits(std::string_view s, std::size_t at) { return (s[at] - '0') * 10 + (s[at + 1] - '0'); }

}  // namespace

std::optional<DateTime> parseDateCode(std::string_view code) {
  if (code.size() < kDateCodeLength) return std::nullopt;
  for (std::size_t i = 0; i < kDateCodeLength; ++i)
    if ((i < 10 || i >= 12) && !isDigit(code[i])) return std::nullopt;
  DateTime t;
  t.second = twoDigits(code, 0);
  t.minute = twoDigits(code, 2);
  t.hour = twoDigits(code, 4);
  t.day = twoDigits(code, 6);
  t.month = twoDigits(code, 8);
  t.year = (code[12] < '9' ? 2000 : 1900) + twoDigits(code, 12);
  if (t.second > 59 || t.minute > 59 || t.hour > 23 || t.day < 1 || t.day > 31 || t.month < 1 || t.month > 12)
    return std::nullopt;
  const char weekdayDigit = code[11];
  t.weekday = weekdayDigit >= '1' && weekdayDigit <= '7' ? weekdayDigit - '1'
                                                         : weekdayOf(t.year, t.month, t.day);
  return t;
}

}  // namespace brevik::protocol
