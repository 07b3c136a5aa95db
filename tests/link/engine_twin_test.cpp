// The exchange engine against the virtual logger, end to end in virtual
// time: every byte goes through the virtual line to a LoggerTwin built from a
// profile, and status replies go through the real decode with the shipped
// tables.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/cp1252.h"
#include "link/framing.h"
#include "support/twin_link_harness.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;
using link::LinkState;

std::string framed(std::string_view body, char firmware = 'q', std::uint8_t address = 0) {
  return ">" + link::frameCommand(body, firmware, address);
}

std::size_t count(const std::vector<std::string>& v, const std::string& s) {
  return static_cast<std::size_t>(std::count(v.begin(), v.end(), s));
}

// The body of each trace line that contains `part`, without its tick.
std::vector<std::string> bodies(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(l.substr(l.find("] ") + 2));
  return out;
}

// ---- a Status exchange with each shipped logger ---------------------------------

struct ShippedCase {
  const char* profile;
  const char* statusFrame;  // the status request as framed for its firmware
  const char* model;
  const char* revision;
  const char* stationAddress;  // "" when the form hides it
  const char* session;
  const char* battery;
};

class StatusWithShippedLogger : public ::testing::TestWithParam<ShippedCase> {};

TEST_P(StatusWithShippedLogger, DecodesTheStatusAndReadsTheSchedule) {
  const ShippedCase c = GetParam();
  TwinLinkHarness h;
  h.addShippedTwin(c.profile);
  ASSERT_TRUE(h.runStatus());

  EXPECT_TRUE(h.prompter.messages.empty()) << h.prompter.messages[0].text;
  const auto frames = h.frames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0], c.statusFrame);
  EXPECT_EQ(frames[1], framed("DA01D0", h.ctx().firmwareLetter));
  ASSERT_TRUE(h.status().has_value());
  EXPECT_EQ(h.steps.outcomes, std::vector{protocol::StatusOutcome::Accepted});
  EXPECT_EQ(h.formText("ModelBox"), c.model);
  EXPECT_EQ(h.formText("RevBox"), c.revision);
  EXPECT_EQ(h.formText("StationAddrBox"), c.stationAddress);
  EXPECT_EQ(h.formText("IdStatBox"), c.session);
  EXPECT_EQ(h.formText("BatteryBox"), c.battery);
  EXPECT_EQ(h.formText("Desc1Box"), h.twin().profile().descriptions[0]);
  EXPECT_EQ(h.steps.formsShown, 1);
  // The twin's clock is the PC's: the form shows a valid clock, not the default.
  EXPECT_EQ(h.formText("ClockBox").substr(0, 15), "Mon 15-Mar-2004");
  // The schedule reply of a logger without one: an empty label, the display shown.
  EXPECT_EQ(h.recorder.scheduleText(), "");
  EXPECT_TRUE(h.outcome().scheduleText.has_value());
  EXPECT_FALSE(h.port.isOpen());
  EXPECT_EQ(h.settings.LastRevision, h.twin().profile().revision);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, StatusWithShippedLogger,
    ::testing::Values(
        ShippedCase{"default", ">C005D", "KALDO     12 bit", " q", "", "Brevik demo site", "6.7 volts"},
        ShippedCase{"kaldo5-12bit", ">C005D", "KALDO     12 bit", " q", "", "KALDO 5 fast", "8.4 volts"},
        ShippedCase{"kaldo6-8bit", ">C005D", "KALDO-M 8 bit", " q", "", "KALDO-M quatre banques", "10.0 volts"},
        ShippedCase{"mt53-rev-n", ">CBD", "MT533", " N", "", "MT53 revision N", ""},
        ShippedCase{"mt610-old", ">CBD", "MT520", " G", "", "MT610 ancien", ""},
        ShippedCase{"network-station12", ">C005D", "KALDO     12 bit", " q", "12", "Station 12", "6.7 volts"}),
    [](const auto& param) {
      std::string name = param.param.profile;
      std::replace(name.begin(), name.end(), '-', '_');
      return name;
    });

struct ScheduleCase {
  const char* reply;
  const char* text;
};

class ScheduleText : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(ScheduleText, ComesFromTheLoggersScheduleReply) {
  TwinLinkHarness h;
  h.addTwin(std::string("schedule = ") + GetParam().reply + "\n");
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(h.recorder.scheduleText(), GetParam().text);
  EXPECT_TRUE(h.outcome().scheduleText.has_value());
}

INSTANTIATE_TEST_SUITE_P(Kinds, ScheduleText,
                         ::testing::Values(ScheduleCase{"993007000000", "Daily dialout at 07:30"},
                                           ScheduleCase{"983007330000", "Weekly dialout: Tuesday at 07:30"},
                                           ScheduleCase{"971522002200", "Monthly dialout on the 22th at 22:15"},
                                           ScheduleCase{"970508000300", "Monthly dialout on the 3rd at 08:05"},
                                           ScheduleCase{"000000000000", ""}));

// ---- wake-up bursts as the logger sees them ---------------------------------------

