// The com test and the remote modem set-up against a cable looped back, a
// bare virtual modem and silence, in virtual time.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "link/modem_utilities.h"
#include "sim/loopback_plug.h"
#include "support/twin_link_harness.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;

enum class FarEnd { Loopback, Modem, Nothing, Unplugged };

struct UtilityCase {
  const char* title;
  ExchangeKind kind;
  FarEnd farEnd;
  const char* modemKeys;  // for FarEnd::Modem
  std::vector<std::string> commands;
  std::string message;
  MessageKind messageKind;
  bool succeeded;
  long ticksFromLastCommand;  // to the message
};

const std::vector<UtilityCase> kCases = {
    {"com test, cable looped back", ExchangeKind::ComTest, FarEnd::Loopback, "", {"AT"}, "Com Test OK",
     MessageKind::Information, true, 10},
    {"com test, a modem that echoes", ExchangeKind::ComTest, FarEnd::Modem, "", {"AT"},
     "A modem is connected to the selected Com Port.", MessageKind::Information, false, 3},
    {"com test, a modem without echo", ExchangeKind::ComTest, FarEnd::Modem, "modem_echo = 0\n", {"AT"},
     "A modem is connected to the selected Com Port.", MessageKind::Information, false, 3},
    {"com test, nothing on the line", ExchangeKind::ComTest, FarEnd::Nothing, "", {"AT"},
     "Test \xE9" "chec  - Pas de r\xE9" "ception.", MessageKind::Warning, false, 18},
    {"com test, port missing", ExchangeKind::ComTest, FarEnd::Unplugged, "", {},
     "Impossible d'ouvrir le Port d\xE9sign\xE9 SVP v\xE9rifier", MessageKind::Warning, false, -1},
    {"remote set-up, a modem that says OK", ExchangeKind::RemoteModemSetup, FarEnd::Modem, "",
     {"AT&F0E0", "ATS0=1&W"}, "Modem configured as remote", MessageKind::Information, true, 18},
    {"remote set-up, a modem that refuses", ExchangeKind::RemoteModemSetup, FarEnd::Modem, "modem_init = ERROR\n",
     {"AT&F0E0"}, "Bad response from modem: ERROR", MessageKind::Error, false, 2},
    {"remote set-up, a modem that says nothing", ExchangeKind::RemoteModemSetup, FarEnd::Modem,
     "modem_init = silent\nmodem_echo = 0\n", {"AT&F0E0"}, "Invalid response from modem. ",
     MessageKind::Information, false, 36},
    {"remote set-up, a cable looped back", ExchangeKind::RemoteModemSetup, FarEnd::Loopback, "", {"AT&F0E0"},
     "Invalid response from modem. AT&F0E0", MessageKind::Information, false, 36},
    {"remote set-up, port missing", ExchangeKind::RemoteModemSetup, FarEnd::Unplugged, "", {},
     "Impossible d'ouvrir le Port d\xE9sign\xE9 SVP v\xE9rifier", MessageKind::Warning, false, -1},
};

long tickOf(const std::string& traceLine) { return std::strtol(traceLine.c_str() + 1, nullptr, 10); }

TEST(ModemUtilities, JudgeWhatComesBack) {
  for (const UtilityCase& c : kCases) {
    SCOPED_TRACE(c.title);
    TwinLinkHarness h;
    sim::LoopbackPlug plug(1200);
    if (c.farEnd == FarEnd::Loopback) h.port.attach(plug);
    if (c.farEnd == FarEnd::Modem) h.addModem(std::string("modem = hayes\n") + c.modemKeys);
    if (c.farEnd == FarEnd::Unplugged) h.port.setUnplugged(true);
    h.settings.BaudRate = 9600;
    h.settings.RemoteModemInit = "ATS0=1&W";
    h.start(c.kind);
    ASSERT_TRUE(h.runUntilEnded(400));

    std::vector<std::string> commands;
    long lastCommandTick = -1;
    for (const std::string& l : h.trace()) {
      const auto at = l.find("] > ");
      if (at == std::string::npos) continue;
      commands.push_back(l.substr(at + 4));
      lastCommandTick = tickOf(l);
    }
    EXPECT_EQ(commands, c.commands);
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.prompter.messages[0].text, c.message);
    EXPECT_EQ(h.prompter.messages[0].kind, c.messageKind);
    EXPECT_EQ(h.outcome().kind, c.kind);
    EXPECT_EQ(h.outcome().succeeded, c.succeeded);
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_TRUE(h.frames().empty());  // no logger is ever woken
    if (c.ticksFromLastCommand >= 0) {
      const auto reported = h.traced("] ! ");
      ASSERT_EQ(reported.size(), 1u);
      EXPECT_EQ(tickOf(reported[0]) - lastCommandTick, c.ticksFromLastCommand);
      // The com test runs at 1200 baud whatever the settings say.
      const char* opened = c.kind == ExchangeKind::ComTest ? "open COM1 @1200" : "open COM1 @9600";
      EXPECT_EQ(h.traced(opened).size(), 1u);
    }
  }
}

TEST(ModemUtilities, ComTestPulsesDtrBeforeItsCommand) {
  TwinLinkHarness h;
  sim::LoopbackPlug plug(1200);
  h.port.attach(plug);
  h.start(ExchangeKind::ComTest);
  ASSERT_TRUE(h.runUntilEnded(400));
  std::vector<std::string> steps;
  for (const std::string& l : h.trace())
    if (l.find("dtr ") != std::string::npos || l.find("] > ") != std::string::npos)
      steps.push_back(std::to_string(tickOf(l)) + l.substr(l.find(']') + 1));
  EXPECT_EQ(steps, (std::vector<std::string>{"0 * dtr 1", "4 * dtr 0", "13 * dtr 1", "17 > AT"}));
}

}  // namespace
}  // namespace brevik::testing
