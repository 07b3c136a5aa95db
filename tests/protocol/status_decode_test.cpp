#include "protocol/status_decode.h"

#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "protocol/reading_line.h"
#include "protocol/status_texts.h"
#include "status_reply_builder.h"

namespace brevik::protocol {
namespace {

using testing::StatusReplyBuilder;

const FixedClock kClock(DateTime{2003, 6, 24, 10, 1, 0, 0, 2});

struct SourceLog {
  std::vector<std::string> records;
};

TableReader recordingSource(SourceLog& log) {
  return [&log](char type, std::string_view record, int) -> Result<TableFileRows> {
    log.records.push_back(std::string(1, type) + ":" + std::string(record));
    return TableFileRows{"A.Rvt", 'X', {{0, 40000}, {25, 15000}, {50, 5000}, {75, 2500}}};
  };
}

StatusDecodeResult decode(const StatusReplyBuilder& b, StatusSettings settings = {}) {
  SourceLog log;
  return decodeStatusReply(b.build(), settings, kClock, recordingSource(log));
}

TEST(StatusAcceptance, RejectsShortRepliesAndBadFifthCharacters) {
  StatusReplyBuilder b;
  const std::string good = b.build();
  ASSERT_EQ(good.size(), 251u);
  EXPECT_TRUE(decode(b).accepted());
  for (char fifth : {'0', '1', '2'}) {
    std::string r = good;
    r[4] = fifth;
    EXPECT_TRUE(isAcceptableStatusReply(r));
  }
  std::string badFifth = good;
  badFifth[4] = '3';
  EXPECT_FALSE(isAcceptableStatusReply(badFifth));
  EXPECT_EQ(decodeStatusReply(badFifth, {}, kClock, nullptr).outcome, StatusOutcome::Rejected);
  EXPECT_EQ(decodeStatusReply(good.substr(0, 249), {}, kClock, nullptr).outcome, StatusOutcome::Rejected);
  EXPECT_TRUE(isAcceptableStatusReply(good.substr(0, 250)));
  EXPECT_EQ(invalidResponseText("abc", ">C005D"), "Invalid response from logger; Length =  3\rabc >C005D");
  EXPECT_EQ(invalidResponseText(good.substr(0, 120), "").substr(0, 43), "Invalid response from logger; Length = 120\r");
}

TEST(StatusDecode, FieldsOfAReply) {
  StatusReplyBuilder b;
  b.flags = "01";
  b.channels = "25";  // channels 1 and 3, stop when channel 1 opens
  b.inputs = std::string{char(64 + 8), char(64 + 1)};  // channel 2 Temp/RH, channel 3 mode 4 (bits 6-8)
  b.phase = "3C";
  b.pointer = "1A2B";
  b.clock = "0001102406B303";
  b.tail = "";
  const auto r = decode(b);
  ASSERT_TRUE(r.accepted());
  const LoggerStatus& s = r.status;
  EXPECT_TRUE(s.isRing());
  EXPECT_TRUE(s.stopsOnChannel1Open());
  EXPECT_EQ(s.activeChannels, 2);
  EXPECT_EQ(s.rateCode, 'G');
  EXPECT_EQ(s.phase, 0x3C);
  EXPECT_EQ(s.memoryPointer, 0x1A2B);
  EXPECT_EQ(s.inputModes, 8 + 64);
  EXPECT_EQ(s.stationAddress, 5);
  EXPECT_EQ(s.modelCode, '5');
  EXPECT_EQ(s.revision, 'q');
  EXPECT_EQ(s.descriptions[1], bytes::padded("Water", 24));
  EXPECT_EQ(s.session, bytes::padded("Well4;siteB", 31));
  EXPECT_EQ(s.channelRecords[0], "  0.00100.00");
  EXPECT_EQ(s.bankLetter, 'B');
  EXPECT_EQ(s.clockText, "Tue 24-Jun-2003 10:01:00am");
  EXPECT_EQ(s.pcTimeText, "6/24/2003 10:01:00 AM");
  EXPECT_EQ(r.newLastRevision, 'q');
  EXPECT_EQ(r.newLastModelCode, 1);
}

TEST(StatusDecode, NulsInTextFieldsBecomeBlanks) {
  StatusReplyBuilder b;
  b.descriptions[0] = std::string("Ai\0r", 4);
  b.session = std::string("S\0", 2);
  b.firstReading = std::string("0005090306\0" "303", 14);  // outside the text fields: kept
  const auto r = decode(b);
  ASSERT_TRUE(r.accepted());
  EXPECT_EQ(r.status.descriptions[0].substr(0, 4), "Ai r");
  EXPECT_EQ(r.status.session.substr(0, 2), std::string("S\0", 2));  // past position 138: kept
  EXPECT_EQ(r.status.firstReadingCode[10], '\0');
}

TEST(StatusDecode, ResolutionFromLengthAndBit7) {
  StatusReplyBuilder b;
  b.flags = "80";
  b.tail = "\x64" "x";  // 253 characters
  auto r = decode(b);
  EXPECT_EQ(r.status.resolution, Resolution::Bits10);
  EXPECT_EQ(r.status.fullScale, 1023);
  EXPECT_EQ(r.status.memorySize, 25800);
  b.flags = "00";
  EXPECT_EQ(decode(b).status.resolution, Resolution::Bits8);
  b.flags = "80";
  b.tail = "\x64" "xy";  // 254 characters: 12 bit whatever bit 7 says
  r = decode(b);
  EXPECT_EQ(r.status.resolution, Resolution::Bits12);
  EXPECT_EQ(r.status.fullScale, 4095);
  EXPECT_EQ(r.status.batteryReading, 100);
  EXPECT_EQ(r.newLastModelCode, 3);
  b.model = '6';
  EXPECT_EQ(decode(b).status.memorySize, 86016);
}

TEST(Readings, PackingOfEachResolution) {
  struct Case {
    Resolution resolution;
    std::array<std::uint16_t, 4> raw;
    std::uint16_t battery;
  };
  const Case cases[] = {
      {Resolution::Bits12, {294, 837, 1932, 2475}, 0},
      {Resolution::Bits10, {74, 210, 345, 482}, 188},
      {Resolution::Bits8, {52, 86, 120, 154}, 18},
  };
  for (const Case& c : cases) {
    const auto p = unpackReadings("123456789ABC", c.resolution);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->raw, c.raw) << static_cast<int>(c.resolution);
    EXPECT_EQ(p->battery, c.battery) << static_cast<int>(c.resolution);
  }
  EXPECT_FALSE(unpackReadings("12345678", Resolution::Bits8));
  EXPECT_FALSE(unpackReadings("12345678ab00", Resolution::Bits8));  // lower case is not hexadecimal
  EXPECT_EQ(unpackReadingsLenient("12zz", Resolution::Bits8).battery, 0x12);
}

TEST(Readings, ReferenceResistorRules) {
  struct Case {
    Resolution resolution;
    char revision;
    int battery;
    float ohms;
  };
  const Case cases[] = {
      {Resolution::Bits12, 'p', 200, 30015.0f}, {Resolution::Bits12, 'q', 0, 30100.0f},
      {Resolution::Bits8, 'q', 200, 30100.0f},  {Resolution::Bits10, 'G', 128, 30015.0f},
      {Resolution::Bits10, 'G', 129, 10000.0f}, {Resolution::Bits8, 'F', 50, 10000.0f},
  };
  for (const Case& c : cases)
    EXPECT_FLOAT_EQ(referenceResistor(c.resolution, c.revision, c.battery), c.ohms) << c.revision << c.battery;
}

TEST(StatusDecode, ReadingsAreConvertedWithUnits) {
  StatusReplyBuilder b;
  b.readings = "80FF0000007F";  // 8 bit: battery 0x80, channel 1 = 0xFF
  b.types = "3A0R";
  b.records[1] = "A";
  b.descriptions[0] = "Level;metres      ";
  const auto r = decode(b, StatusSettings{true, false, HumidityMode::RelativeHumidity, 'q'});
  ASSERT_TRUE(r.accepted());
  const LoggerStatus& s = r.status;
  EXPECT_FLOAT_EQ(s.values[0], 100.0f);  // linear, never Fahrenheit
  EXPECT_EQ(s.unitTexts[0], " metre");
  EXPECT_EQ(s.unitTexts[1], " Deg F");
  EXPECT_EQ(channelValueText(s, 1), "100.000 metre");
  EXPECT_EQ(channelValueText(s, 3), "OFF");
  EXPECT_EQ(s.unitTexts[3], " Ohms");
  EXPECT_FLOAT_EQ(s.referenceOhms, 30100.0f);
  EXPECT_FALSE(r.newLastRevision);
  // Raw 0 on the thermistor: 0 ohms, extrapolated past the table, shown in °F.
  EXPECT_NEAR(s.values[1], celsiusToFahrenheit(100.0f), 1e-3f);
}

TEST(StatusDecode, BankLetterNeedsALetter) {
  StatusReplyBuilder b;
  b.clock = "0001102406@303";
  EXPECT_EQ(decode(b).status.bankLetter, 'A');
  b.clock = "0001102406D303";
  EXPECT_EQ(decode(b).status.bankLetter, 'D');
}

TEST(StatusDecode, BatteryVoltage) {
  StatusReplyBuilder b;
  b.tail = std::string("\x64") + "xy";
  EXPECT_EQ(batteryText(decode(b).status), "11.1 volts");
  b.revision = 'b';
  EXPECT_EQ(batteryText(decode(b).status), "");
}

TEST(StatusDecode, Year91BlanksTheRecords) {
  StatusReplyBuilder b;
  b.clock = "00011024063391";
  b.types = "A000";
  SourceLog log;
  const auto r = decodeStatusReply(b.build(), {}, kClock, recordingSource(log));
  ASSERT_TRUE(r.accepted());
  EXPECT_EQ(r.status.channelRecords[2], "C           ");
  ASSERT_EQ(log.records.size(), 1u);
  EXPECT_EQ(log.records[0], "A:C           ");
}

TEST(StatusDecode, OldFirmware) {
  StatusReplyBuilder b;
  b.revision = '5';
  b.types = "20A3";
  b.inputs = "AA";
  SourceLog log;
  const auto r = decodeStatusReply(b.build(), {}, kClock, recordingSource(log));
  ASSERT_TRUE(r.accepted());
  const LoggerStatus& s = r.status;
  EXPECT_TRUE(s.oldFirmware);
  EXPECT_EQ(s.revision, 'A');
  EXPECT_EQ(s.modelCode, '0');
  EXPECT_EQ(s.inputModes, 0);
  EXPECT_EQ(s.stationAddress, 0);
  EXPECT_EQ(s.typeCodes, (std::array<char, 4>{'1', '0', 'A', '1'}));
  EXPECT_EQ(s.channelRecords[0], "2           ");
  EXPECT_EQ(s.channelRecords[3], "3           ");
  EXPECT_EQ(r.newLastRevision, '5');
  // Records unchanged on the form for old firmware.
  EXPECT_EQ(scaleBoxText(s, 1), "2           ");
  // Every channel but the one switched off asked for its table.
  EXPECT_EQ(log.records.size(), 3u);
}

TEST(StatusDecode, StationAddressFromRevisionO) {
  StatusReplyBuilder b;
  b.revision = 'N';
  const auto hidden = buildStatusForm(decode(b).status, {});
  EXPECT_FALSE(hidden.find("StationAddrBox")->visible);
  EXPECT_FALSE(hidden.find("StationLabel")->visible);
  b.revision = 'O';
  const auto shown = buildStatusForm(decode(b).status, {});
  EXPECT_TRUE(shown.find("StationAddrBox")->visible);
  EXPECT_EQ(shown.text("StationAddrBox"), " 5");
}

TEST(StatusDecode, ATableThatCannotBeUsedStopsTheDecode) {
  StatusReplyBuilder b;
  b.types = "31A0";
  const TableReader failing = [](char, std::string_view, int) -> Result<TableFileRows> {
    return TableFileRows{"Bad.Rvt", 'X', {{1, 1}}};
  };
  const auto r = decodeStatusReply(b.build(), {}, kClock, failing);
  EXPECT_EQ(r.outcome, StatusOutcome::TableFailed);
  ASSERT_TRUE(r.tableError);
  EXPECT_EQ(r.tableError->message, "Sensor Table 'Bad.Rvt' has improper format");
}

TEST(StatusDecode, DatesAndTheirDefaults) {
  StatusReplyBuilder b;
  b.clock = "00012424063303";  // hour 24
  b.firstReading = "00050903063395";
  b.stopTime = "garbage garbag";
  const auto r = decode(b, StatusSettings{false, false, HumidityMode::RelativeHumidity, 'q'});
  EXPECT_EQ(r.status.clockText, "Tue 24-Jun-2003 10:01");
  EXPECT_EQ(r.status.firstReadingText, "Tue  3-Jun-1995  9:05:00");
  EXPECT_EQ(r.status.stopTimeText, "Tue 17-Jun-2003 10:01");
  b.firstReading = "00050903063305";
  b.firstReading[11] = '3';
  EXPECT_EQ(decode(b, StatusSettings{false, false, HumidityMode::RelativeHumidity, 'q'}).status.firstReadingText,
            "Tue  3-Jun-2005  9:05:00");
}

TEST(StatusDecode, FirstReadingOfAWrappedRing) {
  StatusReplyBuilder b;
  b.flags = "09";
  b.channels = "03";
  const auto r = decode(b, StatusSettings{false, false, HumidityMode::RelativeHumidity, 'q'});
  // 32256 readings / 2 channels x 1 minute before the stop time.
  EXPECT_EQ(r.status.firstReadingText, "Fri  6-Jun-2003  5:12:00");
}

TEST(StatusDecode, BatteryLowFromTheClockSeconds) {
  StatusReplyBuilder b;
  b.clock = "85011024063303";
  const auto r = decode(b);
  EXPECT_TRUE(r.status.batteryLow);
  EXPECT_EQ(r.status.clockText, "Tue 24-Jun-2003 10:01");
  b.clock = "75011024063303";
  EXPECT_FALSE(decode(b).status.batteryLow);
}

TEST(StatusDecode, AnyBytesAreSafe) {
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<std::uint8_t>(seed >> 24);
  };
  const std::string good = StatusReplyBuilder{}.build() + "xyz";
  for (std::size_t n = 0; n <= good.size(); ++n)
    decodeStatusBytesForFuzzing(reinterpret_cast<const std::uint8_t*>(good.data()), n);
  for (int round = 0; round < 300; ++round) {
    std::string bytes = good;
    const int flips = 1 + round % 40;
    for (int k = 0; k < flips; ++k) bytes[next() % bytes.size()] = static_cast<char>(next());
    bytes[4] = static_cast<char>('0' + round % 3);
    bytes.resize(250 + round % 8);
    decodeStatusBytesForFuzzing(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::string random(400, '\0');
  for (char& c : random) c = static_cast<char>(next());
  decodeStatusBytesForFuzzing(reinterpret_cast<const std::uint8_t*>(random.data()), random.size());
  decodeStatusBytesForFuzzing(nullptr, 0);
  SUCCEED();
}

}  // namespace
}  // namespace brevik::protocol