struct WakeCase {
  bool fast;
  bool wireless;
  std::uint32_t baud;
  const char* burst;  // the trace line's body
};

class WakeUp : public ::testing::TestWithParam<WakeCase> {};

TEST_P(WakeUp, BurstWakesTheLoggerAtItsBaud) {
  const WakeCase c = GetParam();
  TwinLinkHarness h;
  h.addTwin("baud = " + std::to_string(c.baud) + "\nprotocol = " + (c.fast ? "fast" : "normal") + "\n");
  h.settings.Wireless = c.wireless ? 1 : 0;
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(bodies(h.traced("> wake")), std::vector<std::string>{c.burst});
  EXPECT_TRUE(h.status().has_value());
  EXPECT_TRUE(h.prompter.messages.empty());
  EXPECT_EQ(h.twin().baud(), c.baud);
  // A modem or wireless link asks for the status with B, a direct one with C.
  EXPECT_EQ(h.frames().front(), framed(c.wireless ? "B" : "C"));
}

INSTANTIATE_TEST_SUITE_P(
    Bauds, WakeUp,
    ::testing::Values(
        // direct, normal protocol: always at 1200
        WakeCase{false, false, 1200, "> wake 55 250x2 @1200"}, WakeCase{false, false, 2400, "> wake 55 250x2 @1200"},
        WakeCase{false, false, 4800, "> wake 55 250x2 @1200"}, WakeCase{false, false, 9600, "> wake 55 250x2 @1200"},
        WakeCase{false, false, 19200, "> wake 55 250x2 @1200"},
        // wireless, normal protocol: at the working baud
        WakeCase{false, true, 1200, "> wake 55 250x2 @1200"}, WakeCase{false, true, 2400, "> wake 99 250x4 @2400"},
        WakeCase{false, true, 4800, "> wake 99 250x8 @4800"}, WakeCase{false, true, 9600, "> wake F0 250x16 @9600"},
        WakeCase{false, true, 19200, "> wake F0 250x32 @19200"},
        // fast protocol
        WakeCase{true, false, 1200, "> wake 55 5x1 @1200"}, WakeCase{true, false, 2400, "> wake 55 5x2 @2400"},
        WakeCase{true, false, 4800, "> wake 55 5x4 @4800"}, WakeCase{true, false, 9600, "> wake 55 5x8 @9600"},
        WakeCase{true, false, 19200, "> wake 55 5x16 @19200"}, WakeCase{true, false, 28800, "> wake 55 5x24 @28800"},
        WakeCase{true, false, 38400, "> wake 55 5x32 @38400"}, WakeCase{true, false, 57600, "> wake 55 5x48 @57600"},
        WakeCase{true, true, 57600, "> wake 55 5x48 @57600"}));

TEST(WakeUpOverACall, UsesTheWorkingBaudAndKeepsTheCall) {
  TwinLinkHarness h;
  h.addTwin("baud = 9600\n");
  h.settings.UseModem = 1;
  h.engine.setCallUp(true);  // the call is up: the port is open at the working baud
  ASSERT_TRUE(h.port.open(1, 9600).ok());
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(bodies(h.traced("> wake")), std::vector<std::string>{"> wake F0 250x16 @9600"});
  EXPECT_EQ(h.frames().front(), framed("B"));
  EXPECT_TRUE(h.status().has_value());
  // The exchange ends, the call stays.
  EXPECT_TRUE(h.port.isOpen());
}

// ---- the baud switch that follows the wake-up answer ------------------------------

struct SwitchCase {
  const char* name;
  const char* profile;
  bool wireless;
  std::string switchBytes;  // as traced after "> "
};

