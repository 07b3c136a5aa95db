// Opening the link: port speed, wake-up burst, baud switch and the first
// command, in virtual time.

#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "engine_harness.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;
using link::LinkState;

struct OpenCase {
  const char* name;
  std::uint32_t baud;
  bool fast;
  bool wireless;
  std::uint32_t openBaud;
  const char* wakeTrace;  // "" when no burst goes out
};

class OpenLinkTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenLinkTest, PortSpeedAndBurst) {
  const auto& c = GetParam();
  EngineHarness h;
  h.settings.BaudRate = c.baud;
  h.settings.FastProtocol = c.fast ? 1 : 0;
  h.settings.Wireless = c.wireless ? 1 : 0;
  h.start(ExchangeKind::Status);

  ASSERT_FALSE(h.port.events().empty());
  EXPECT_EQ(h.port.log()[1], "[0] open COM1 " + std::to_string(c.openBaud)) << c.name;
  const auto wakes = h.traced("> wake");
  if (std::string(c.wakeTrace).empty()) {
    EXPECT_TRUE(wakes.empty()) << c.name;
  } else {
    ASSERT_EQ(wakes.size(), 1u) << c.name;
    EXPECT_EQ(wakes[0], std::string("[0] > ") + c.wakeTrace) << c.name;
  }
  EXPECT_EQ(h.ctx().state, c.fast ? LinkState::FastStart : LinkState::AwaitWakeReply);
  EXPECT_TRUE(h.engine.running());
  EXPECT_TRUE(h.observer.statusWindowShown);
  EXPECT_EQ(h.observer.display.meterShown, !c.fast);
}

INSTANTIATE_TEST_SUITE_P(
    Links, OpenLinkTest,
    ::testing::Values(
        // A direct normal link always wakes at 1200, whatever speed follows.
        OpenCase{"direct9600", 9600, false, false, 1200, "wake 55 250x2 @1200"},
        OpenCase{"direct19200", 19200, false, false, 1200, "wake 55 250x2 @1200"},
        OpenCase{"wireless2400", 2400, false, true, 2400, "wake 99 250x4 @2400"},
        OpenCase{"wireless9600", 9600, false, true, 9600, "wake F0 250x16 @9600"},
        OpenCase{"wireless19200", 19200, false, true, 19200, "wake F0 250x32 @19200"},
        OpenCase{"wireless38400", 38400, false, true, 38400, ""},
        OpenCase{"fast57600", 57600, true, false, 57600, "wake 55 5x48 @57600"},
        OpenCase{"fast1200", 1200, true, false, 1200, "wake 55 5x1 @1200"}));

TEST(WakeUp, NormalBurstWritesEveryByte) {
  EngineHarness h;
  h.settings.Wireless = 1;  // the port runs at 9600 from the start
  h.start(ExchangeKind::Status);
  EXPECT_EQ(h.port.written(), std::string(250 * 16, '\xF0'));
}

TEST(WakeUp, FastProtocolSendsTheFirstCommandAfterThreeTicks) {
  EngineHarness h;
  h.settings.FastProtocol = 1;
  h.settings.BaudRate = 57600;
  h.start(ExchangeKind::Status);
  EXPECT_EQ(h.port.written(), std::string(5 * 48, '\x55'));
  h.ticks.advance(2);
  EXPECT_TRUE(h.frames().empty());
  h.ticks.advance(1);
  ASSERT_EQ(h.frames(), std::vector<std::string>{">C005D"});
  EXPECT_EQ(h.traced("> >C005D")[0], "[3] > >C005D");
  EXPECT_EQ(h.ctx().firmwareLetter, 'q');
  EXPECT_EQ(h.ctx().state, LinkState::AwaitReply);
}

TEST(WakeUp, FastProtocolOverAModemCallWaitsNineTicksAndAsksWithB) {
  EngineHarness h;
  h.settings.FastProtocol = 1;
  h.settings.UseModem = 1;
  h.settings.BaudRate = 57600;
  h.engine.setCallUp(true);
  ASSERT_TRUE(h.port.open(1, 57600).ok());
  h.start(ExchangeKind::Status);
  h.ticks.advance(8);
  EXPECT_TRUE(h.frames().empty());
  h.ticks.advance(1);
  EXPECT_EQ(h.frames(), std::vector<std::string>{EngineHarness::framed("B")});
  EXPECT_EQ(h.port.openCount(), 1);  // the call's port was not reopened
}

