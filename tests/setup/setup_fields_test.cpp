#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "setup/setup_fields.h"

namespace brevik::setup {
namespace {

LoggerConfiguration record() {
  FixedClock clock(DateTime{2024, 3, 5, 10, 20, 30, 0, 2});
  return LoggerConfiguration::builtInDefault(clock);
}

TEST(SetupFields, EveryFieldHasATextThatSetsItBack) {
  LoggerConfiguration c = record();
  c.setDialOutKind(kDialOutWeekly);
  c.setDialOutWeekday(3);
  c.setDialOutMonthday(12);
  c.setScaleCode(2, '3');
  c.setScaleText(2, "-5.00010.000");
  c.setTableName(1, "MYTAB");
  c.setInputModes(static_cast<std::uint16_t>(1 | (5 << 6) | (4 << 9)));
  LoggerConfiguration copy = LoggerConfiguration::builtInDefault(FixedClock(DateTime{2000, 1, 1}));
  ASSERT_EQ(configurationFieldNames().size(), 31u);
  for (const std::string& name : configurationFieldNames()) {
    const std::string text = configurationFieldText(c, name);
    const auto set = setConfigurationField(copy, name, text);
    EXPECT_TRUE(set.ok()) << name << "=" << text << ": " << (set.ok() ? "" : set.error().message);
  }
  EXPECT_EQ(copy, c);
  EXPECT_EQ(configurationFieldText(c, "StartDate"), "2024-03-05");
  EXPECT_EQ(configurationFieldText(c, "starttime"), "10:20:30");
  EXPECT_EQ(configurationFieldText(c, "DialOutKind"), "b");
}

TEST(SetupFields, RefusesWhatTheFormCouldNotProduce) {
  const std::pair<std::string, std::string> bad[] = {
      {"RateCode", "A"},          {"RateCode", "DD"},           {"ModeByte", "3"},
      {"ModeByte", "32"},         {"ChannelOn2", "2"},          {"SessionDescription", std::string(32, 'x')},
      {"StartDate", "2023-02-29"}, {"StartDate", "1599-12-31"}, {"StartTime", "24:00"},
      {"StartTime", "10:61"},     {"ScaleCode1", "k"},          {"ScaleCode3", "0"},
      {"InputModes", "3"},        {"InputModes", "4"},          {"InputModes", "4096"},
      {"TableName1", "../x"},     {"TableName1", "NINECHARS"},  {"TableName1", ""},
      {"ScaleText1", "1"},        {"ScaleText1", "abcdefghijkl"}, {"ScaleText1", "0/0"},
      {"DialOutKind", "d"},       {"DialOutWeekday", "0"},      {"DialOutMonthday", "32"},
      {"Resolution", "4"},        {"Bogus", "1"},               {"ChannelOn5", "1"}};
  for (const auto& [name, value] : bad) {
    LoggerConfiguration c = record();
    const LoggerConfiguration before = c;
    const auto set = setConfigurationField(c, name, value);
    EXPECT_FALSE(set.ok()) << name << "=" << value;
    if (!set.ok()) {
      EXPECT_EQ(set.error().kind, ErrorKind::Usage);
    }
    EXPECT_EQ(c, before) << name;
  }
}

TEST(SetupFields, FriendlyForms) {
  LoggerConfiguration c = record();
  ASSERT_TRUE(setConfigurationField(c, "ScaleText3", " 5 / 10").ok());
  EXPECT_EQ(c.scaleText(3), "5.000010.000");
  ASSERT_TRUE(setConfigurationField(c, "StartTime", "07:05").ok());
  EXPECT_EQ(c.startTime(), 7u * 3600 + 5 * 60);
  ASSERT_TRUE(setConfigurationField(c, "ChannelDescription4", "Sonde été"_cp).ok());
  EXPECT_EQ(configurationFieldText(c, "ChannelDescription4"), "Sonde été"_cp);
  ASSERT_TRUE(setConfigurationField(c, "InputModes", std::to_string(4 << 9)).ok());
  ASSERT_TRUE(setConfigurationField(c, "ScaleCode3", "`").ok());
}

}  // namespace
}  // namespace brevik::setup