class BaudSwitch : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(BaudSwitch, BringsTheLoggerToTheWorkingBaud) {
  const SwitchCase c = GetParam();
  TwinLinkHarness h;
  h.addTwin(c.profile);
  h.settings.Wireless = c.wireless ? 1 : 0;
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(h.traced("] > " + c.switchBytes).size(), 1u);
  EXPECT_EQ(h.twin().baud(), h.settings.BaudRate);
  EXPECT_EQ(h.twin().phase(), sim::LoggerTwin::Phase::Awake);
  // Identified by its line, not by the Identify step.
  EXPECT_EQ(h.ctx().firmwareLetter, h.twin().profile().revision);
  EXPECT_TRUE(h.status().has_value());
  EXPECT_TRUE(h.prompter.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Variants, BaudSwitch,
    ::testing::Values(SwitchCase{"C0At1200", "baud = 1200\n", false, "\\xC0"},
                      SwitchCase{"x80At4800", "baud = 4800\n", false, "\\x80"},
                      SwitchCase{"x80At9600", "baud = 9600\n", false, "\\x80"},
                      SwitchCase{"ELetterAt19200Direct", "baud = 19200\n", false, "E"},
                      SwitchCase{"SevenBytesAt19200Wireless", "baud = 19200\n", true,
                                 "\\x00\\xE0\\xFF\\xFF\\xFF\\x00\\x00"},
                      SwitchCase{"OldLoggerLetterA", "revision = G\nwakeup = letter\nbaud = 1200\n", false, "A"},
                      SwitchCase{"OldLoggerLetterC", "revision = G\nwakeup = letter\nbaud = 4800\n", false, "C"},
                      SwitchCase{"OldLoggerLetterD", "revision = H\nwakeup = letter\nbaud = 9600\n", false, "D"}),
    [](const auto& param) { return std::string(param.param.name); });

// ---- identification -----------------------------------------------------------------

struct IdentCase {
  const char* name;
  const char* profile;
  char firmware;
  bool shortReply;
  const char* statusFrame;
  std::optional<link::IdentificationDigits> digits;
};

class Identification : public ::testing::TestWithParam<IdentCase> {};

TEST_P(Identification, ByLineLength) {
  const IdentCase c = GetParam();
  TwinLinkHarness h;
  h.addTwin(c.profile);
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(h.ctx().firmwareLetter, c.firmware);
  EXPECT_EQ(h.ctx().shortReply, c.shortReply);
  ASSERT_FALSE(h.frames().empty());
  EXPECT_EQ(h.frames()[0], c.statusFrame);
  EXPECT_EQ(h.engine.identificationDigits(), c.digits);
  EXPECT_TRUE(h.status().has_value());
  EXPECT_TRUE(h.prompter.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, Identification,
    ::testing::Values(IdentCase{"OneCharacter", "revision = R\nident = R\n", 'A', true, ">CBD", std::nullopt},
                      IdentCase{"Two", "revision = R\nident = KR\n", 'R', false, ">CBD", std::nullopt},
                      IdentCase{"ThreeDropsTheFirst", "ident = xKq\n", 'q', false, ">C005D", std::nullopt},
                      IdentCase{"FourShowsTheDigits", "ident = Kq12\n", 'q', false, ">C005D",
                                link::IdentificationDigits{1, '2' + 48}},
                      IdentCase{"FiveDropsTheFirst", "ident = xKq34\n", 'q', false, ">C005D",
                                link::IdentificationDigits{3, '4' + 48}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(IdentificationByTimeout, TheStatusReplyTellsTheFirmware) {
  TwinLinkHarness h;
  h.addTwin("ident = \"\"\n");
  ASSERT_TRUE(h.runStatus());
  // Firmware 'S' is assumed for the request; the reply's revision is used after.
  EXPECT_EQ(h.frames(), (std::vector<std::string>{framed("C", 'S'), framed("DA01D0", 'q')}));
  EXPECT_EQ(h.ctx().firmwareLetter, 'q');
  EXPECT_EQ(h.traced("* state AwaitReply").size(), 1u);
  // One status request: the held reply is decoded, not asked for again.
  EXPECT_EQ(h.steps.outcomes.size(), 1u);
  EXPECT_EQ(h.formText("RevBox"), " q");
  EXPECT_TRUE(h.prompter.messages.empty());
}

TEST(IdentificationByTimeout, AnOldLoggerIgnoresTheAddressedRequest) {
  TwinLinkHarness h;
  h.addTwin("revision = R\nident = \"\"\n");
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{"No response from logger (a)"});
  EXPECT_EQ(h.prompter.messages[0].helpTopic, 24);
  EXPECT_FALSE(h.status().has_value());
}

TEST(IdentificationByTimeout, AReceiveGetsItsOwnText) {
  TwinLinkHarness h;
  h.addTwin("revision = R\nident = \"\"\n");
  h.start(ExchangeKind::Receive);
  ASSERT_TRUE(h.runUntilEnded());
  EXPECT_EQ(h.messageTexts(),
            std::vector<std::string>{std::string("Pas réponse de   KALDO ; Pas de nouveau fichier d."_cp)});
}

TEST(Identification, ALineOfSixCharactersEndsTheExchange) {
  TwinLinkHarness h;
  h.addTwin("faults = longident:1\n");
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{"Rcvd Ack str/8 KqKqKqKq"});
  EXPECT_EQ(h.prompter.messages[0].kind, MessageKind::Error);
  EXPECT_TRUE(h.frames().empty());
}

// ---- network mode ------------------------------------------------------------------

constexpr const char* kStation12 = "address = 12\nsession = Station twelve\n";
constexpr const char* kStation5 = "address = 5\nsession = Station five\n";

struct NetworkCase {
  std::uint8_t station;
  bool autoAnswer;
  const char* statusFrame;
  const char* session;
};

class NetworkOfTwo : public ::testing::TestWithParam<NetworkCase> {};

TEST_P(NetworkOfTwo, OnlyTheAddressedLoggerAnswers) {
  const NetworkCase c = GetParam();
  TwinLinkHarness h;
  h.addTwin(kStation12);
  h.addTwin(kStation5);
  h.settings.NetworkMode = 1;
  h.settings.StationAddress = c.station;
  h.settings.AutoAnswer = c.autoAnswer ? 1 : 0;
  ASSERT_TRUE(h.runStatus());
  ASSERT_FALSE(h.frames().empty());
  EXPECT_EQ(h.frames()[0], c.statusFrame);
  ASSERT_TRUE(h.status().has_value());
  EXPECT_EQ(h.status()->session.substr(0, std::string(c.session).size()), c.session);
  EXPECT_TRUE(h.prompter.messages.empty()) << h.prompter.messages[0].text;
}

INSTANTIATE_TEST_SUITE_P(Stations, NetworkOfTwo,
                         ::testing::Values(NetworkCase{12, false, ">C0C4A", "Station twelve"},
                                           NetworkCase{5, false, ">C0558", "Station five"}));

TEST(Network, AutoAnswerFramesAddress00WhichTheLoggerAnswers) {
  TwinLinkHarness h;
  h.addTwin(kStation12);
  h.settings.NetworkMode = 1;
  h.settings.StationAddress = 12;
  h.settings.AutoAnswer = 1;
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(h.frames()[0], ">C005D");
  ASSERT_TRUE(h.status().has_value());
  EXPECT_EQ(h.status()->stationAddress, 12);
}

TEST(Network, AStationThatIsNotThereLeavesTheRequestUnanswered) {
  TwinLinkHarness h;
  h.addTwin(kStation12);
  h.settings.NetworkMode = 1;
  h.settings.StationAddress = 7;
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{std::string("Pas de réponse de KALDO (d)"_cp)});
}

// ---- station address programming ----------------------------------------------------

TEST(StationAddress, ProgrammedThenAnsweredAtTheNewAddress) {
  TwinLinkHarness h;
  h.addTwin(kStation12);
  h.next.newStationAddress = 7;
  h.start(ExchangeKind::StationAddressKind);
  ASSERT_TRUE(h.runUntilEnded());
  EXPECT_EQ(h.frames(), (std::vector<std::string>{">C005D", framed("F07")}));
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{"Station Address #7 programmed into logger."});
  EXPECT_EQ(h.outcome().kind, ExchangeKind::StationAddressKind);
  EXPECT_EQ(h.twin().state().address, 7);

  h.settings.NetworkMode = 1;
  h.settings.StationAddress = 7;
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(h.frames().back(), framed("DA01D0", 'q', 7));
  ASSERT_TRUE(h.status().has_value());
  EXPECT_EQ(h.status()->stationAddress, 7);
  EXPECT_EQ(h.formText("StationAddrBox"), " 7");
}

TEST(StationAddress, ALoggerBelowRevisionSCannotBeNetworked) {
  TwinLinkHarness h;
  h.addTwin("revision = R\n");
  h.next.newStationAddress = 7;
  h.start(ExchangeKind::StationAddressKind);
  ASSERT_TRUE(h.runUntilEnded());
  EXPECT_EQ(h.frames(), std::vector<std::string>{">CBD"});
  EXPECT_EQ(h.messageTexts(),
            std::vector<std::string>{"This Brevik Logger can not be networked.  Contact factory for upgrade."});
  EXPECT_EQ(h.twin().state().address, 0);
}

// ---- ChangeBaud ---------------------------------------------------------------------

TEST(ChangeBaud, TheLoggerFollowsToTheNewRate) {
  TwinLinkHarness h;
  h.addTwin("baud = 9600\n");
  h.next.targetBaud = 19200;
  h.start(ExchangeKind::ChangeBaud);
  ASSERT_TRUE(h.runUntilEnded());
  // Opened at 1200: the short burst wakes the logger, the command is tried at
  // each fallback until the logger's own speed.
  EXPECT_EQ(bodies(h.traced("> wake")), std::vector<std::string>{"> wake 55 5x1 @1200"});
  EXPECT_EQ(bodies(h.traced("* baud")), (std::vector<std::string>{"* baud 1200", "* baud 19200", "* baud 9600"}));
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{std::string("Appareil réglé avec  19200 baud."_cp)});
  EXPECT_EQ(h.settings.BaudRate, 19200u);
  EXPECT_EQ(h.twin().baud(), 19200u);

