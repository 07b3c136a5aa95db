// Dialling out through the virtual Hayes modem, in virtual time: the set-up
// string, the dial command, each way the modem can answer, and the call kept
// up for the exchanges that follow.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/modem_dialogue.h"
#include "support/twin_link_harness.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;
using link::LinkState;

constexpr std::string_view kSite =
    "modem = hayes\nmodem_connect = CONNECT 9600\nmodem_number = 5551234\n"
    "model = 5\nresolution = 12\nrevision = q\nprotocol = normal\nbaud = 9600\n"
    "types = CCC3\ndescriptions = Air|Sol|Eau|Pression\nsession = Brevik modem site\n";

// What went to the modem as commands: the trace's "> " lines before the first
// wake-up burst.
std::vector<std::string> modemCommands(const std::vector<std::string>& trace, std::size_t from = 0) {
  std::vector<std::string> out;
  for (std::size_t i = from; i < trace.size(); ++i) {
    const auto at = trace[i].find("] > ");
    if (at == std::string::npos) continue;
    const std::string body = trace[i].substr(at + 4);
    if (body.rfind("wake ", 0) == 0) break;
    if (body.rfind(">", 0) != 0)
      out.push_back(body);
  }
  return out;
}

long tickOf(const std::string& traceLine) { return std::strtol(traceLine.c_str() + 1, nullptr, 10); }

struct DialCase {
  const char* name;
  const char* modemKeys;   // added to the site's profile
  const char* init;        // LocalModemInit
  const char* phone;
  std::vector<std::string> commands;  // sent to the modem, in order
  bool connects;                      // and the status exchange succeeds over the call
  const char* message;                // else the one box shown
  MessageKind kind;
  long ticksAfterLastCommand;         // from the last command to the report (0: not checked)
};

class DialOut : public ::testing::TestWithParam<DialCase> {};

