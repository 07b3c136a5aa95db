#include "sim/virtual_modem.h"

#include <gtest/gtest.h>

#include <memory>

#include "sim/far_end.h"
#include "sim/framing.h"
#include "sim/virtual_serial_port.h"
#include "support/twin_link_harness.h"
#include "support/virtual_tick_scheduler.h"
#include "twin_script.h"

namespace brevik::sim {
namespace {

using testing::frame;
using testing::june3;

constexpr link::Ticks kSecond = 19;  // a little over a second of ticks

// The PC's port at 9600 with what the profile puts at the far end.
class ModemLine {
 public:
  explicit ModemLine(std::string_view profileText) : port(ticks) {
    auto profile = parseLoggerProfile(profileText, "modem.logger", ".");
    EXPECT_TRUE(profile.ok()) << profile.error().message;
    farEnd = makeFarEnd(profile.ok() ? std::move(*profile) : LoggerProfile{}, june3());
    port.attach(*farEnd);
    port.setDataArrived([this](std::size_t) { received += port.readWaiting(); });
    EXPECT_TRUE(port.open(1, 9600).ok());
  }

  void type(std::string_view bytes) { ASSERT_TRUE(port.write(bytes).ok()); }
  void run(link::Ticks t) { ticks.advance(t); }
  // What arrived since the last take().
  std::string take() {
    std::string r;
    r.swap(received);
    return r;
  }
  std::string ask(std::string_view bytes, link::Ticks wait = 5 * kSecond) {
    type(bytes);
    run(wait);
    return take();
  }
  VirtualModem& modem() { return dynamic_cast<VirtualModem&>(*farEnd); }
  // Dials and takes the CONNECT line.
  void connect() {
    EXPECT_EQ(ask("ATDT123\r"), "ATDT123\r\r\nCONNECT 9600\r\n");
    ASSERT_TRUE(modem().online());
  }
  // A status request over the call: the first frame wakes the logger, the
  // second is answered.
  std::string askStatus() {
    ask(frame("C", 0), kSecond);
    return ask(frame("C", 0), kSecond);
  }
  // "+++" with a guard second before and after.
  std::string escape() {
    run(kSecond);
    type("+++");
    run(2 * kSecond);
    return take();
  }

