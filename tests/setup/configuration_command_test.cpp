#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "setup/configuration_command.h"
#include "setup/configuration_validation.h"
#include "protocol/vocabulary.h"

namespace brevik::setup {
namespace {

using setup::LoggerConfiguration;

DateTime at(int y, int mo, int d, int h, int mi, int s) {
  DateTime t{y, mo, d, h, mi, s, 0, 0};
  t.weekday = weekdayOf(y, mo, d);
  return t;
}

const DateTime kNow = at(2024, 3, 5, 10, 20, 30);  // Tuesday

LoggerConfiguration defaultRecord() {
  FixedClock clock(kNow);
  return LoggerConfiguration::builtInDefault(clock);
}

ConfigurationMessages build(const LoggerConfiguration& c, ConfigurationTarget target = {'q', false, false}) {
  auto built = buildConfigurationCommand(c, target, kNow);
  EXPECT_TRUE(std::holds_alternative<ConfigurationMessages>(built));
  return std::holds_alternative<ConfigurationMessages>(built) ? std::get<ConfigurationMessages>(built)
                                                              : ConfigurationMessages{};
}

TEST(ModeCharacter, StartAndStopModes) {
  const std::tuple<int, int, char> cases[] = {
      {0, 0, '@'}, {3, 0, '@'}, {1, 0, 'F'}, {2, 0, 'P'}, {0, 1, 'A'}, {0, 2, 'a'}, {2, 2, 'q'}, {1, 1, 'G'}};
  for (const auto& [start, stop, expected] : cases) {
    LoggerConfiguration c;
    c.setModes(start, stop);
    EXPECT_EQ(modeCharacter(c.modeByte()), expected) << start << "/" << stop;
  }
}

TEST(DateFields, ClockField) {
  EXPECT_EQ(clockField(kNow), "302010050332" "4");
  EXPECT_EQ(clockField(kNow).substr(10), "324");  // day-of-week '3' (Tuesday) before the year 24
}

TEST(DateFields, MonthlyDialOutOnDay5At1430) {
  LoggerConfiguration c = defaultRecord();
  c.setStartDate(*setup::dayNumberOf({2024, 3, 8}));  // a Friday
  c.setStartTime(14 * 3600 + 30 * 60 + 12);
  c.setDialOutKind(setup::kDialOutMonthly);
  c.setDialOutMonthday(5);
  EXPECT_EQ(startField(c, kNow), "00" "30" "14" "05" "03" "6" "97");
  c.setDialOutKind(setup::kDialOutWeekly);
  c.setDialOutWeekday(2);
  EXPECT_EQ(startField(c, kNow), "00" "30" "14" "08" "03" "2" "98");
  c.setDialOutKind(setup::kDialOutDaily);
  EXPECT_EQ(startField(c, kNow), "00" "30" "14" "08" "03" "6" "99");
  c.setDialOutKind(setup::kDialOutNone);
  EXPECT_EQ(startField(c, kNow), "00" "30" "14" "08" "03" "6" "24");
  c.setStartToday(true);
  EXPECT_EQ(startField(c, kNow), "00" "30" "14" "05" "03" "3" "24");
}

TEST(ConfigurationCommand, DefaultRecordOnNewFirmware) {
  const auto m = build(defaultRecord()).messages;
  ASSERT_EQ(m.size(), 4u);
  EXPECT_EQ(m[0], "0" + clockField(kNow) + startField(defaultRecord(), kNow) + "D" + "O" + "@" +
                      std::string(31, ' ') + "CCCC");
  EXPECT_EQ(m[1], "2Channel 1               Channel 2               ");
  EXPECT_EQ(m[1].size(), 49u);
  EXPECT_EQ(m[2], "3Channel 3               Channel 4               ");
  EXPECT_EQ(m[3], "4" + std::string("C") + std::string(11, ' ') + "C" + std::string(11, ' ') + "C" +
                      std::string(11, ' ') + "C" + std::string(11, ' ') + " @@");
}

TEST(ConfigurationCommand, NoChannelEnabled) {
  LoggerConfiguration c = defaultRecord();
  for (int ch = 1; ch <= 4; ++ch) c.setChannelOn(ch, false);
  const auto m = build(c).messages;
  EXPECT_EQ(m[0][28], '@');  // channel character
  EXPECT_EQ(protocol::byteOf(m[0][29]) & 2u, 2u);  // mode character: stopped
}

TEST(ConfigurationCommand, EmptyDescriptionsGiveOneCharacterMessages) {
  LoggerConfiguration c;  // every string of length 0
  c.setRateCode('D');
  const auto m = build(c).messages;
  EXPECT_EQ(m[1], "2");
  EXPECT_EQ(m[2], "3");
}

TEST(ConfigurationCommand, ChannelFieldsInputModesAndResolution) {
  LoggerConfiguration c = defaultRecord();
  c.setScaleCode(1, '1');
  c.setTableName(1, "MYTAB");
  c.setScaleCode(2, '3');
  c.setScaleText(2, "0.0000100.00");
  c.setScaleCode(3, 'X');
  c.setScaleText(3, "1.0");  // short texts are padded so the fields stay in place
  c.setScaleCode(4, 'k');
  c.setInputModes(static_cast<std::uint16_t>(1 | (2 << 3) | (5 << 6) | (4 << 9)));
  c.setChannelOn(3, false);
  c.setResolution(setup::kResolution10Bit);
  const auto m = build(c).messages;
  EXPECT_EQ(m[3].substr(1, 48), "MYTAB       0.0000100.001.0         k           ");
  const auto chars = protocol::encodeInputModes(static_cast<std::uint16_t>(1 | (2 << 3) | (4 << 9)));
  EXPECT_EQ(m[3].substr(49), std::string(" ") + chars[0] + chars[1] + " B");
  EXPECT_EQ(m[0].substr(m[0].size() - 4), "13Xk");
  c.setResolution(setup::kResolution8Bit);
  EXPECT_EQ(build(c).messages[3].substr(52), " A");
  c.setResolution(setup::kResolution12Bit);
  EXPECT_EQ(build(c).messages[3].substr(52), " C");
}

TEST(ConfigurationCommand, HeaderCommandCharacter) {
  EXPECT_EQ(build(defaultRecord(), {'I', false, false}).messages[0][0], '0');
  EXPECT_EQ(build(defaultRecord(), {'H', false, false}).messages[0][0], '1');
  EXPECT_EQ(build(defaultRecord(), {'q', false, true}).messages[0][0], 'K');
}

TEST(ConfigurationCommand, OldFirmwareSendsTheTableDigitAndThreeMessages) {
  LoggerConfiguration c = defaultRecord();
  c.setScaleCode(3, '1');
  c.setTableName(3, "7");
  const auto m = build(c, {'A', true, false}).messages;
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0][0], '1');
  EXPECT_EQ(m[0].substr(m[0].size() - 4), "CC7C");
}