TEST_P(DialOut, TalksToTheModemAsItAnswers) {
  const DialCase c = GetParam();
  TwinLinkHarness h;
  h.addModem(std::string(kSite) + c.modemKeys);
  h.settings.UseModem = 1;
  h.settings.LocalModemInit = c.init;
  h.settings.PhoneNumber = c.phone;
  ASSERT_TRUE(h.runStatus());

  EXPECT_EQ(modemCommands(h.trace()), c.commands);
  EXPECT_EQ(h.outcome().succeeded, c.connects);
  EXPECT_EQ(h.ctx().linkUp, c.connects);
  EXPECT_EQ(h.port.isOpen(), c.connects);  // only a call keeps the port open
  if (c.connects) {
    EXPECT_TRUE(h.prompter.messages.empty()) << h.prompter.messages[0].text;
    ASSERT_TRUE(h.status().has_value());
    EXPECT_EQ(h.formText("ModelBox").empty(), false);
    EXPECT_FALSE(h.traced("state Connected").empty());
    return;
  }
  ASSERT_EQ(h.prompter.messages.size(), 1u);
  EXPECT_EQ(h.prompter.messages[0].text, c.message);
  EXPECT_EQ(h.prompter.messages[0].kind, c.kind);
  EXPECT_TRUE(h.frames().empty());  // the logger was never woken
  if (c.ticksAfterLastCommand > 0) {
    const auto sent = h.traced("] > " + c.commands.back());
    const auto reported = h.traced("] ! ");
    ASSERT_FALSE(sent.empty());
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(tickOf(reported[0]) - tickOf(sent.back()), c.ticksAfterLastCommand);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modem, DialOut,
    ::testing::Values(
        DialCase{"EmptySetUpSendsOnlyCrAndOkIsDialled", "", "", "5551234", {"", "ATDT 5551234"}, true,
                 "", MessageKind::Information, 0},
        DialCase{"SetUpStringThenDialTheEchoIgnored", "modem_echo = 1\n", "AT&F E1 V1", "5551234",
                 {"AT&F E1 V1", "ATDT 5551234"}, true, "", MessageKind::Information, 0},
        DialCase{"WithoutEchoTheSame", "modem_echo = 0\n", "ATZ", "5551234", {"ATZ", "ATDT 5551234"}, true,
                 "", MessageKind::Information, 0},
        DialCase{"NoCarrierShownAsItCame", "modem_dial = no-carrier\n", "ATZ", "5551234",
                 {"ATZ", "ATDT 5551234"}, false, "\nNO CARRIER", MessageKind::Warning, 0},
        DialCase{"AWrongNumberIsNotAnswered", "", "ATZ", "5550000", {"ATZ", "ATDT 5550000"}, false,
                 "\nNO CARRIER", MessageKind::Warning, 0},
        DialCase{"Busy", "modem_dial = busy\n", "ATZ", "5551234", {"ATZ", "ATDT 5551234"}, false,
                 "Line is busy", MessageKind::Information, 0},
        DialCase{"SetUpUnansweredShowsWhatCameBack", "modem_init = silent\n", "ATZ", "5551234", {"ATZ"},
                 false, "Modem response: ATZ; comm. aborted", MessageKind::Warning, 370},
        DialCase{"SetUpUnansweredWithoutEcho", "modem_init = silent\nmodem_echo = 0\n", "ATZ", "5551234",
                 {"ATZ"}, false, "No response from modem, comm. aborted", MessageKind::Warning, 370},
        DialCase{"DiallingUnanswered", "modem_dial = silent\n", "ATZ", "5551234", {"ATZ", "ATDT 5551234"},
                 false, "No response from modem, comm. aborted", MessageKind::Warning, 1820}),
    [](const ::testing::TestParamInfo<DialCase>& param) { return std::string(param.param.name); });

TEST(DialOut, ASecondStatusOverTheLiveCallStartsWithTheWakeUp) {
  TwinLinkHarness h;
  sim::VirtualModem& modem = h.addModem(kSite);
  h.settings.UseModem = 1;
  h.settings.LocalModemInit = "ATZ";
  h.settings.PhoneNumber = "5551234";
  ASSERT_TRUE(h.runStatus());
  ASSERT_TRUE(h.outcome().succeeded);
  ASSERT_TRUE(modem.callUp());

  const std::size_t from = h.trace().size();
  ASSERT_TRUE(h.runStatus());
  EXPECT_TRUE(h.outcome().succeeded);
  EXPECT_TRUE(h.prompter.messages.empty()) << h.prompter.messages[0].text;
  EXPECT_TRUE(modemCommands(h.trace(), from).empty());
  std::vector<std::string> second(h.trace().begin() + static_cast<std::ptrdiff_t>(from), h.trace().end());
  for (const std::string& line : second) {
    EXPECT_EQ(line.find("dtr"), std::string::npos) << line;
    EXPECT_EQ(line.find("open COM"), std::string::npos) << line;
  }
  // The first thing written over the call is the wake-up burst.
  const auto firstWrite = std::find_if(second.begin(), second.end(), [](const std::string& line) {
    return line.find("] > ") != std::string::npos;
  });
  ASSERT_NE(firstWrite, second.end());
  EXPECT_NE(firstWrite->find("] > wake "), std::string::npos) << *firstWrite;
  EXPECT_TRUE(modem.callUp());
  EXPECT_TRUE(h.port.isOpen());
}

TEST(DialOut, ALoggerSilentOverTheCallIsWokenSixTimesBeforeQXcmd) {
  TwinLinkHarness h;
  sim::VirtualModem& modem = h.addModem(std::string(kSite) + "faults = silence:1\n");
  h.settings.UseModem = 1;
  h.settings.LocalModemInit = "ATZ";
  h.settings.PhoneNumber = "5551234";
  ASSERT_TRUE(h.runStatus());
  EXPECT_FALSE(h.outcome().succeeded);
  EXPECT_EQ(modemCommands(h.trace()), (std::vector<std::string>{"ATZ", "ATDT 5551234"}));
  EXPECT_EQ(h.traced("] > wake ").size(), 6u);
  // Each wake-up is followed by the status request that goes unanswered.
  EXPECT_EQ(h.frames().size(), 6u);
  EXPECT_EQ(h.traced("open COM").size(), 1u);
  ASSERT_EQ(h.prompter.messages.size(), 1u);
  EXPECT_EQ(h.prompter.messages[0].text, "Pas de r\xE9ponse de KALDO; QXcmd: 2");
  // The call stays up for whatever the user does next.
  EXPECT_TRUE(modem.callUp());
  EXPECT_TRUE(h.ctx().linkUp);
}

// A program started to receive or to send a set-up leaves no box up: the
// modem's failures are logged and the program ends, except an unexpected
// modem line, which is always shown.
TEST(DialOut, CommandLineRunsLogAndQuitTheModemFailures) {
  struct Case {
    const char* modemKeys;
    bool receive, setup;
    const char* text;
    bool quits;
  };
  const Case cases[] = {
      {"modem_dial = busy\n", true, false, "Line is busy", true},
      {"modem_dial = busy\n", false, true, "Line is busy", true},
      {"modem_init = silent\nmodem_echo = 0\n", true, false, "No response from modem, comm. aborted", true},
      {"modem_init = silent\nmodem_echo = 0\n", false, true, "No response from modem, comm. aborted", false},
      {"modem_dial = no-carrier\n", true, false, "\nNO CARRIER", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.modemKeys) + (c.receive ? "receive" : "setup"));
    TwinLinkHarness h;
    h.addModem(std::string(kSite) + c.modemKeys);
    h.settings.UseModem = 1;
    h.settings.PhoneNumber = "5551234";
    h.next.run.commandLineReceive = c.receive;
    h.next.run.commandLineSetup = c.setup;
    ASSERT_TRUE(h.runStatus());
    EXPECT_EQ(h.outcome().lastText(), c.text);
    EXPECT_EQ(h.host.quits, c.quits ? std::vector<std::string>{c.text} : std::vector<std::string>{});
    EXPECT_EQ(h.prompter.messages.size(), c.quits ? 0u : 1u);
    EXPECT_FALSE(h.port.isOpen());
  }
}