  // The next exchange finds the logger at its new speed.
  ASSERT_TRUE(h.runStatus());
  EXPECT_TRUE(h.status().has_value());
  EXPECT_EQ(h.prompter.messages.size(), 1u);
}

TEST(ChangeBaud, ASilentLoggerGetsEveryFallbackThenB) {
  TwinLinkHarness h;
  h.addTwin("baud = 9600\nfaults = silence:1\n");
  h.next.targetBaud = 4800;
  h.start(ExchangeKind::ChangeBaud);
  ASSERT_TRUE(h.runUntilEnded());
  EXPECT_EQ(bodies(h.traced("* baud")),
            (std::vector<std::string>{"* baud 1200", "* baud 19200", "* baud 9600", "* baud 4800", "* baud 2400",
                                      "* baud 1200"}));
  EXPECT_EQ(h.frames(), std::vector<std::string>(6, framed("ID")));
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{"No response from logger (b)"});
  EXPECT_EQ(h.prompter.messages[0].helpTopic, 26);
  EXPECT_EQ(h.settings.BaudRate, 4800u);
  // The command reached the logger at 9600 and 4800; only its answers were lost.
  EXPECT_EQ(h.twin().baud(), 4800u);
}

// ---- time-outs against a silent logger ------------------------------------------------

