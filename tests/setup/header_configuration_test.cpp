#include <gtest/gtest.h>

#include "common/clock.h"
#include "setup/header_configuration.h"
#include "support/temp_dir.h"

namespace brevik::setup {
namespace {

LoggerConfiguration base() {
  FixedClock clock(DateTime{2024, 3, 5, 10, 0, 0, 0, 2});
  return LoggerConfiguration::builtInDefault(clock);
}

std::string header(std::string typeLine, std::vector<std::string> scaleLines = {}, std::string flags = "21",
                   std::string firstStamp = "Tue 24-Jun-2003 10:01") {
  std::string text = typeLine + "\r\n" + firstStamp + "\r\n" + "Tue 24-Jun-2003 11:01\r\n" +
                     "Session name                   \r\n" + "transfer line\r\n" +
                     std::string("Probe A") + std::string(1, '\0') + "                \r\n" +
                     "Probe B                 \r\n" + "Probe C                 \r\n" + "Probe D                 \r\n" +
                     flags + "\r\n" + "73\r\n" + "11\r\n" + "2048 1\r\n";
  for (const auto& s : scaleLines) text += s + "\r\n";
  return text + "0102030405\r\n";
}

TEST(HeaderConfiguration, FullTypeLine) {
  const auto r = configurationFromDataHeader(
      header("C1C3Xq5@AC3.6 A", {"MYTAB       ", "C           ", "0.0000100.00", "1.00002.0000"}), base());
  ASSERT_TRUE(r.ok()) << r.error().message;
  const LoggerConfiguration& c = *r;
  EXPECT_EQ(c.sessionDescription(), "Session name                   ");
  EXPECT_EQ(c.channelDescription(1), "Probe A                 ");  // NUL made a blank
  EXPECT_EQ(c.channelDescription(4), "Probe D                 ");
  // flags 21 = 16 + 4 + 1: start on trigger, ring
  EXPECT_EQ(c.startMode(), 2);
  EXPECT_EQ(c.stopMode(), 1);
  EXPECT_EQ(c.rateCode(), 'I');
  EXPECT_TRUE(c.channelOn(1));
  EXPECT_TRUE(c.channelOn(2));
  EXPECT_FALSE(c.channelOn(3));
  EXPECT_TRUE(c.channelOn(4));
  EXPECT_EQ(c.scaleCode(1), '1');
  EXPECT_EQ(c.tableName(1), "MYTAB");
  EXPECT_EQ(c.scaleCode(3), '3');
  EXPECT_EQ(c.scaleText(3), "0.0000100.00");
  EXPECT_EQ(c.scaleCode(4), 'X');
  EXPECT_EQ(c.scaleText(4), "1.00002.0000");
  EXPECT_EQ(c.resolution(), kResolution12Bit);
  EXPECT_EQ(c.inputModes(), ('@' & 63) + ('A' & 63) * 64);
  EXPECT_EQ(c.rateCode(), 'I');
}

TEST(HeaderConfiguration, ShortTypeLines) {
  auto four = configurationFromDataHeader(header("AB3C"), base());
  ASSERT_TRUE(four.ok());
  EXPECT_EQ(four->scaleCode(1), 'A');
  EXPECT_EQ(four->scaleCode(3), '3');
  EXPECT_EQ(four->scaleText(3), "100.000.0000");  // no scale lines read: kept
  EXPECT_EQ(four->resolution(), 0);
  EXPECT_EQ(four->inputModes(), 0);
  auto one = configurationFromDataHeader(header("B"), base());
  ASSERT_TRUE(one.ok());
  for (int ch = 1; ch <= 4; ++ch) EXPECT_EQ(one->scaleCode(ch), 'B');
}

TEST(HeaderConfiguration, BlankResolutionLetterGivesZero) {
  const auto r = configurationFromDataHeader(
      header("CCCCCq2@@ 3.6 A", {"C", "C", "C", "C"}, "36"), base());
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->resolution(), 0);
  // flags 36 = 32 + 4: preset start, stop when channel 1 opens
  EXPECT_EQ(r->startMode(), 1);
  EXPECT_EQ(r->stopMode(), 2);
}

TEST(HeaderConfiguration, CorruptFilesLeaveTheRecord) {
  const std::string bad[] = {
      header("CCCC", {}, "21", "Tue 24-Jun-2003"),      // line 2 of the wrong length
      header("CCCC", {}, "x21"),                         // flags not a number
      header("CCCC", {}, "300"),                         // out of range
      header("C1C3Xq5@AC3.6 A", {"MYTAB"}).substr(0, 0),  // empty file
      "C\r\nTue 24-Jun-2003 10:01\r\n",                   // header cut short
  };
  for (const auto& text : bad) {
    const auto r = configurationFromDataHeader(text, base());
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().message, "File corrupt or invalid");
  }
  // A full type line whose scale lines are missing.
  std::string cut = header("CCCCCq2@@ 3.6 A");
  cut = cut.substr(0, cut.rfind("0102030405"));
  EXPECT_FALSE(configurationFromDataHeader(cut.substr(0, cut.size() - 2), base()).ok());
}

TEST(HeaderConfiguration, AcceptsEveryStampLength) {
  for (const char* stamp : {"Tue 24-Jun-2003 10:01", "Tue 24-Jun-2003 10:01:00", "Tue 24-Jun-2003 10:01:00pm"})
    EXPECT_TRUE(configurationFromDataHeader(header("C", {}, "0", stamp), base()).ok()) << stamp;
}

TEST(HeaderConfiguration, ReadsFromAFile) {
  testing::TempDir dir;
  const auto path = dir.write("site.QX1", header("AB3C"));
  EXPECT_TRUE(readConfigurationFromDataFile(path, base()).ok());
  const auto missing = readConfigurationFromDataFile(dir / "none.qx1", base());
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().message.rfind("File I/O error: ", 0), 0u);
  EXPECT_TRUE(isDataFileName("a.qx1"));
  EXPECT_TRUE(isDataFileName("DIR/A.Qx1"));
  EXPECT_FALSE(isDataFileName("a.set"));
  EXPECT_FALSE(isDataFileName("x1"));
}

}  // namespace
}  // namespace brevik::setup
