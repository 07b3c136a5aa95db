#include <gtest/gtest.h>

#include "sim/logger_profile.h"

namespace brevik::sim {
namespace {

Result<LoggerProfile> parse(std::string_view text) { return parseLoggerProfile(text, "m.logger", "."); }

TEST(ModemProfile, DefaultsAreADirectCable) {
  const auto p = parse("");
  ASSERT_TRUE(p.ok());
  EXPECT_FALSE(p->modem.hayes);
  EXPECT_FALSE(p->modem.loopback);
  EXPECT_FALSE(p->modem.number.has_value());
  EXPECT_EQ(p->modem.connectLine, "CONNECT 9600");
  EXPECT_EQ(p->modem.init, ModemInitReply::Ok);
  EXPECT_EQ(p->modem.dial, ModemDialResult::Connect);
  EXPECT_TRUE(p->modem.echo);
  EXPECT_EQ(p->modem.dropAfter, 0);
  EXPECT_TRUE(p->modem.calls.empty());
  EXPECT_EQ(p->modem.ringAfterSeconds, 10u);
  EXPECT_FALSE(p->hasLoggerKeys);
}

TEST(ModemProfile, ReadsEveryModemKey) {
  const auto p = parse(
      "modem = hayes\nmodem_number = 0555 1234\nmodem_connect = CONNECT 2400/ARQ\nmodem_init = ERROR\n"
      "modem_dial = no-answer\nmodem_echo = 0\nmodem_drop = 3\n"
      "calls = ok, empty,silent, garbled, drop:2, busy-site\nring_after = 25\nloopback = 1\n");
  ASSERT_TRUE(p.ok()) << p.error().message;
  EXPECT_TRUE(p->modem.hayes);
  EXPECT_EQ(p->modem.number, "0555 1234");
  EXPECT_EQ(p->modem.connectLine, "CONNECT 2400/ARQ");
  EXPECT_EQ(p->modem.init, ModemInitReply::Error);
  EXPECT_EQ(p->modem.dial, ModemDialResult::NoAnswer);
  EXPECT_FALSE(p->modem.echo);
  EXPECT_EQ(p->modem.dropAfter, 3);
  using K = IncomingCall::Kind;
  const std::vector<std::pair<K, int>> expected = {{K::Ok, 0}, {K::Empty, 0},  {K::Silent, 0},
                                                   {K::Garbled, 0}, {K::Drop, 2}, {K::BusySite, 0}};
  ASSERT_EQ(p->modem.calls.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(p->modem.calls[i].kind, expected[i].first) << i;
    EXPECT_EQ(p->modem.calls[i].dropAfter, expected[i].second) << i;
  }
  EXPECT_EQ(p->modem.ringAfterSeconds, 25u);
  EXPECT_TRUE(p->modem.loopback);
  EXPECT_FALSE(p->hasLoggerKeys) << "modem keys alone describe a bare modem";
}

TEST(ModemProfile, EachDialAndInitValue) {
  struct Case {
    const char* text;
    ModemInitReply init;
    ModemDialResult dial;
  };
  const Case cases[] = {
      {"modem_init = OK\nmodem_dial = connect\n", ModemInitReply::Ok, ModemDialResult::Connect},
      {"modem_init = silent\nmodem_dial = busy\n", ModemInitReply::Silent, ModemDialResult::Busy},
      {"modem_dial = no-carrier\n", ModemInitReply::Ok, ModemDialResult::NoCarrier},
      {"modem_dial = silent\n", ModemInitReply::Ok, ModemDialResult::Silent},
  };
  for (const auto& c : cases) {
    const auto p = parse(c.text);
    ASSERT_TRUE(p.ok()) << c.text;
    EXPECT_EQ(p->modem.init, c.init) << c.text;
    EXPECT_EQ(p->modem.dial, c.dial) << c.text;
  }
}

TEST(ModemProfile, ALoggerKeyMakesItMoreThanABareModem) {
  const auto p = parse("modem = hayes\nmodel = 6\n");
  ASSERT_TRUE(p.ok());
  EXPECT_TRUE(p->hasLoggerKeys);
}

TEST(ModemProfile, BadValuesNameTheLineAndTheProblem) {
  const std::pair<const char*, const char*> cases[] = {
      {"modem = v90\n", "m.logger:1: modem: expected hayes"},
      {"modem_init = fine\n", "m.logger:1: modem_init: expected OK, ERROR or silent"},
      {"modem_dial = maybe\n", "m.logger:1: modem_dial: expected connect, busy"},
      {"modem_echo = yes\n", "m.logger:1: modem_echo: expected 0 or 1"},
      {"loopback = 2\n", "m.logger:1: loopback: expected 0 or 1"},
      {"modem_drop = -1\n", "m.logger:1: modem_drop: expected a number"},
      {"modem_connect = RING\n", "m.logger:1: modem_connect: expected a line starting with CONNECT"},
      {"modem_number = \"\"\n", "m.logger:1: modem_number: expected a telephone number"},
      {"\ncalls = ok, hail\n", "m.logger:2: calls: unknown call 'hail'"},
      {"calls = drop:0\n", "m.logger:1: calls: unknown call 'drop:0'"},
      {"calls = drop:x\n", "m.logger:1: calls: unknown call 'drop:x'"},
      {"ring_after = soon\n", "m.logger:1: ring_after: expected seconds"},
  };
  for (const auto& [text, message] : cases) {
    const auto p = parse(text);
    ASSERT_FALSE(p.ok()) << text;
    EXPECT_NE(p.error().message.find(message), std::string::npos) << p.error().message;
  }
}

}  // namespace
}  // namespace brevik::sim
