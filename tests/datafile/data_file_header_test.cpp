#include "datafile/data_file_header.h"

#include <gtest/gtest.h>

#include "support/data_file_builder.h"
#include "datafile/data_file_reader.h"
#include "datafile/data_file_stamps.h"
#include "protocol/time_stamps.h"
#include "protocol/vocabulary.h"

namespace brevik::datafile {
namespace {

using protocol::kResolution10Bit;
using protocol::kResolution12Bit;
using protocol::kResolution8Bit;

TEST(DataFileHeader, WritesTheSeventeenLinesExactly) {
  DataFileHeaderFields h = fixtures::sampleHeader(kResolution10Bit, 3);
  h.modelCode = '6';
  h.lastBank = 'C';
  h.statusFlags = 0x88;
  h.memoryPointer = 2048;
  h.phaseByte = 7;
  h.descriptions[1] = std::string("Eau\0x", 5);
  EXPECT_EQ(formatDataFileHeader(h),
            "CC3Xkq6AHB3.6 C\r\n"
            "Tue  3-Jun-2003  9:05:00\r\n"
            "Wed  4-Jun-2003 10:00:00\r\n"
            "Well4;siteB                    \r\n"
            "Wed  4-Jun-2003 10:01:02    Wed  4-Jun-2003 10:01:05\r\n"
            "Air                     \r\n"
            "Eau x                   \r\n"
            "Door                    \r\n"
            "Probe                   \r\n"
            "136\r\n"
            "71\r\n"
            "7\r\n"
            "2048 7\r\n"
            "C           \r\n"
            "  0.00100.00\r\n"
            "   0.0   1.0\r\n"
            "k           \r\n");
}

TEST(DataFileHeader, TypeLineCarriesResistorModesResolutionBatteryAndBank) {
  DataFileHeaderFields h;
  h.typeCodes = {'A', '0', '3', 'X'};
  h.revision = 'Z';
  h.modelCode = '1';
  h.inputModes = 0x0FFF;
  h.resolutionCode = kResolution12Bit;
  h.batteryVolts = 27.9f;
  h.lastBank = 'B';
  for (const auto& [ohms, letter] : {std::pair{10000, 'A'}, {30015, 'B'}, {30100, 'C'}, {2000, 'D'}}) {
    h.referenceOhms = ohms;
    const std::string line = formatTypeLine(h);
    ASSERT_EQ(line.size(), 15u);
    EXPECT_EQ(line[0], letter);
    EXPECT_EQ(referenceOhmsOfLetter(letter), ohms);
  }
  const std::string line = formatTypeLine(h);
  EXPECT_EQ(line.substr(1, 6), "A03XZ1");
  EXPECT_EQ(line.substr(7, 2), "\x7F\x7F");  // both six-bit halves full
  EXPECT_EQ(line[9], ' ');                   // no resolution letter below model '5'
  EXPECT_EQ(line.substr(10, 3), "9.9");      // never wider than its three positions
  EXPECT_EQ(line.substr(13), " B");
  h.modelCode = '5';
  EXPECT_EQ(formatTypeLine(h)[9], 'C');
}

TEST(DataFileHeader, TransferLineStartsThePcStampAtPosition29) {
  EXPECT_EQ(formatTransferLine("Wed  4-Jun-2003 10:01:02", "Wed  4-Jun-2003 10:01:05"),
            "Wed  4-Jun-2003 10:01:02    Wed  4-Jun-2003 10:01:05");
  EXPECT_EQ(formatTransferLine("Wed  4-Jun-2003 10:01:02am", "Wed  4-Jun-2003 10:01:05am"),
            "Wed  4-Jun-2003 10:01:02am  Wed  4-Jun-2003 10:01:05am");
}

TEST(DataFileHeader, FlagsTellTheResolutionWhenTheTypeLineCannot) {
  DataFileHeaderFields h;
  h.modelCode = '4';
  h.resolutionCode = kResolution12Bit;
  h.statusFlags = 0xC8;  // a 12-bit logger that reports bits 7 and 6
  EXPECT_EQ(statusFlagsAsWritten(h), 0x88);  // 64 less
  h.statusFlags = 0x08;  // bit 6 clear: no borrow, bit 7 set
  EXPECT_EQ(statusFlagsAsWritten(h), 0x88);
  h.resolutionCode = kResolution10Bit;
  h.statusFlags = 0x80;
  EXPECT_EQ(statusFlagsAsWritten(h), 0xC0);
  h.resolutionCode = kResolution8Bit;
  h.statusFlags = 0x0B;
  EXPECT_EQ(statusFlagsAsWritten(h), 0x0B);
  h.modelCode = '5';
  h.resolutionCode = kResolution12Bit;
  h.statusFlags = 0xC8;
  EXPECT_EQ(statusFlagsAsWritten(h), 0xC8);  // the letter says it
}

TEST(DataFileHeader, ReadsBackWhatItWrote) {
  for (int res : {kResolution8Bit, kResolution10Bit, kResolution12Bit}) {
    for (char model : {'1', '5', '6'}) {
      DataFileHeaderFields h = fixtures::sampleHeader(res, 4);
      h.modelCode = model;
      h.lastBank = 'D';
      h.statusFlags = res == kResolution8Bit ? 0 : 0x80 | (res == kResolution10Bit ? 0x40 : 0);
      h.memoryPointer = 30000;
      h.phaseByte = 201;
      const std::string text = formatDataFileHeader(h);
      auto parsed = parseDataFileHeader(splitLines(text), "x.qx1");
      ASSERT_TRUE(parsed.ok()) << parsed.error().message;
      const DataFileHeaderFields& r = parsed->fields;
      EXPECT_EQ(r.resolutionCode, res) << model;
      EXPECT_EQ(r.lastBank, model == '6' ? 'D' : 'A');
      EXPECT_EQ(r.referenceOhms, h.referenceOhms);
      EXPECT_EQ(r.typeCodes, h.typeCodes);
      EXPECT_EQ(r.revision, 'q');
      EXPECT_EQ(r.inputModes, h.inputModes);
      EXPECT_FLOAT_EQ(r.batteryVolts, 3.6f);
      EXPECT_EQ(r.first, h.first);
      EXPECT_EQ(r.last, h.last);
      EXPECT_EQ(r.transferred, h.transferred);
      EXPECT_EQ(r.pcTime, h.pcTime);
      EXPECT_EQ(r.session, "Well4;siteB                    ");
      EXPECT_EQ(r.descriptions[3], "Probe                   ");
      EXPECT_EQ(r.rateCode, 'G');
      EXPECT_EQ(r.channelBits, 15);
      EXPECT_EQ(r.memoryPointer, 30000);
      EXPECT_EQ(parsed->hasPhaseByte, res != kResolution8Bit);
      EXPECT_EQ(r.phaseByte, res != kResolution8Bit ? 201 : 0);
      EXPECT_EQ(r.scalingTexts[1], "  0.00100.00");
      EXPECT_EQ(parsed->linesUsed, 17u);
    }
  }
}

// The thirteen lines of an older file after its type line.
std::vector<std::string_view> olderFile(std::string_view typeLine, std::string_view flags, std::string_view bits,
                                        std::string_view pointer = "1000 1") {
  static std::vector<std::string> keep;
  keep = {std::string(typeLine), "Tue  3-Jun-03  9:05:00", "Wed  4-Jun-03 10:00:00", "Session", "Wed  4-Jun-03 10:01:02",
          "d1", "d2", "d3", "d4", std::string(flags), "77", std::string(bits), std::string(pointer)};
  return {keep.begin(), keep.end()};
}

TEST(DataFileHeader, OneCharacterTypeLineMeansAllFourChannelsOfThatType) {
  auto parsed = parseDataFileHeader(olderFile("B", "128", "5"), "old.qx1");
  ASSERT_TRUE(parsed.ok()) << parsed.error().message;
  EXPECT_EQ(parsed->form, TypeLineForm::SingleCode);
  EXPECT_EQ(parsed->fields.typeCodes, (std::array<char, 4>{'B', 'B', 'B', 'B'}));
  EXPECT_EQ(parsed->fields.referenceOhms, 10000);
  EXPECT_EQ(parsed->fields.scalingTexts[2], "B           ");
  EXPECT_EQ(parsed->linesUsed, 13u);
  EXPECT_EQ(parsed->fields.resolutionCode, kResolution12Bit);  // bit 7 without bit 6
  EXPECT_EQ(parsed->fields.descriptions[0], "d1                      ");
}

TEST(DataFileHeader, FourCharacterTypeLineTakesStrayCodesAsOne) {
  auto parsed = parseDataFileHeader(olderFile("0A2z", "192", "1"), "old.qx1");
  ASSERT_TRUE(parsed.ok()) << parsed.error().message;
  EXPECT_EQ(parsed->form, TypeLineForm::FourCodes);
  EXPECT_EQ(parsed->fields.typeCodes, (std::array<char, 4>{'0', 'A', '1', 'z'}));
  EXPECT_EQ(parsed->fields.scalingTexts[3], "z           ");
  EXPECT_EQ(parsed->fields.resolutionCode, kResolution10Bit);
  auto eightBit = parseDataFileHeader(olderFile("0A2z", "8", "1"), "old.qx1");
  ASSERT_TRUE(eightBit.ok());
  EXPECT_EQ(eightBit->fields.resolutionCode, kResolution8Bit);
}

TEST(DataFileHeader, LastAsADateCodeBecomesAStamp) {
  auto lines = olderFile("C", "0", "1");
  struct Case { std::string_view last; std::string expected; };
  for (const Case& c : {Case{"05040310061203", "Mon 10-Jun-2003  3:04:05"},
                        Case{"00000023129795", "Sat 23-Dec-1995  0:00:00"},
                        Case{"5959153101X200", "Mon 31-Jan-2000 15:59:59"}}) {  // position 11 unchecked
    lines[2] = c.last;
    auto parsed = parseDataFileHeader(lines, "old.qx1");
    ASSERT_TRUE(parsed.ok()) << c.last << ": " << parsed.error().message;
    EXPECT_EQ(parsed->fields.last, c.expected);
  }
}

TEST(DataFileHeader, FailuresCarryTheirMessages) {
  auto lines = olderFile("C", "0", "1");
  lines[2] = "00002510061203";  // hour 25
  auto bad = parseDataFileHeader(lines, "old.qx1");
  ASSERT_FALSE(bad.ok());
  EXPECT_EQ(bad.error().message, "Bad date format old.qx1 00002510061203 14");
  lines[2] = "Mon 10-Jun";
  EXPECT_EQ(parseDataFileHeader(lines, "old.qx1").error().message, "Bad date format old.qx1 Mon 10-Jun 10");

  auto none = parseDataFileHeader(olderFile("C", "0", "32"), "f.qx1");
  ASSERT_FALSE(none.ok());
  EXPECT_EQ(none.error().message, "Bad file format(0): f.qx1");

  for (const auto& [flags, bits] : {std::pair{"x", "1"}, {"300", "1"}, {"0", ""}, {"0", "1 2"}}) {
    auto damaged = parseDataFileHeader(olderFile("C", flags, bits), "f.qx1");
    ASSERT_FALSE(damaged.ok());
    EXPECT_EQ(damaged.error().message.rfind("Bad file format: f.qx1", 0), 0u) << damaged.error().message;
  }
  for (const char* pointer : {"", "x", "1000 300", "1000 1 2", "1000 -1"}) {
    auto damaged = parseDataFileHeader(olderFile("C", "0", "1", pointer), "f.qx1");
    ASSERT_FALSE(damaged.ok()) << pointer;
    EXPECT_EQ(damaged.error().message.rfind("Bad file format: f.qx1", 0), 0u) << damaged.error().message;
  }
  auto spaced = parseDataFileHeader(olderFile("C", " 0 ", "1", "  1000   12 "), "f.qx1");
  ASSERT_TRUE(spaced.ok());
  EXPECT_EQ(spaced->fields.memoryPointer, 1000);
  EXPECT_EQ(spaced->fields.phaseByte, 12);
  auto shortType = parseDataFileHeader(olderFile("AB", "0", "1"), "f.qx1");
  ASSERT_FALSE(shortType.ok());
}

TEST(DataFileStamps, ReadsEveryLength) {
  struct Case { std::string_view text; DateTime expected; };
  const Case cases[] = {
      {"Tue  3-Jun-03  9:05pm", {2003, 6, 3, 21, 5, 0, 0, 2}},                // 21
      {"Tue  3-Jun-03  9:05:07", {2003, 6, 3, 9, 5, 7, 0, 2}},                // 22
      {"Tue  3-Jun-2003  9:05:07", {2003, 6, 3, 9, 5, 7, 0, 2}},              // 24, four-digit year
      {"Tue  1-Jan-91 12:00:00am", {1991, 1, 1, 0, 0, 0, 0, 2}},              // 24, am/pm
      {"Tue  3-Jun-2003 12:05:07pm", {2003, 6, 3, 12, 5, 7, 0, 2}},           // 26
      {"Tue 24-Jun-2003 10:01", {2003, 6, 24, 10, 1, 0, 0, 2}},               // fallback text
      {"Wed  4-Jun-2003 10:01:02  ", {2003, 6, 4, 10, 1, 2, 0, 3}},           // blanks after
  };
  for (const Case& c : cases) {
    const auto t = parseFileStamp(c.text);
    ASSERT_TRUE(t.has_value()) << c.text;
    EXPECT_EQ(*t, c.expected) << c.text;
  }
  EXPECT_FALSE(parseFileStamp("Tue 3-Jun-2003").has_value());
  EXPECT_FALSE(parseFileStamp("Tue  3-Jun-2003  9:05:0x").has_value());
}

TEST(DataFileStamps, BadDayOrMonthIsReported) {
  std::vector<std::string> warnings;
  EXPECT_FALSE(parseFileStamp("Tue 32-Jun-2003  9:05:07", &warnings).has_value());
  EXPECT_FALSE(parseFileStamp("Tue  3-Jux-2003  9:05:07", &warnings).has_value());
  EXPECT_EQ(warnings, (std::vector<std::string>{"Invalid Date string", "Invalid Month string"}));
}

TEST(DataFileStamps, ReadsWhatTheStatusFormatsOnBothClocks) {
  const DateTime t{2003, 6, 3, 21, 5, 0, 0, 2};
  EXPECT_EQ(*parseFileStamp(protocol::formatDisplayStamp(t, true)), t);
  EXPECT_EQ(*parseFileStamp(protocol::formatDisplayStamp(t, false)), t);
}

}  // namespace
}  // namespace brevik::datafile