struct SilenceCase {
  const char* name;
  const char* profile;
  bool fast, wireless, modem;
  std::size_t requests;
  const char* request;
  std::string text;
  std::size_t wakeUps;
};

class SilentLogger : public ::testing::TestWithParam<SilenceCase> {};

TEST_P(SilentLogger, TimesOutWithTheLinksText) {
  const SilenceCase c = GetParam();
  TwinLinkHarness h;
  h.addTwin(c.profile);
  h.settings.Wireless = c.wireless ? 1 : 0;
  if (c.modem) {
    // A call already up: the port stays open at the working baud.
    h.settings.UseModem = 1;
    h.engine.setCallUp(true);
    ASSERT_TRUE(h.port.open(1, h.settings.BaudRate).ok());
  }
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(h.frames(), std::vector<std::string>(c.requests, framed(c.request)));
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{c.text});
  EXPECT_EQ(h.traced("> wake").size(), c.wakeUps);
  EXPECT_EQ(h.port.isOpen(), c.modem);
  EXPECT_FALSE(h.engine.running());
}

INSTANTIATE_TEST_SUITE_P(
    Links, SilentLogger,
    ::testing::Values(
        SilenceCase{"Direct", "faults = silence:1\n", false, false, false, 1, "C",
                    std::string("Pas de réponse de KALDO (d)"_cp), 1},
        SilenceCase{"Wireless", "faults = silence:1\n", false, true, false, 1, "B",
                    std::string("Pas de réponse de KALDO (d)"_cp), 1},
        SilenceCase{"Fast", "protocol = fast\nbaud = 19200\nfaults = silence:1\n", true, false, false, 3, "C",
                    std::string("Pas de réponse de KALDO (c)"_cp), 1},
        SilenceCase{"Modem", "faults = silence:1\n", false, false, true, 6, "B",
                    std::string("Pas de réponse de KALDO; QXcmd: 2"_cp), 6}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(SilentLogger, TheDirectTimeOutFollowsTheReplyTimeOutOfTheBaud) {
  TwinLinkHarness h;
  h.addTwin("faults = silence:1\n");
  ASSERT_TRUE(h.runStatus());
  const auto sent = h.traced("] > >C005D");
  const auto told = h.traced("] ! ");
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(told.size(), 1u);
  const auto tick = [](const std::string& l) { return std::stoi(l.substr(1)); };
  EXPECT_EQ(tick(told[0]) - tick(sent[0]), 36);
}

// ---- the reporting rule -----------------------------------------------------------

TEST(ReportingRule, EachRouteOfTheNoResponseText) {
  const std::string text = std::string("Pas de réponse de KALDO (d)"_cp);
  {
    TwinLinkHarness h;  // a message box
    h.addTwin("faults = silence:1\n");
    ASSERT_TRUE(h.runStatus());
    EXPECT_EQ(h.messageTexts(), std::vector<std::string>{text});
    EXPECT_TRUE(h.host.quits.empty());
  }
  {
    TwinLinkHarness h;  // a command-line receive logs and quits
    h.addTwin("faults = silence:1\n");
    h.next.run.commandLineReceive = true;
    ASSERT_TRUE(h.runStatus());
    EXPECT_TRUE(h.prompter.messages.empty());
    EXPECT_EQ(h.host.quits, std::vector<std::string>{text});
  }
  {
    TwinLinkHarness h;  // a command-line setup does not count for this text
    h.addTwin("faults = silence:1\n");
    h.next.run.commandLineSetup = true;
    ASSERT_TRUE(h.runStatus());
    EXPECT_EQ(h.messageTexts(), std::vector<std::string>{text});
  }
  {
    TwinLinkHarness h;  // an answered call logs and hangs up
    h.addTwin("faults = silence:1\n");
    h.next.run.answeredCall = true;
    ASSERT_TRUE(h.runStatus());
    EXPECT_TRUE(h.prompter.messages.empty());
    EXPECT_EQ(h.host.logEntries, std::vector<std::string>{text});
    EXPECT_EQ(h.host.autoAnswerHangUps, 1);
    EXPECT_EQ(h.ctx().autoAnswerCounter, 0);
  }
}

// ---- seeded faults --------------------------------------------------------------------

TEST(Faults, ARejectedStatusIsAskedForAgain) {
  TwinLinkHarness h;
  h.addTwin("faults = reject:0.5\nseed = 3\n");
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(h.steps.outcomes,
            (std::vector{protocol::StatusOutcome::Rejected, protocol::StatusOutcome::Accepted}));
  EXPECT_EQ(count(h.frames(), ">C005D"), 2u);
  EXPECT_TRUE(h.status().has_value());
  EXPECT_TRUE(h.prompter.messages.empty());
}

TEST(Faults, TwoRejectedStatusRepliesEndTheExchange) {
  TwinLinkHarness h;
  h.addTwin("faults = reject:1\n");
  ASSERT_TRUE(h.runStatus());
  ASSERT_EQ(h.prompter.messages.size(), 1u);
  EXPECT_EQ(h.prompter.messages[0].text.rfind("Invalid response from logger; Length = 254\r", 0), 0u)
      << h.prompter.messages[0].text;
  EXPECT_FALSE(h.status().has_value());
}

TEST(Faults, GarbageBeforeTheReplyIsRecoveredByTheRetry) {
  TwinLinkHarness h;
  h.addTwin("faults = garbage:0.5\nseed = 4\nschedule = 993007000000\n");
  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(h.steps.outcomes,
            (std::vector{protocol::StatusOutcome::Rejected, protocol::StatusOutcome::Accepted}));
  // The answer to the first request, late behind the noise, is dropped: the
  // status comes from the answer to the resend and the schedule from the
  // schedule's own reply.
  EXPECT_EQ(h.frames(), (std::vector<std::string>{">C005D", ">C005D", framed("DA01D0")}));
  EXPECT_EQ(h.recorder.scheduleText(), "Daily dialout at 07:30");
  EXPECT_TRUE(h.outcome().scheduleText.has_value());
  EXPECT_TRUE(h.status().has_value());
  EXPECT_TRUE(h.prompter.messages.empty());
}

TEST(Faults, ABadChecksumFailsTheStationAddressStep) {
  TwinLinkHarness h;
  h.addTwin("faults = badsum:1\n");
  h.next.newStationAddress = 9;
  h.start(ExchangeKind::StationAddressKind);
  ASSERT_TRUE(h.runUntilEnded());
  ASSERT_EQ(h.prompter.messages.size(), 1u);
  EXPECT_EQ(h.prompter.messages[0].kind, MessageKind::Error);
  EXPECT_NE(h.prompter.messages[0].text.find(" 254"), std::string::npos);
  EXPECT_EQ(h.twin().state().address, 0);
}

// ---- the configuration send ---------------------------------------------------------

class FixedParts final : public link::ConfigurationSource {
 public:
  explicit FixedParts(std::vector<std::string> parts) : parts_(std::move(parts)) {}
  Result<link::ConfigurationCommand> build(char firmwareLetter) override {
    builtFor = firmwareLetter;
    return link::ConfigurationCommand{parts_, false};
  }
  char builtFor = 0;

 private:
  std::vector<std::string> parts_;
};

std::string padded24(std::string text) {
  text.resize(24, ' ');
  return text;
}

// A labels header: session description and type codes (its clock and start
// fields are not read by the logger).
const std::string kLabelsHeader = "K" + std::string(29, '0') + "New site" + "CCCC";
const std::string kDescriptions12 = "2" + padded24("Inside") + "Outside";
const std::string kDescriptions34 = "3" + padded24("Roof") + "Cellar";

struct ConfigurationCase {
  const char* name;
  bool labelsOnly;
  bool network;
  std::string text;
};

class ConfigurationSend : public ::testing::TestWithParam<ConfigurationCase> {};

TEST_P(ConfigurationSend, EveryPartAcknowledgedAndTheNextStatusShowsIt) {
  const ConfigurationCase c = GetParam();
  TwinLinkHarness h;
  h.addTwin("address = 12\n");
  FixedParts parts({kLabelsHeader, kDescriptions12, kDescriptions34});
  h.engine.setConfigurationSource(&parts);
  h.next.labelsOnly = c.labelsOnly;
  h.settings.SetupFileName = "site.set";
  h.settings.NetworkMode = c.network ? 1 : 0;
  h.settings.StationAddress = 12;
  h.start(ExchangeKind::SendSetup);
  ASSERT_TRUE(h.runUntilEnded());
  const std::uint8_t address = c.network ? 12 : 0;
  EXPECT_EQ(parts.builtFor, 'q');
  EXPECT_EQ(h.frames(), (std::vector<std::string>{framed(kLabelsHeader, 'q', address),
                                                  framed(kDescriptions12, 'q', address),
                                                  framed(kDescriptions34, 'q', address)}));
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{c.text});

  ASSERT_TRUE(h.runStatus());
  EXPECT_EQ(h.formText("IdStatBox"), "New site");
  EXPECT_EQ(h.formText("Desc1Box"), "Inside");
  EXPECT_EQ(h.formText("Desc2Box"), "Outside");
  EXPECT_EQ(h.formText("Desc4Box"), "Cellar");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConfigurationSend,
    ::testing::Values(
        ConfigurationCase{"NewConfiguration", false, false, "EnregisKaldo  en marche nouvelle config: site.set"},
        ConfigurationCase{"InANetwork", false, true, "EnregisKaldo  station # 12 en marche nouvelle config: site.set"},
        ConfigurationCase{"LabelsOnly", true, false, "EnregisKaldo  en marche avec nouvel Echelle ou label."}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ConfigurationSend, APartTheLoggerRefusesRestartsUntilTheErrorLimit) {
  TwinLinkHarness h;
  h.addTwin("");
  const std::string tooLong = "2" + std::string(60, 'x');  // answered "ER"
  FixedParts parts({kLabelsHeader, tooLong});
  h.engine.setConfigurationSource(&parts);
  h.start(ExchangeKind::SendSetup);
  ASSERT_TRUE(h.runUntilEnded());
  // Nine refusals, each followed by part 1 again; the line after the ninth ends it.
  const auto frames = h.frames();
  EXPECT_EQ(count(frames, framed(kLabelsHeader)), 10u);
  EXPECT_EQ(count(frames, framed(tooLong)), 9u);
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{"Impossible envoi conf.(com errors)"});
  EXPECT_EQ(h.prompter.messages[0].kind, MessageKind::Warning);
}

TEST(ConfigurationSend, ASilentLoggerGetsNineTries) {
  TwinLinkHarness h;
  h.addTwin("faults = silence:1\n");
  FixedParts parts({kLabelsHeader, kDescriptions12});
  h.engine.setConfigurationSource(&parts);
  h.start(ExchangeKind::SendSetup);
  ASSERT_TRUE(h.runUntilEnded(5000));
  EXPECT_EQ(h.frames(), std::vector<std::string>(9, framed(kLabelsHeader)));
  EXPECT_EQ(h.messageTexts(),
            std::vector<std::string>{std::string("Impossible envoi configuration (pas réponse)"_cp)});
}

// ---- after the status: download, answered calls, real time ------------------------------

TEST(Receive, ALoggerWithDataStartsTheDownload) {
  TwinLinkHarness h;
  h.addTwin("");
  h.start(ExchangeKind::Receive);
  ASSERT_TRUE(h.runUntilEnded());
  EXPECT_EQ(h.steps.downloads, 1);
  EXPECT_EQ(h.frames(), std::vector<std::string>{">C005D"});
  EXPECT_TRUE(h.prompter.messages.empty());
}

struct PrecheckCase {
  const char* profile;
  std::string text;
};

class ReceiveWithNothingToFetch : public ::testing::TestWithParam<PrecheckCase> {};

TEST_P(ReceiveWithNothingToFetch, TellsWhyAndCreatesNoFile) {
  TwinLinkHarness h;
  h.addTwin(GetParam().profile);
  h.start(ExchangeKind::Receive);
  ASSERT_TRUE(h.runUntilEnded());
  EXPECT_EQ(h.steps.downloads, 0);
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{GetParam().text});
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, ReceiveWithNothingToFetch,
    ::testing::Values(
        PrecheckCase{"pointer = 0x0200\n", std::string("Pas de données    ;\rPas de fichier créé ."_cp)},
        PrecheckCase{"channels = 0\n", std::string("Pas de données    ; Tous les canaux: Off;\rPas de fichier créé ."_cp)},
        PrecheckCase{"flags = 0x04\n",
                     std::string("Pas de données    ; appareil en attente de l'heure prévue\rPas de fichier créé ."_cp)}));

