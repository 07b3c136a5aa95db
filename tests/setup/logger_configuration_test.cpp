#include "setup/logger_configuration.h"

#include <gtest/gtest.h>

#include <cstring>

namespace brevik::setup {
namespace {

// The record written out by hand from the field table, so that a wrong
// offset or width in the class does not hide behind the same constant.
std::string expectedDefaultImage(std::uint32_t dayNumber, std::uint32_t seconds) {
  std::string img(781, '\0');
  img[0] = 'D';
  img[1] = 0;
  for (int i = 2; i <= 5; ++i) img[i] = 1;
  img[6] = 31;
  std::memset(&img[7], ' ', 31);
  for (int ch = 0; ch < 4; ++ch) {
    const std::size_t off = 38 + 25 * static_cast<std::size_t>(ch);
    img[off] = 24;
    const std::string text = "Channel " + std::to_string(ch + 1) + std::string(15, ' ');
    img.replace(off + 1, 24, text);
  }
  for (int b = 0; b < 4; ++b) img[138 + b] = static_cast<char>((dayNumber >> (8 * b)) & 0xFF);
  for (int b = 0; b < 4; ++b) img[142 + b] = static_cast<char>((seconds >> (8 * b)) & 0xFF);
  for (int i = 146; i <= 149; ++i) img[i] = 'C';
  img[150] = img[151] = 0;
  for (std::size_t off : {152u, 161u, 170u, 179u}) {
    img[off] = 5;
    img.replace(off + 1, 5, "1.RVT");
  }
  for (std::size_t off : {188u, 201u, 214u, 227u}) {
    img[off] = 12;
    img.replace(off + 1, 12, "100.000.0000");
  }
  return img;  // 240-780 stay zero
}

TEST(DayNumber, KnownDatesAndRoundTrip) {
  EXPECT_EQ(dayNumberOf({1600, 1, 1}), 0u);
  EXPECT_EQ(dayNumberOf({1600, 1, 2}), 1u);
  EXPECT_EQ(dayNumberOf({1601, 1, 1}), 366u);  // 1600 is a leap year
  EXPECT_EQ(dayNumberOf({1700, 3, 1}), 36584u);  // 1700 is not
  EXPECT_EQ(dayNumberOf({2000, 1, 1}), 146097u);  // one whole 400-year cycle
  EXPECT_FALSE(dayNumberOf({1599, 12, 31}));
  EXPECT_FALSE(dayNumberOf({2001, 2, 29}));
  EXPECT_FALSE(dayNumberOf({2000, 13, 1}));
  EXPECT_FALSE(dateOfDayNumber(kInvalidDayNumber));
  for (std::uint32_t n : {0u, 59u, 60u, 36524u, 146096u, 146097u, 155000u, 200000u}) {
    auto d = dateOfDayNumber(n);
    ASSERT_TRUE(d);
    EXPECT_EQ(dayNumberOf(*d), n);
  }
  EXPECT_EQ(dateOfDayNumber(146097u + 59u), (CalendarDate{2000, 2, 29}));
}

TEST(LoggerConfiguration, BuiltInDefaultByteForByte) {
  FixedClock clock({2026, 12, 8, 14, 35, 27, 500, 2});
  const auto record = LoggerConfiguration::builtInDefault(clock);
  const std::uint32_t day = *dayNumberOf({2026, 12, 8});
  const std::string expected = expectedDefaultImage(day, 14 * 3600 + 35 * 60 + 27);
  EXPECT_EQ(record.toBytes(), expected);
  EXPECT_EQ(record.startCalendarDate(), (CalendarDate{2026, 12, 8}));
  EXPECT_EQ(record.sessionDescription(), std::string(31, ' '));
  EXPECT_EQ(record.channelDescription(3), "Channel 3" + std::string(15, ' '));
  EXPECT_EQ(record.channelsOnCount(), 4);
}

TEST(LoggerConfiguration, RawImageRoundTripsIncludingReservedBytes) {
  std::string pattern(800, '\0');
  for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<char>((i * 37 + 11) & 0xFF);
  auto record = LoggerConfiguration::fromBytes(pattern);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->toBytes(), pattern.substr(0, 781));
  // Editing fields touches nothing outside them.
  auto edited = *record;
  edited.setRateCode('M');
  edited.setChannelDescription(2, "Sonde");
  edited.setScaleText(4, "0.00001000.0");
  edited.setResolution(kResolution10Bit);
  const std::string after = edited.toBytes();
  for (std::size_t i = 240; i < 776; ++i) ASSERT_EQ(after[i], pattern[i]) << i;
  EXPECT_EQ(after.substr(1, 62), pattern.substr(1, 62));
  EXPECT_EQ(after.substr(88, 100), pattern.substr(88, 100));
}

TEST(LoggerConfiguration, ShortImageIsRejected) {
  auto r = LoggerConfiguration::fromBytes(std::string(780, 'x'));
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error().kind, ErrorKind::InvalidData);
}