TEST(WakeUp, DirectNormalLinkSwitchesToTheWorkingBaudOnTheReplyByte) {
  EngineHarness h;  // 9600, direct
  h.logger.when(std::string(250, '\x55'), "\x80", 10);
  h.logger.when("\x80", "5q\r", 2);
  h.start(ExchangeKind::Status);
  h.ticks.advance(10);
  EXPECT_EQ(h.port.baudRate(), 9600u);
  EXPECT_EQ(h.traced("< \\x80"), std::vector<std::string>{"[10] < \\x80"});
  EXPECT_EQ(h.traced("] > \\x80"), std::vector<std::string>());
  h.ticks.advance(1);
  EXPECT_EQ(h.traced("] > \\x80"), std::vector<std::string>{"[11] > \\x80"});
  EXPECT_EQ(h.ctx().state, LinkState::AwaitIdentification);
  h.ticks.advance(2);
  EXPECT_EQ(h.ctx().firmwareLetter, 'q');
  EXPECT_EQ(h.frames(), std::vector<std::string>{">C005D"});
}

TEST(BaudSwitch, At1200TheSwitchByteIsC0) {
  EngineHarness h;
  h.settings.BaudRate = 1200;
  h.logger.when(std::string(250, '\x55'), "\xFF", 5);
  h.start(ExchangeKind::Status);
  h.ticks.advance(6);
  EXPECT_EQ(h.traced("] > \\xC0").size(), 1u);
}

TEST(BaudSwitch, At19200OverAModemTheSevenBytesGoAtOnce) {
  EngineHarness h;
  h.settings.BaudRate = 19200;
  h.settings.Wireless = 1;
  h.logger.when(std::string(250, '\xF0'), std::string(1, '\0'), 5);
  h.start(ExchangeKind::Status);
  h.ticks.advance(5);
  EXPECT_EQ(h.traced("> \\x00\\xE0\\xFF\\xFF\\xFF\\x00\\x00"),
            std::vector<std::string>{"[5] > \\x00\\xE0\\xFF\\xFF\\xFF\\x00\\x00"});
  EXPECT_EQ(h.ctx().state, LinkState::AwaitIdentification);
}

TEST(BaudSwitch, At19200DirectTheLetterEGoesBeforeTheSpeedChanges) {
  EngineHarness h;
  h.settings.BaudRate = 19200;
  h.logger.when(std::string(250, '\x55'), std::string(1, '\0'), 5);
  h.start(ExchangeKind::Status);
  h.ticks.advance(6);
  EXPECT_TRUE(h.traced("> E").empty());
  h.ticks.advance(1);
  EXPECT_EQ(h.traced("> E"), std::vector<std::string>{"[7] > E"});
  EXPECT_EQ(h.port.baudRate(), 1200u);
  h.ticks.advance(2);
  EXPECT_EQ(h.port.baudRate(), 19200u);
  EXPECT_EQ(h.ctx().state, LinkState::AwaitIdentification);
}

TEST(BaudSwitch, AnRLineAt1200AnswersWithTheBaudLetter) {
  EngineHarness h;
  h.settings.BaudRate = 4800;
  h.logger.when(std::string(250, '\x55'), "xR\r", 5);
  h.start(ExchangeKind::Status);
  h.ticks.advance(5);
  EXPECT_EQ(h.traced("> C"), std::vector<std::string>{"[5] > C"});
  EXPECT_EQ(h.port.baudRate(), 1200u);
  h.ticks.advance(2);
  EXPECT_EQ(h.port.baudRate(), 4800u);
  EXPECT_EQ(h.ctx().state, LinkState::AwaitIdentification);
  // 10 ticks for the identification, then the Identify step
  h.ticks.advance(10);
  EXPECT_EQ(h.frames(), std::vector<std::string>{EngineHarness::framed("C", 'S')});
}