  link::VirtualTicks ticks;
  VirtualSerialPort port;
  std::unique_ptr<LineDevice> farEnd;
  std::string received;
};

TEST(VirtualModem, CommandModeRepliesFollowTheProfile) {
  struct Case {
    const char* profile;
    const char* typed;
    const char* seen;
  };
  const Case cases[] = {
      {"modem = hayes\n", "AT&F0E0\r", "AT&F0E0\r\r\nOK\r\n"},
      {"modem = hayes\nmodem_echo = 0\n", "AT&F0E0\r", "\r\nOK\r\n"},
      {"modem = hayes\nmodem_init = ERROR\n", "ATX4&K3\r", "ATX4&K3\r\r\nERROR\r\n"},
      {"modem = hayes\nmodem_init = silent\n", "ATX4&K3\r", "ATX4&K3\r"},
      {"modem = hayes\nmodem_init = ERROR\n", "AT\r", "AT\r\r\nOK\r\n"},
      {"modem = hayes\n", "\r", "\r\r\nOK\r\n"},
      {"modem = hayes\n", "hello\r", "hello\r"},
      {"modem = hayes\n", "+++ATH\r", "+++ATH\r\r\nOK\r\n"},
      {"modem = hayes\nmodem_number = 12\n", "dd atdt12\r", "dd atdt12\r\r\nCONNECT 9600\r\n"},
      {"modem = hayes\n", "ATH\r", "ATH\r\r\nOK\r\n"},
      {"modem = hayes\n", "ATO\r", "ATO\r\r\nNO CARRIER\r\n"},
      {"modem = hayes\n", "ATDT 0555\r", "ATDT 0555\r\r\nCONNECT 9600\r\n"},
      {"modem = hayes\nmodem_connect = CONNECT 2400/REL\n", "ATD 1\r", "ATD 1\r\r\nCONNECT 2400/REL\r\n"},
      {"modem = hayes\nmodem_dial = busy\n", "ATDT1\r", "ATDT1\r\r\nBUSY\r\n"},
      {"modem = hayes\nmodem_dial = no-carrier\n", "ATDT1\r", "ATDT1\r\r\nNO CARRIER\r\n"},
      {"modem = hayes\nmodem_dial = no-answer\n", "ATDT1\r", "ATDT1\r\r\nNO ANSWER\r\n"},
      {"modem = hayes\nmodem_dial = silent\n", "ATDT1\r", "ATDT1\r"},
      {"modem = hayes\nmodem_number = 555-1234\n", "ATDT 555 1234\r", "ATDT 555 1234\r\r\nCONNECT 9600\r\n"},
      {"modem = hayes\nmodem_number = 555-1234\n", "ATDT 5551235\r", "ATDT 5551235\r\r\nNO CARRIER\r\n"},
      {"modem = hayes\nmodem_number = 555\nmodem_dial = busy\n", "ATDT555\r", "ATDT555\r\r\nBUSY\r\n"},
      {"loopback = 1\n", "AT\r", "AT\r"},
      {"loopback = 1\nmodem = hayes\n", "AT&F\r", "AT&F\r"},
  };
  for (const auto& c : cases) {
    ModemLine line(c.profile);
    EXPECT_EQ(line.ask(c.typed), c.seen) << c.profile << c.typed;
  }
}

TEST(VirtualModem, NoiseOnTheLineNeverStopsItAnswering) {
  ModemLine line("modem = hayes\nmodem_echo = 0\nmodem_init = ERROR\n");
  std::string noise(600, 'x');
  for (int b = 0; b < 256; ++b)
    if (b != '\r') noise.push_back(static_cast<char>(b));
  EXPECT_EQ(line.ask(noise + "\r"), "");
  EXPECT_EQ(line.ask(std::string(300, 'A') + "\r"), "") << "a command line cut at its longest is noise";
  EXPECT_EQ(line.ask("ATX\bH\r"), "\r\nOK\r\n") << "a backspace takes back the X";
  EXPECT_EQ(line.ask("  at \r"), "\r\nOK\r\n");
}

TEST(VirtualModem, TheDialResultComesAfterTheDialTime) {
  ModemLine line("modem = hayes\nmodem_echo = 0\n");
  line.type("ATDT1\r");
  line.run(2 * kSecond);
  EXPECT_EQ(line.take(), "");
  EXPECT_FALSE(line.modem().callUp());
  line.run(2 * kSecond);
  EXPECT_EQ(line.take(), "\r\nCONNECT 9600\r\n");
  EXPECT_TRUE(line.modem().online());
}

TEST(VirtualModem, AfterConnectTheLoggerAnswersAndABareModemDoesNot) {
  for (const bool bare : {false, true}) {
    ModemLine line(bare ? "modem = hayes\n" : "modem = hayes\nmodel = 5\n");
    line.connect();
    const std::string status = line.askStatus();
    if (bare) {
      EXPECT_EQ(status, "");
    } else {
      ASSERT_EQ(status.size(), 255u);
      EXPECT_EQ(status.back(), '\r');
    }
  }
}

TEST(VirtualModem, PlusesWithGuardTimesReturnToCommandModeAndAthHangsUp) {
  ModemLine line("modem = hayes\nmodel = 5\n");
  line.connect();
  // Without the quiet second before, "+++" is data.
  line.type("x+++");
  line.run(2 * kSecond);
  EXPECT_EQ(line.take(), "");
  EXPECT_TRUE(line.modem().online());
  // Without the quiet second after, too.
  line.run(kSecond);
  line.type("+++");
  line.run(10);
  line.type("y");
  line.run(2 * kSecond);
  EXPECT_EQ(line.take(), "");
  EXPECT_TRUE(line.modem().online());

  EXPECT_EQ(line.escape(), "\r\nOK\r\n");
  EXPECT_TRUE(line.modem().callUp());
  EXPECT_FALSE(line.modem().online());
  EXPECT_EQ(line.ask("ATO\r"), "ATO\r\r\nCONNECT 9600\r\n") << "back on line with the call kept";
  EXPECT_EQ(line.askStatus().size(), 255u);
  EXPECT_EQ(line.escape(), "\r\nOK\r\n");
  EXPECT_EQ(line.ask("ATH\r"), "ATH\r\r\nOK\r\n");
  EXPECT_FALSE(line.modem().callUp());
  EXPECT_EQ(line.ask("ATO\r"), "ATO\r\r\nNO CARRIER\r\n");
}

TEST(VirtualModem, DroppingDtrHangsUpWithoutAWord) {
  ModemLine line("modem = hayes\nmodel = 5\n");
  line.connect();
  ASSERT_TRUE(line.port.setDtr(false).ok());
  line.run(4);
  ASSERT_TRUE(line.port.setDtr(true).ok());
  line.run(kSecond);
  EXPECT_EQ(line.take(), "");
  EXPECT_FALSE(line.modem().callUp());
  EXPECT_EQ(line.ask("AT\r"), "AT\r\r\nOK\r\n") << "in command mode again";

  // A dial in progress is abandoned too.
  line.type("ATDT1\r");
  line.run(kSecond);
  line.take();
  ASSERT_TRUE(line.port.setDtr(false).ok());
  ASSERT_TRUE(line.port.setDtr(true).ok());
  line.run(5 * kSecond);
  EXPECT_EQ(line.take(), "");
  EXPECT_FALSE(line.modem().callUp());

  // Closing the port lets DTR fall as well.
  line.connect();
  line.port.close();
  EXPECT_FALSE(line.modem().callUp());
}

TEST(VirtualModem, TheCarrierDropsAfterTheGivenNumberOfReplies) {
  ModemLine line("modem = hayes\nmodel = 5\nmodem_drop = 2\n");
  line.connect();
  EXPECT_EQ(line.askStatus().size(), 255u);
  const std::string second = line.ask(frame("C", 0), kSecond);
  ASSERT_EQ(second.size(), 255u + 14u);
  EXPECT_EQ(second.substr(255), "\r\nNO CARRIER\r\n");
  EXPECT_FALSE(line.modem().callUp());
  EXPECT_EQ(line.ask(frame("C", 0), kSecond), frame("C", 0)) << "the modem echoes, no logger answers";
}

// Runs until `text` has arrived (at most `limit` ticks); the ticks it took.
std::optional<link::Ticks> runUntilSeen(ModemLine& line, std::string_view text, link::Ticks limit) {
  for (link::Ticks t = 1; t <= limit; ++t) {
    line.run(1);
    if (line.received.find(text) != std::string::npos) return t;
  }
  return std::nullopt;
}

TEST(VirtualModem, CallsRingInOneAfterTheOtherAndServeTheirKindOfLogger) {
  ModemLine line(
      "modem = hayes\nmodel = 5\nmodem_connect = CONNECT 19200\nring_after = 20\n"
      "calls = ok, busy-site, garbled, empty, silent, drop:1\n");
  // The next ring comes ring_after seconds after `since` (the end of the
  // previous call), and the connect line two seconds later.
  const auto answerCall = [&line](link::Ticks since) {
    ASSERT_TRUE(runUntilSeen(line, "RING", 60 * kSecond).has_value());
    EXPECT_NEAR(static_cast<double>(line.ticks.now() - since) / 18.2, 20.0, 0.1);
    ASSERT_TRUE(runUntilSeen(line, "CONNECT 19200", 3 * kSecond).has_value());
    EXPECT_EQ(line.take(), "\r\nRING\r\n\r\nCONNECT 19200\r\n");
  };
  // Hangs up as the auto-answer loop does; the tick the call ended.
  const auto hangUp = [&line] {
    EXPECT_EQ(line.escape(), "\r\nOK\r\n");
    const link::Ticks ended = line.ticks.now();
    EXPECT_EQ(line.ask("ATH\r", kSecond), "ATH\r\r\nOK\r\n");
    EXPECT_FALSE(line.modem().callUp());
    return ended;
  };

  answerCall(0);
  const std::string good = line.askStatus();
  ASSERT_EQ(good.size(), 255u);
  EXPECT_TRUE(checksumMatches(std::string_view(good).substr(0, 254)));
  EXPECT_EQ(line.modem().logger()->state().pointer, 0x0800);
  // DTR is not the way to end an answered call.
  ASSERT_TRUE(line.port.setDtr(false).ok());
  ASSERT_TRUE(line.port.setDtr(true).ok());
  EXPECT_TRUE(line.modem().online());
  link::Ticks ended = hangUp();

  // The busy site rings three times, six seconds apart, and never connects.
  ASSERT_TRUE(runUntilSeen(line, "RING", 25 * kSecond).has_value());
  EXPECT_NEAR(static_cast<double>(line.ticks.now() - ended) / 18.2, 20.0, 0.1);
  for (int ring = 2; ring <= 3; ++ring) {
    line.take();
    const auto gap = runUntilSeen(line, "RING", 10 * kSecond);
    ASSERT_TRUE(gap.has_value()) << ring;
    EXPECT_NEAR(static_cast<double>(*gap) / 18.2, 6.0, 0.1);
  }
  EXPECT_EQ(line.take(), "\r\nRING\r\n");
  EXPECT_FALSE(line.modem().callUp());

  answerCall(line.ticks.now());
  const std::string garbled = line.askStatus();
  ASSERT_EQ(garbled.size(), 255u);
  EXPECT_FALSE(checksumMatches(std::string_view(garbled).substr(0, 254)));
  ended = hangUp();

  answerCall(ended);
  ASSERT_NE(line.modem().logger(), nullptr);
  EXPECT_EQ(line.modem().logger()->state().pointer, 0x0200) << "memory empty";
  EXPECT_EQ(line.askStatus().size(), 255u);
  ended = hangUp();

  answerCall(ended);
  EXPECT_EQ(line.modem().logger(), nullptr);
  EXPECT_EQ(line.askStatus(), "") << "a silent site";
  ended = hangUp();

  answerCall(ended);
  const std::string dropped = line.askStatus();
  EXPECT_EQ(dropped.size(), 255u + 14u);
  EXPECT_EQ(dropped.substr(255), "\r\nNO CARRIER\r\n");
  EXPECT_EQ(line.modem().callsRung(), 6u);
  EXPECT_FALSE(runUntilSeen(line, "RING", 60 * kSecond).has_value()) << "no more calls";
}

TEST(VirtualModem, TheEngineHarnessPutsAModemOnItsLine) {
  brevik::testing::TwinLinkHarness h;
  sim::VirtualModem& modem = h.addModem("modem = hayes\nbaud = 4800\nmodem_echo = 0\n");
  EXPECT_EQ(h.settings.BaudRate, 4800u);
  std::string received;
  h.port.setDataArrived([&](std::size_t) { received += h.port.readWaiting(); });
  ASSERT_TRUE(h.port.open(1, 4800).ok());
  ASSERT_TRUE(h.port.write("ATDT1\r").ok());
  h.ticks.advance(5 * kSecond);
  EXPECT_EQ(received, "\r\nCONNECT 9600\r\n");
  EXPECT_TRUE(modem.online());
}

}  // namespace
}  // namespace brevik::sim