TEST(LoggerConfiguration, FieldsLandAtTheirOffsets) {
  LoggerConfiguration c;
  c.setRateCode('T');
  c.setModes(3, 2);
  c.setChannelOn(2, true);
  c.setChannelOn(4, true);
  c.setSessionDescription("Essai");
  c.setChannelDescription(4, std::string(30, 'z'));  // cut to 24
  c.setStartDate(0x01020304);
  c.setStartTime(86399);
  c.setScaleCode(3, 'k');
  c.setInputModes(0x0ABC);
  c.setTableName(2, "LONGTABLENAME");  // cut to 8
  c.setScaleText(3, "0.0000100.00");
  c.setDialOutWeekday(7);
  c.setDialOutMonthday(31);
  c.setDialOutKind(kDialOutWeekly);
  c.setStartToday(true);
  c.setResolution(kResolution8Bit);
  const auto& img = c.image();
  EXPECT_EQ(img[0], 'T');
  EXPECT_EQ(img[1], 2 + 8 * 3);
  EXPECT_EQ(c.startMode(), 3);
  EXPECT_EQ(c.stopMode(), 2);
  EXPECT_EQ(img[2], 0);
  EXPECT_EQ(img[3], 1);
  EXPECT_EQ(img[5], 1);
  EXPECT_EQ(c.channelsOnCount(), 2);
  EXPECT_EQ(img[6], 31);
  EXPECT_EQ(c.sessionDescription(), "Essai" + std::string(26, ' '));
  EXPECT_EQ(img[113], 24);
  EXPECT_EQ(c.channelDescription(4), std::string(24, 'z'));
  EXPECT_EQ(img[137], 'z');
  EXPECT_EQ(img[138], 0x04);
  EXPECT_EQ(img[141], 0x01);
  EXPECT_EQ(c.startTime(), 86399u);
  EXPECT_EQ(img[148], 'k');
  EXPECT_EQ(img[150], 0xBC);
  EXPECT_EQ(img[151], 0x0A);
  EXPECT_EQ(img[161], 8);
  EXPECT_EQ(c.tableName(2), "LONGTABL");
  EXPECT_EQ(img[214], 12);
  EXPECT_EQ(c.scaleText(3), "0.0000100.00");
  EXPECT_EQ(img[776], 7);
  EXPECT_EQ(img[777], 31);
  EXPECT_EQ(img[778], 'b');
  EXPECT_EQ(img[779], 1);
  EXPECT_EQ(img[780], 3);
}

TEST(LoggerConfiguration, DamagedLengthBytesAndBadChannelsStayInBounds) {
  std::string raw(781, '\xFF');
  auto c = LoggerConfiguration::fromBytes(raw);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->sessionDescription().size(), 31u);
  EXPECT_EQ(c->tableName(4).size(), 8u);
  EXPECT_EQ(c->scaleText(4).size(), 12u);
  EXPECT_FALSE(c->startCalendarDate());  // all ones: no date
  EXPECT_FALSE(c->channelOn(1));         // 0xFF is not "1"
  EXPECT_EQ(c->channelDescription(0), "");
  EXPECT_EQ(c->scaleCode(5), '\0');
  auto copy = *c;
  copy.setChannelOn(5, true);
  copy.setTableName(0, "X");
  EXPECT_EQ(copy, *c);
}

}  // namespace
}  // namespace brevik::setup