TEST(BaudSwitch, SilenceAfterTheBurstGoesOnAsIfWoken) {
  EngineHarness h;  // 9600 direct
  h.start(ExchangeKind::Status);
  h.ticks.advance(82);
  EXPECT_EQ(h.ctx().state, LinkState::AwaitWakeReply);
  h.ticks.advance(1);
  EXPECT_EQ(h.ctx().state, LinkState::AwaitIdentification);
  EXPECT_EQ(h.port.baudRate(), 9600u);
  h.ticks.advance(1);
  EXPECT_EQ(h.traced("] > \\x80"), std::vector<std::string>{"[84] > \\x80"});
  h.ticks.advance(15);  // 16 ticks after the time-out: the Identify step
  EXPECT_EQ(h.ctx().kind, ExchangeKind::Identify);
  EXPECT_EQ(h.ctx().savedKind, ExchangeKind::Status);
}

TEST(WakeUp, MeterClimbsByFourAndHoldsAt100) {
  EngineHarness h;
  h.start(ExchangeKind::Status);
  h.ticks.advance(3);
  EXPECT_EQ(h.observer.lastMeter, 4);
  h.ticks.advance(80);
  EXPECT_EQ(h.observer.lastMeter, 100);
  EXPECT_EQ(h.observer.meterHistory.back(), 100);
  EXPECT_LE(*std::max_element(h.observer.meterHistory.begin(), h.observer.meterHistory.end()), 100);
}

TEST(EndRealTime, OnlyTheBurstThenTheLinkIsTerminated) {
  EngineHarness h;
  h.settings.BaudRate = 1200;
  h.logger.when(std::string(250, '\x55'), "\xFF", 3);  // ignored while ending
  h.start(ExchangeKind::EndRealTime);
  EXPECT_EQ(h.observer.lastStatusText(), "Terminating link...");
  h.run();
  EXPECT_TRUE(h.frames().empty());
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{"Real Time Link terminated"});
  EXPECT_EQ(h.readings.ended, 1);
  EXPECT_FALSE(h.port.isOpen());
}

TEST(OpenLink, APortThatCannotOpenIsReportedAndTheWindowsComeBack) {
  EngineHarness h;
  h.port.refuseOpen();
  h.start(ExchangeKind::Status);
  ASSERT_EQ(h.prompter.messages.size(), 1u);
  EXPECT_EQ(h.prompter.messages[0].kind, MessageKind::Warning);
  EXPECT_EQ(h.prompter.messages[0].text, std::string("Impossible d'ouvrir le PortCom - SVP vérifier   "_cp));
  EXPECT_FALSE(h.engine.running());
  EXPECT_FALSE(h.observer.statusWindowShown);
  EXPECT_EQ(h.ctx().state, LinkState::Idle);
  EXPECT_TRUE(h.ticks.idle());
}

TEST(OpenLink, ReceiveShowsBlockCountAndFileCommandLineDisablesAbort) {
  EngineHarness h;
  h.next.run.commandLineReceive = true;
  h.next.dataFileName = "site1a.qx1";
  h.start(ExchangeKind::Receive);
  EXPECT_TRUE(h.observer.display.blockCountShown);
  EXPECT_EQ(h.observer.display.dataFileName, "site1a.qx1");
  EXPECT_FALSE(h.observer.display.abortEnabled);
}

TEST(OpenLink, ModemWithoutCallPulsesDtrThenSetsTheModemUp) {
  EngineHarness h;
  h.settings.UseModem = 1;
  h.settings.LocalModemInit = "ATZ";
  h.start(ExchangeKind::Status);
  EXPECT_TRUE(h.port.written().empty());
  h.ticks.advance(14);
  EXPECT_EQ(h.traced("* dtr"), (std::vector<std::string>{"[0] * dtr 1", "[4] * dtr 0",
                                                          "[9] * dtr 1"}));
  EXPECT_EQ(h.ctx().state, LinkState::ModemSetup);
  // The set-up string only: no wake-up before the call is up.
  EXPECT_EQ(h.port.written(), "ATZ\r");
}

}  // namespace
}  // namespace brevik::testing