// AbortBtn while the modem dials hangs up and ends the exchange at once.
TEST(DialOut, AbortWhileDiallingHangsUp) {
  TwinLinkHarness h;
  h.addModem(kSite);
  h.settings.UseModem = 1;
  h.settings.PhoneNumber = "5551234";
  h.start(ExchangeKind::Status);
  ASSERT_TRUE(h.driver.runUntil([&] { return h.ctx().state == LinkState::Dialling; }, 200));
  h.engine.abort();
  EXPECT_EQ(h.host.modemHangUps, 1);
  EXPECT_FALSE(h.engine.running());
  EXPECT_FALSE(h.port.isOpen());
  EXPECT_FALSE(h.ctx().linkUp);
}

// Only in network mode does the main window show its modem panel for a call.
TEST(DialOut, NetworkModeShowsTheModemPanelOnConnect) {
  for (const bool network : {false, true}) {
    SCOPED_TRACE(network ? "network" : "single logger");
    TwinLinkHarness h;
    h.addModem(kSite);
    h.settings.UseModem = 1;
    h.settings.NetworkMode = network ? 1 : 0;
    h.settings.PhoneNumber = "5551234";
    h.start(ExchangeKind::Status);
    ASSERT_TRUE(h.driver.runUntil([&] { return h.ctx().state == LinkState::Connected; }, 300));
    EXPECT_EQ(h.host.modemPanelsShown, network ? 1 : 0);
    EXPECT_TRUE(h.ctx().linkUp);
  }
}

// A cellular or radio modem dials without the tone prefix.
TEST(DialOut, AWirelessModemDialsWithAtd) {
  TwinLinkHarness h;
  h.addModem(kSite);
  h.settings.UseModem = 1;
  h.settings.Wireless = 1;
  h.settings.LocalModemInit = "ATZ";
  h.settings.PhoneNumber = "5551234";
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(modemCommands(h.trace()), (std::vector<std::string>{"ATZ", "ATD 5551234"}));
  EXPECT_TRUE(h.outcome().succeeded);
  EXPECT_TRUE(h.ctx().linkUp);
}

// The dialogue table on its own: what each line means in each step.
TEST(ModemDialogue, ClassifiesEachLine) {
  using link::ModemReply;
  struct Case {
    LinkState state;
    const char* line;
    ModemReply verdict;
  };
  const Case cases[] = {
      {LinkState::ModemSetup, "\n", ModemReply::Ignore},
      {LinkState::ModemSetup, "ATZ", ModemReply::Ignore},
      {LinkState::ModemSetup, "\nERROR", ModemReply::Ignore},
      {LinkState::ModemSetup, "ATZ\nOK", ModemReply::Accepted},
      {LinkState::Dialling, "K", ModemReply::Ignore},
      {LinkState::Dialling, "ATDT 5551234", ModemReply::Echo},
      {LinkState::Dialling, "\nCONNECT 9600", ModemReply::Connected},
      {LinkState::Dialling, "\nBUSY", ModemReply::Busy},
      {LinkState::Dialling, "\nNO ANSWER", ModemReply::Unexpected},
  };
  for (const Case& c : cases) {
    const link::ModemChatStep* step = link::modemChatStep(c.state);
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(link::classifyModemLine(*step, c.line, "ATDT 5551234"), c.verdict) << c.line;
  }
  EXPECT_EQ(link::modemChatStep(LinkState::Connected), nullptr);
  EXPECT_EQ(link::modemDialCommand(true, "123"), "ATD 123");
  EXPECT_EQ(link::modemDialCommand(false, std::string(120, '9')).size(), 100u);
  EXPECT_EQ(link::modemSetupCommand(std::string(150, 'X')).size(), 100u);
}

}  // namespace
}  // namespace brevik::testing
