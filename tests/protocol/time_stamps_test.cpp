#include "protocol/time_stamps.h"

#include <gtest/gtest.h>

#include "protocol/date_code.h"

namespace brevik::protocol {
namespace {

DateTime at(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
  return DateTime{y, mo, d, h, mi, s, ms, weekdayOf(y, mo, d)};
}

TEST(DisplayStamp, FormatsBothClocks) {
  EXPECT_EQ(formatDisplayStamp(at(2003, 6, 3, 9, 5, 0), false), "Tue  3-Jun-2003  9:05:00");
  EXPECT_EQ(formatDisplayStamp(at(2003, 6, 3, 9, 5, 0), true), "Tue  3-Jun-2003  9:05:00am");
  EXPECT_EQ(formatDisplayStamp(at(2003, 6, 3, 0, 0, 7), true), "Tue  3-Jun-2003 12:00:07am");
  EXPECT_EQ(formatDisplayStamp(at(2003, 6, 3, 12, 30, 0), true), "Tue  3-Jun-2003 12:30:00pm");
  EXPECT_EQ(formatDisplayStamp(at(2003, 6, 24, 23, 1, 0), true), "Tue 24-Jun-2003 11:01:00pm");
}

TEST(DisplayStamp, ParsesEveryLength) {
  struct Case {
    const char* text;
    DateTime expected;
  };
  const Case cases[] = {
      {"Tue  3-Jun-03  9:05pm", at(2003, 6, 3, 21, 5, 0)},          // 21
      {"Tue  1-Jan-91 12:00:00am", at(1991, 1, 1, 0, 0, 0)},        // 24, two-digit year
      {"Tue  3-Jun-2003 21:05:09", at(2003, 6, 3, 21, 5, 9)},       // 24, four-digit year
      {"Tue  3-Jun-2003 12:05:09pm", at(2003, 6, 3, 12, 5, 9)},     // 26
      {"Tue 24-Jun-2003 10:01", at(2003, 6, 24, 10, 1, 0)},         // the default texts
      {"Sat  1-Jan-89 12:00am", at(2089, 1, 1, 0, 0, 0)},           // below 90: 20xx
  };
  for (const Case& c : cases) {
    const auto t = parseDisplayStamp(c.text);
    ASSERT_TRUE(t) << c.text;
    EXPECT_EQ(*t, c.expected) << c.text;
  }
}

TEST(DisplayStamp, RefusesOtherShapes) {
  for (const char* text : {"", "Tue", "Tue 3-Jun-2003", "Tue 32-Jan-2003 10:00", "Tue  3-Jux-2003 10:00",
                           "Tue  3-Jun-2003 24:00", "Tue  3-Jun-2003 13:00pm", "Tue  3-Jun-2003 10:00xx",
                           "Tue 29-Feb-2003 10:00", "Tue  3-Jun-203 10:00"})
    EXPECT_FALSE(parseDisplayStamp(text)) << text;
}

TEST(DisplayStamp, YearEndAddsAMinuteAndAdvancesTheDayName) {
  EXPECT_EQ(addMinutesToStamp("Fri 31-Dec-1999 23:59:30", 1, false), "Sat  1-Jan-2000  0:00:30");
  // The day name moves with the days crossed, whatever it was.
  EXPECT_EQ(addMinutesToStamp("Mon 31-Dec-1999 23:59:30", 1, false), "Tue  1-Jan-2000  0:00:30");
  EXPECT_EQ(subtractMinutesFromStamp("Sat  1-Jan-2000 12:00:30am", 1, true), "Fri 31-Dec-1999 11:59:30pm");
}

TEST(Calendar, LeapYears) {
  EXPECT_TRUE(isLeapYear(2000));
  EXPECT_TRUE(isLeapYear(2004));
  EXPECT_FALSE(isLeapYear(1900));
  EXPECT_FALSE(isLeapYear(2003));
  EXPECT_EQ(formatDisplayStamp(addMinutes(at(2004, 2, 28, 12, 0, 0), 1440), false), "Sun 29-Feb-2004 12:00:00");
  EXPECT_EQ(formatDisplayStamp(addMinutes(at(1900, 2, 28, 12, 0, 0), 1440), false), "Thu  1-Mar-1900 12:00:00");
  EXPECT_EQ(formatDisplayStamp(addMinutes(at(2000, 2, 28, 12, 0, 0), 1440), false), "Tue 29-Feb-2000 12:00:00");
  EXPECT_EQ(formatDisplayStamp(subtractMinutes(at(2004, 3, 1, 0, 0, 0), 1), false), "Sun 29-Feb-2004 23:59:00");
  // A year of minutes across a leap day.
  EXPECT_EQ(formatDisplayStamp(addMinutes(at(2004, 1, 1, 0, 0, 0), 366 * 1440.0), false), "Sat  1-Jan-2005  0:00:00");
}

TEST(Calendar, MinutesBetween) {
  EXPECT_DOUBLE_EQ(minutesBetween(at(1999, 12, 31, 23, 59, 30), at(2000, 1, 1, 0, 0, 30)), 1.0);
  EXPECT_DOUBLE_EQ(minutesBetween(at(2004, 2, 28, 0, 0, 0), at(2004, 3, 1, 0, 0, 0)), 2 * 1440.0);
  EXPECT_DOUBLE_EQ(minutesBetween(at(2000, 1, 1, 0, 0, 0), at(1999, 12, 31, 23, 0, 0)), -60.0);
}

TEST(NumericStamp, SeparatorsOrderAndMilliseconds) {
  const DateTime t = at(2003, 6, 3, 9, 5, 7, 45);
  EXPECT_EQ(formatNumericStamp(t, {false, true, false}), "06/03/2003,09:05:07");
  EXPECT_EQ(formatNumericStamp(t, {true, false, false}), "03/06/2003 09:05:07");
  EXPECT_EQ(formatNumericStamp(t, {false, true, true}), "06/03/2003,09:05:07,045");
  EXPECT_TRUE(numericStampNeedsMilliseconds(0.15));
  EXPECT_FALSE(numericStampNeedsMilliseconds(0.16));
}

TEST(NumericStamp, PreciseAdditionCarriesMilliseconds) {
  const DateTime t = at(2003, 12, 31, 23, 59, 59, 900);
  EXPECT_EQ(formatNumericStamp(addMinutesPrecise(t, 0.005), {false, true, true}), "01/01/2004,00:00:00,200");
  EXPECT_EQ(formatNumericStamp(addMinutesPrecise(t, -5), {false, true, true}), "12/31/2003,23:59:59,900");
}

TEST(DateCode, ValidCodesAndCenturies) {
  // seconds, minutes, hours, day, month, bank letter, weekday, year
  auto t = parseDateCode("00050903063395");
  ASSERT_TRUE(t);
  EXPECT_EQ(formatDisplayStamp(*t, false), "Tue  3-Jun-1995  9:05:00");
  t = parseDateCode("00050903063305");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->year, 2005);
}

TEST(DateCode, InvalidFields) {
  EXPECT_FALSE(parseDateCode("00052403063303"));  // hour 24
  EXPECT_FALSE(parseDateCode("60050903063303"));  // second 60
  EXPECT_FALSE(parseDateCode("00050900063303"));  // day 0
  EXPECT_FALSE(parseDateCode("00050903133303"));  // month 13
  EXPECT_FALSE(parseDateCode("0005090306330"));   // short
  EXPECT_FALSE(parseDateCode("0005x903063303"));
  // Positions 11 and 12 are not checked; a weekday digit outside 1-7 falls back to the calendar.
  const auto t = parseDateCode("0005090306?x03");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->weekday, 2);
}

}  // namespace
}  // namespace brevik::protocol
