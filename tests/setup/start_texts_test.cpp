#include <gtest/gtest.h>

#include "setup/start_texts.h"

namespace brevik::setup {
namespace {

DateTime at(int y, int mo, int d, int h, int mi, int s) {
  DateTime t{y, mo, d, h, mi, s, 0, 0};
  t.weekday = weekdayOf(y, mo, d);
  return t;
}

// A clock with a 24-hour long time, as many locales have.
class TwentyFourHourClock final : public Clock {
 public:
  explicit TwentyFourHourClock(DateTime t) : t_(t) {}
  DateTime now() const override { return t_; }
  std::string longTime(const DateTime& t) const override {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buf;
  }

 private:
  DateTime t_;
};

TEST(RemoveSeconds, CutsAtTheSecondColon) {
  EXPECT_EQ(removeSeconds("14:05:33"), "14:05");
  EXPECT_EQ(removeSeconds("2:05:33 PM"), "2:05 PM");
  EXPECT_EQ(removeSeconds("14:05"), "14:05");
  EXPECT_EQ(removeSeconds(""), "");
  EXPECT_EQ(removeSeconds("1:2:"), "1:2");
}

TEST(DaySuffix, FollowsEnglishOrdinals) {
  const std::pair<int, const char*> cases[] = {{1, "st at "},  {2, "nd at "},  {3, "rd at "},  {4, "th at "},
                                               {11, "th at "}, {12, "th at "}, {13, "th at "}, {21, "st at "},
                                               {22, "nd at "}, {23, "rd at "}, {31, "st at "}, {30, "th at "}};
  for (const auto& [day, suffix] : cases) EXPECT_EQ(daySuffix(day), suffix) << day;
}

TEST(StartItemTexts, StoredDialOutSchedules) {
  TwentyFourHourClock clock(at(2024, 3, 5, 10, 0, 0));
  LoggerConfiguration c;
  c.setStartDate(*dayNumberOf({2024, 3, 1}));
  c.setStartTime(8 * 3600 + 30 * 60 + 17);
  c.setDialOutKind(kDialOutMonthly);
  c.setDialOutMonthday(22);
  EXPECT_EQ(storedDialOutItemText(c, clock), "immediate; dialout on 22nd at 08:30");
  c.setDialOutMonthday(13);
  EXPECT_EQ(storedDialOutItemText(c, clock), "immediate; dialout on 13th at 08:30");
  c.setDialOutKind(kDialOutWeekly);
  c.setDialOutWeekday(6);
  EXPECT_EQ(storedDialOutItemText(c, clock), "immediate; dialout on Fri at 08:30");
  c.setDialOutWeekday(9);
  EXPECT_EQ(storedDialOutItemText(c, clock), "immediate; dialout on err at 08:30");
  c.setDialOutKind(kDialOutDaily);
  EXPECT_EQ(storedDialOutItemText(c, clock), "immediate; dialout at 08:30");
  c.setDialOutKind(kDialOutNone);
  EXPECT_FALSE(storedDialOutItemText(c, clock).has_value());
}

TEST(StartItemTexts, DialogTexts) {
  EXPECT_EQ(dialogDialOutItemText(kDialOutDaily, "", 0, "08:30"), "immediate; with 08:30 dialout");
  EXPECT_EQ(dialogDialOutItemText(kDialOutWeekly, "Fri", 0, "08:30"), "immediate; dialout on Fri at 08:30");
  EXPECT_EQ(dialogDialOutItemText(kDialOutMonthly, "", 11, "08:30"), "immediate; dialout on 11th at 08:30");
}

TEST(StartItemTexts, PresetStartUsesTodayWhenAsked) {
  FixedClock clock(at(2024, 3, 5, 10, 0, 0));  // a Tuesday; English short date and long time
  LoggerConfiguration c;
  c.setStartDate(*dayNumberOf({2023, 12, 25}));
  c.setStartTime(14 * 3600 + 5 * 60 + 33);
  EXPECT_EQ(presetStartItemText(c, clock), "Monday, 12/25/2023 2:05 PM");
  c.setStartToday(true);
  EXPECT_EQ(presetStartItemText(c, clock), "Tuesday, 3/5/2024 2:05 PM");
  c.setStartTime(0);  // midnight shows the date alone
  EXPECT_EQ(presetStartItemText(c, clock), "Tuesday, 3/5/2024");
}

TEST(StartItemTexts, InvalidStoredDateAndTimeAreHeldInRange) {
  LoggerConfiguration c;
  c.setStartDate(kInvalidDayNumber);
  c.setStartTime(999999);
  const DateTime t = presetStartMoment(c, at(2024, 3, 5, 10, 0, 0));
  EXPECT_EQ(t.day, 5);
  EXPECT_EQ(t.hour, 23);
  EXPECT_EQ(t.second, 59);
}

}  // namespace
}  // namespace brevik::setup