TEST(AnsweredCall, AStatusCallBecomesADownloadInAnExchangeOfItsOwn) {
  TwinLinkHarness h;
  h.addTwin("");
  h.next.run.answeredCall = true;
  h.start(ExchangeKind::Status);
  ASSERT_TRUE(h.runUntilEnded());
  // Two wake-ups, two status requests, one download into the answered call's file.
  EXPECT_EQ(h.traced("> wake").size(), 2u);
  EXPECT_EQ(h.frames(), std::vector<std::string>(2, ">C005D"));
  EXPECT_EQ(h.traced("* open Receive").size(), 1u);
  EXPECT_EQ(h.steps.downloads, 1);
  EXPECT_EQ(h.ctx().dataFileName, "answered.qx1");
}

TEST(AnsweredCall, AnEmptyLoggerIsLoggedNotShown) {
  TwinLinkHarness h;
  h.addTwin("pointer = 0x0200\nsession = Site B\n");
  h.next.run.answeredCall = true;
  h.start(ExchangeKind::Status);
  ASSERT_TRUE(h.runUntilEnded());
  EXPECT_TRUE(h.prompter.messages.empty());
  ASSERT_EQ(h.host.logEntries.size(), 1u);
  EXPECT_EQ(h.host.logEntries[0].rfind(std::string("Pas de données    ;\rPas de fichier créé . Site B"_cp), 0), 0u)
      << h.host.logEntries[0];
  EXPECT_EQ(h.steps.downloads, 0);
}