TEST(ConfigurationCommand, OldFirmwareRefusesLinearScaling) {
  LoggerConfiguration c = defaultRecord();
  c.setScaleCode(2, 'X');
  const auto built = buildConfigurationCommand(c, {'A', true, false}, kNow);
  ASSERT_TRUE(std::holds_alternative<ConfigurationRefusal>(built));
  const auto& refusal = std::get<ConfigurationRefusal>(built);
  EXPECT_EQ(refusal.kind, RefusalKind::ScalingNotSupported);
  EXPECT_EQ(refusal.message.substr(0, 55), "Scaling values are not supported in this Brevik Logger\r");
  EXPECT_NE(refusal.message.find("\rContact factory for details."), std::string::npos);
}

TEST(ConfigurationCommand, RateNotSupportedByTheRevision) {
  const std::tuple<char, char, bool> cases[] = {
      {'8', 'G', false}, {'8', 'H', true}, {'C', 'E', false}, {'C', 'F', true},
      {'S', 'G', false}, {'T', 'K', false}, {'T', 'L', true}, {'D', 'A', true}};
  for (const auto& [rate, revision, supported] : cases) {
    LoggerConfiguration c = defaultRecord();
    c.setRateCode(rate);
    const auto built = buildConfigurationCommand(c, {revision, false, false}, kNow);
    if (supported) {
      EXPECT_TRUE(std::holds_alternative<ConfigurationMessages>(built)) << rate << revision;
    } else {
      ASSERT_TRUE(std::holds_alternative<ConfigurationRefusal>(built)) << rate << revision;
      EXPECT_EQ(std::get<ConfigurationRefusal>(built).kind, RefusalKind::RateNotSupported);
      EXPECT_EQ(std::get<ConfigurationRefusal>(built).message, "Logger does not support selected sample rate");
    }
  }
}

TEST(ConfigurationCommand, PassedPresetStartStartsAtOnce) {
  LoggerConfiguration c = defaultRecord();
  c.setModes(1, 0);
  c.setStartDate(*setup::dayNumberOf({2024, 3, 5}));
  c.setStartTime(10 * 3600 + 20 * 60 + 29);  // one second ago
  EXPECT_TRUE(presetStartPassed(c, kNow));
  EXPECT_EQ(sentModeCharacter(c, kNow), '@');
  c.setStartTime(10 * 3600 + 20 * 60 + 30);  // now exactly: not yet passed
  EXPECT_FALSE(presetStartPassed(c, kNow));
  EXPECT_EQ(sentModeCharacter(c, kNow), 'F');
}

TEST(ConfigurationCommand, StopOnChannel1MarksTheChannelCharacter) {
  LoggerConfiguration c = defaultRecord();
  c.setModes(0, 2);
  EXPECT_EQ(channelCharacter(c), static_cast<char>(64 + 15 + 32));
}

TEST(ConfigurationCommand, ControlCharactersInTextsBecomeBlanks) {
  LoggerConfiguration c = defaultRecord();
  c.setChannelDescription(1, "bad\rtext");
  EXPECT_EQ(build(c).messages[1].substr(1, 8), "bad text");
}

}  // namespace
}  // namespace brevik::setup
