// The status replies the twin builds, checked against the reply layout as a
// decoder reads it, not against the builder's own code.

#include "sim/status_reply.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/vocabulary.h"
#include "sim/date_code.h"

namespace brevik::sim {
namespace {

int hexValue(char c) { return c >= 'A' ? c - 'A' + 10 : c - '0'; }
int pairAt(const std::string& r, int position) {  // position counted from 1
  return hexValue(r[position - 1]) * 16 + hexValue(r[position]);
}

bool sumChecks(const std::string& line) {
  unsigned sum = 0;
  for (std::size_t i = 0; i + 2 < line.size(); ++i) sum += static_cast<unsigned char>(line[i]);
  sum += static_cast<unsigned>(hexValue(line[line.size() - 2]) * 16 + hexValue(line[line.size() - 1]));
  return sum % 256 == 0;
}

// The six current-reading pairs unpacked by resolution.
std::array<int, 5> unpack(const std::string& twelve, int resolution, int battery12) {
  std::array<int, 6> p{};
  for (int i = 0; i < 6; ++i) p[i] = hexValue(twelve[2 * i]) * 16 + hexValue(twelve[2 * i + 1]);
  if (resolution == 12)
    return {p[0] * 16 + (p[2] & 15), p[1] * 16 + (p[2] >> 4), p[3] * 16 + (p[5] & 15), p[4] * 16 + (p[5] >> 4),
            battery12};
  if (resolution == 10)
    return {p[0] * 4 + (p[4] & 3), p[1] * 4 + ((p[4] >> 2) & 3), p[2] * 4 + ((p[4] >> 4) & 3), p[3] * 4 + (p[4] >> 6),
            p[5]};
  return {p[1], p[2], p[3], p[4], p[0]};
}

DateTime june3() {
  DateTime t;
  t.year = 2003;
  t.month = 6;
  t.day = 3;
  t.hour = 9;
  t.minute = 5;
  return t;
}

struct ModelCase {
  char model;
  int resolution;
  char revision;
  std::size_t length;
};

class StatusReplyLayout : public ::testing::TestWithParam<ModelCase> {};

TEST_P(StatusReplyLayout, IsAcceptedAndDecodesToTheProfile) {
  const auto c = GetParam();
  LoggerProfile p;
  p.model = c.model;
  p.resolution = c.resolution;
  p.revision = c.revision;
  p.address = 0x2A;
  p.rate = 'G';
  p.flags = 0x01;
  p.channels = 0x2B;
  p.inputs = 0x0C5;
  p.types = "AB3X";
  p.records = {"A", "B", "   0.0 100.0", "c"};
  p.descriptions = {"Un", "Deux", "Trois", "Quatre"};
  p.session = "Session";
  p.pointer = 0x1234;
  p.phase = 0x5A;
  p.bank = 'B';
  p.signal = {SignalShape::Kind::Constant, c.resolution == 12 ? 0xABC : c.resolution == 10 ? 0x2F3 : 0xC8};
  p.battery = 0x51;
  const LoggerState state = LoggerState::fromProfile(p, june3());
  const std::string r = statusReplyLine(state, 0);

  ASSERT_EQ(r.size(), c.length);
  EXPECT_GE(r.size(), 250u);
  EXPECT_TRUE(r[4] >= '0' && r[4] <= '2') << r.substr(0, 14);
  EXPECT_TRUE(sumChecks(r));
  EXPECT_EQ(r.find('\r'), std::string::npos);

  const bool twelveBit = r.size() >= 254;
  const int resolution = twelveBit ? 12 : (pairAt(r, 29) & 0x80) ? 10 : 8;
  EXPECT_EQ(resolution, c.resolution);
  EXPECT_EQ(r[249], c.revision);
  if (protocol::revisionSendsModelCode(c.revision)) {
    EXPECT_EQ(r[250], c.model);
  }

  EXPECT_EQ(pairAt(r, 29) & 0x7F, 0x01);
  EXPECT_EQ(pairAt(r, 31), 'G');
  EXPECT_EQ(pairAt(r, 33), 0x2B);
  if (protocol::revisionSendsInputModes(c.revision)) {
    EXPECT_EQ(((r[34] - 64) | (r[35] - 64) << 6), 0x0C5);
  }
  EXPECT_EQ(pairAt(r, 37), 0x5A);
  EXPECT_EQ(pairAt(r, 39) * 256 + pairAt(r, 41), 0x1234);
  EXPECT_EQ(r.substr(42, 24), "Un                      ");
  EXPECT_EQ(r.substr(114, 24), "Quatre                  ");
  EXPECT_EQ(r.substr(138, 31), "Session                        ");
  EXPECT_EQ(r.substr(181, 14), "0005090306B303");  // the clock, with the bank letter
  if (protocol::revisionSendsStationAddress(c.revision)) {
    EXPECT_EQ(pairAt(r, 196), 0x2A);
  }
  EXPECT_EQ(r.substr(197, 12), "A           ");
  EXPECT_EQ(r.substr(221, 12), "   0.0 100.0");
  EXPECT_EQ(r.substr(245, 4), "AB3X");

  const auto values = unpack(r.substr(169, 12), resolution, twelveBit ? static_cast<unsigned char>(r[251]) : 0);
  for (int ch = 0; ch < 4; ++ch) EXPECT_EQ(values[ch], p.signal.value) << "channel " << ch + 1;
  EXPECT_EQ(values[4], 0x51);
}

INSTANTIATE_TEST_SUITE_P(Models, StatusReplyLayout,
                         ::testing::Values(ModelCase{'5', 12, 'q', 254}, ModelCase{'6', 8, 'q', 253},
                                           ModelCase{'6', 12, 'r', 254}, ModelCase{'1', 8, 'G', 252},
                                           ModelCase{'1', 10, 'J', 253}, ModelCase{'5', 8, 'I', 252},
                                           ModelCase{'3', 10, 'N', 253}, ModelCase{'4', 12, 'S', 254},
                                           ModelCase{'2', 8, '7', 252}, ModelCase{'5', 10, 'z', 253}));

TEST(StatusReply, PacksDistinctChannelCountsAsTheLayoutReadsThem) {
  const std::array<int, 4> counts12{0x123, 0xFED, 0x0F0, 0xA5B};
  EXPECT_EQ(unpack(packReadings(12, counts12, 0), 12, 7), (std::array<int, 5>{0x123, 0xFED, 0x0F0, 0xA5B, 7}));
  const std::array<int, 4> counts10{1023, 1, 514, 771};
  EXPECT_EQ(unpack(packReadings(10, counts10, 99), 10, 0), (std::array<int, 5>{1023, 1, 514, 771, 99}));
  const std::array<int, 4> counts8{0, 255, 17, 128};
  EXPECT_EQ(unpack(packReadings(8, counts8, 200), 8, 0), (std::array<int, 5>{0, 255, 17, 128, 200}));
}

TEST(StatusReply, InputModesOfOldRevisionsReadAsStandard) {
  LoggerProfile p;
  p.revision = 'P';
  p.inputs = 0x0FFF;
  const std::string r = statusReplyLine(LoggerState::fromProfile(p, june3()), 0);
  EXPECT_EQ(r.substr(34, 2), "@@");
}

TEST(StatusReply, ClockRunsWithTheTwinsTime) {
  LoggerProfile p;
  p.clock = "5059230306A303";  // 23:59:50 on Tuesday 3 June 2003
  p.bank = 'D';
  const LoggerState s = LoggerState::fromProfile(p, june3());
  EXPECT_EQ(statusReplyText(s, 0).substr(181, 14), "5059230306D303");
  EXPECT_EQ(statusReplyText(s, 15 * kMicrosPerSecond).substr(181, 14), "0500000406D403");
}

TEST(StatusReply, AnInvalidProfileClockIsSentAsItStands) {
  LoggerProfile p;
  p.clock = "0000240306A303";  // hour 24: no real time
  EXPECT_EQ(statusReplyText(LoggerState::fromProfile(p, june3()), 60 * kMicrosPerSecond).substr(181, 14),
            "0000240306A303");
}

TEST(StatusReply, ScheduleAndReadingLinesCarryChecksums) {
  LoggerProfile p;
  p.schedule = "9830073300";
  p.readings = "0102030405FF";
  const LoggerState s = LoggerState::fromProfile(p, june3());
  const std::string schedule = scheduleReplyLine(s);
  EXPECT_EQ(schedule.substr(0, 10), "9830073300");
  EXPECT_TRUE(sumChecks(schedule));
  const std::string reading = readingLine(s, 0);
  ASSERT_EQ(reading.size(), 15u);
  EXPECT_EQ(reading[0], '>');
  EXPECT_EQ(reading.substr(1, 12), "0102030405FF");
  EXPECT_TRUE(sumChecks(reading.substr(1)));

  LoggerProfile none;
  EXPECT_EQ(scheduleReplyLine(LoggerState::fromProfile(none, june3())).substr(0, 12), "000000000000");
}

TEST(DateCode, BuildsParsesAndAddsAcrossMonthAndYear) {
  DateTime t;
  t.year = 1999;
  t.month = 12;
  t.day = 31;
  t.hour = 23;
  t.minute = 59;
  t.second = 59;
  EXPECT_EQ(dateCode(t, 'A'), "5959233112A699");  // a Friday
  const DateTime next = addSeconds(t, 1);
  EXPECT_EQ(dateCode(next, 'A'), "0000000101A700");
  EXPECT_EQ(parseDateCode("0000000101A700")->year, 2000);
  EXPECT_FALSE(parseDateCode("0000003102A700").has_value());  // 31 February
  EXPECT_FALSE(parseDateCode("00000001").has_value());
  EXPECT_EQ(parseConfigTimeField("3015120306303")->minute, 15);
  EXPECT_EQ(dateCode(addSeconds(t, -86400 * 365), 'B'), "5959233112B598");
}

}  // namespace
}  // namespace brevik::sim