TEST(RealTime, CurrentLoggersArePolledWithY) {
  TwinLinkHarness h;
  h.addTwin("");
  h.start(ExchangeKind::RealTime);
  h.ticks.advance(200);
  EXPECT_EQ(h.ctx().state, LinkState::AwaitData);
  const auto frames = h.frames();
  ASSERT_GE(frames.size(), 10u);
  EXPECT_EQ(frames[1], framed("Y"));
  EXPECT_EQ(count(frames, framed("Y")), frames.size() - 1);
  // Each answer is taken (without its ">") and asked for again.
  EXPECT_GE(h.readings.lines.size(), frames.size() - 2);
  for (const auto& line : h.readings.lines) EXPECT_TRUE(link::replyChecksumOK(line)) << line;
  EXPECT_TRUE(h.readings.failures.empty());
}

TEST(RealTime, BadChecksumsShowAnErrorAndPollingGoesOn) {
  TwinLinkHarness h;
  h.addTwin("faults = badsum:0.3\nseed = 5\n");
  h.start(ExchangeKind::RealTime);
  h.ticks.advance(400);
  EXPECT_EQ(h.ctx().state, LinkState::AwaitData);
  EXPECT_FALSE(h.readings.failures.empty());
  EXPECT_EQ(h.readings.failures.front(), "Checksum error");
  EXPECT_GE(h.readings.lines.size(), 5u);
  for (const auto& line : h.readings.lines) EXPECT_TRUE(link::replyChecksumOK(line)) << line;
  EXPECT_TRUE(h.prompter.messages.empty());
}