namespace brevik::protocol {
namespace {

TEST(ReadingLine, DecodesWithTheStatusOfTheExchange) {
  testing::StatusReplyBuilder b;
  b.types = "A30R";
  b.records[0] = "A";
  SourceLog log;
  auto r = decodeStatusReply(b.build(), StatusSettings{false, false, HumidityMode::RelativeHumidity, 'q'}, kClock,
                             recordingSource(log));
  ASSERT_TRUE(r.accepted());
  // 8 bit: battery, then channels 1-4; channel 1 at 254 is an open thermistor.
  auto u = decodeReadingLine("40FE80FF1000>rest", r.status, r.converter);
  ASSERT_TRUE(u);
  EXPECT_EQ(u->texts[0], " Open");
  EXPECT_EQ(u->texts[1], " 50.196 ");
  EXPECT_EQ(u->texts[2], "OFF");
  EXPECT_EQ(u->batteryReading, 0x40);
  EXPECT_FLOAT_EQ(u->referenceOhms, 30100.0f);
  EXPECT_EQ(r.status.raw[3], 0x10);
  EXPECT_FALSE(decodeReadingLine("40FE80", r.status, r.converter));
  EXPECT_FALSE(decodeReadingLine("40FE80FF10zz", r.status, r.converter));
}

}  // namespace
}  // namespace brevik::protocol