TEST(RealTime, OlderLoggersStreamAfterZAndAreStoppedByAWakeUp) {
  TwinLinkHarness h;
  h.addTwin("revision = O\n");
  h.start(ExchangeKind::RealTime);
  h.ticks.advance(200);
  EXPECT_EQ(h.frames(), (std::vector<std::string>{">CBD", framed("Z", 'O')}));
  EXPECT_TRUE(h.twin().streaming());
  EXPECT_GE(h.readings.lines.size(), 8u);  // one a second, unasked

  h.start(ExchangeKind::EndRealTime);
  ASSERT_TRUE(h.runUntilEnded());
  EXPECT_FALSE(h.twin().streaming());
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{"Real Time Link terminated"});
  EXPECT_EQ(h.readings.ended, 1);
  EXPECT_FALSE(h.port.isOpen());
}

TEST(RealTime, NotSupportedBelowRevisionO) {
  TwinLinkHarness h;
  h.addShippedTwin("mt53-rev-n");
  h.start(ExchangeKind::RealTime);
  ASSERT_TRUE(h.runUntilEnded());
  EXPECT_EQ(h.messageTexts(),
            std::vector<std::string>{"Real Time mode not supported in this logger; a firmware upgrade is "
                                     "available; contact factory for details."});
}

// ---- line errors and abort ---------------------------------------------------------

TEST(LineError, AWrongBaudSettingReadsNothingAndEndsInNoResponse) {
  TwinLinkHarness h;
  h.addTwin("baud = 4800\n");
  h.settings.BaudRate = 9600;  // the logger runs at 4800
  h.settings.Wireless = 1;
  ASSERT_TRUE(h.runStatus());
  EXPECT_FALSE(h.traced("* line error").empty());
  EXPECT_TRUE(h.traced("] < ").empty());
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{"No response from logger (a)"});
}

// A download that asks for the first memory line and ends at the first line
// or time-out; the memory itself is not served by the virtual logger here.
class FirstRequestDownload final : public link::DownloadSession {
 public:
  explicit FirstRequestDownload(link::ExchangeEngine& engine) : engine_(engine) {}
  void begin() {
    running_ = true;
    engine_.setState(LinkState::AwaitData);
    engine_.sendCommand("DA0200");
  }
  void onLine(std::string_view) override { finish(); }
  void onTimeout() override { finish(); }
  bool running() const override { return running_; }
  std::uint32_t blocksReceived() const override { return 0; }
  void abort() override { ++aborts; }
  int aborts = 0;

 private:
  void finish() {
    running_ = false;
    engine_.endExchange();
  }
  link::ExchangeEngine& engine_;
  bool running_ = false;
};

TEST(Abort, StopsARunningDownloadOnly) {
  TwinLinkHarness h;
  h.addTwin("");
  FirstRequestDownload download(h.engine);
  h.engine.setDownloadSession(&download);
  h.steps.beginDownload = [&] { download.begin(); };
  h.start(ExchangeKind::Receive);

  // While waking, AbortBtn changes nothing.
  h.ticks.advance(10);
  ASSERT_EQ(h.ctx().state, LinkState::AwaitWakeReply);
  h.engine.abort();
  EXPECT_FALSE(h.ctx().abortRequested);

  while (h.ctx().state != LinkState::AwaitData && h.ticks.now() < 200) h.ticks.advance(1);
  ASSERT_EQ(h.ctx().state, LinkState::AwaitData);
  EXPECT_EQ(h.frames().back(), framed("DA0200"));
  h.engine.abort();
  EXPECT_TRUE(h.ctx().abortRequested);
  EXPECT_EQ(download.aborts, 1);
  ASSERT_TRUE(h.runUntilEnded());
  EXPECT_FALSE(h.port.isOpen());
  EXPECT_FALSE(h.engine.running());
}

}  // namespace
}  // namespace brevik::testing
