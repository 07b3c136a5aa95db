// Exchange kinds after identification: silence on each kind of link, the
// configuration send, the baud change and station-address programming.

#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "engine_harness.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;
using link::LinkState;

// The fast protocol at 19200: firmware 'q', first command at tick 3,
// 9-tick reply time-out.
void useFastLink(EngineHarness& h) {
  h.settings.FastProtocol = 1;
  h.settings.BaudRate = 19200;
}

std::size_t count(const std::vector<std::string>& v, const std::string& s) {
  return static_cast<std::size_t>(std::count(v.begin(), v.end(), s));
}

// ---- silence after the status request ---------------------------------------

TEST(NoReply, DirectLinkOneRequestThenD) {
  EngineHarness h;  // normal protocol, 9600: 36 ticks
  h.logger.when(std::string(250, '\x55'), "\x80", 2);
  h.logger.when("\x80", "5q\r", 2);
  h.start(ExchangeKind::Status);
  h.run();
  EXPECT_EQ(h.frames(), std::vector<std::string>{">C005D"});
  ASSERT_EQ(h.prompter.messages.size(), 1u);
  EXPECT_EQ(h.prompter.messages[0].text, std::string("Pas de réponse de KALDO (d)"_cp));
  EXPECT_EQ(h.prompter.messages[0].helpTopic, 24);
  EXPECT_EQ(h.traced("> >C005D")[0], "[5] > >C005D");
  EXPECT_EQ(h.traced("] ! ")[0], "[41] ! Pas de r\\xE9ponse de KALDO (d)");
  EXPECT_FALSE(h.port.isOpen());
}

TEST(NoReply, FastLinkThreeRequestsThenC) {
  EngineHarness h;
  useFastLink(h);
  h.start(ExchangeKind::Status);
  h.run();
  EXPECT_EQ(h.frames(), std::vector<std::string>(3, ">C005D"));
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{std::string("Pas de réponse de KALDO (c)"_cp)});
  EXPECT_EQ(h.prompter.messages[0].helpTopic, 24);
  // the retry counter shows in the status line of the repeats
  EXPECT_EQ(count(h.observer.statusTexts, "Send:  2 >C005D"), 1u);
}

TEST(NoReply, ModemLinkSixWakeUpsOverTheCallThenQxcmd) {
  EngineHarness h;
  useFastLink(h);
  h.settings.UseModem = 1;
  h.engine.setCallUp(true);
  ASSERT_TRUE(h.port.open(1, 19200).ok());
  h.start(ExchangeKind::Receive);
  h.run();
  EXPECT_EQ(h.traced("> wake").size(), 6u);
  EXPECT_EQ(h.frames(), std::vector<std::string>(6, EngineHarness::framed("B")));
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{std::string("Pas de réponse de KALDO; QXcmd: 3"_cp)});
  EXPECT_TRUE(h.port.isOpen());  // the call stays up
  EXPECT_EQ(h.port.openCount(), 1);
}

TEST(NoReply, CommandLineReceiveLogsAndQuitsSetupDoesNot) {
  for (bool receive : {true, false}) {
    EngineHarness h;
    useFastLink(h);
    h.next.run.commandLineReceive = receive;
    h.next.run.commandLineSetup = !receive;
    h.start(ExchangeKind::Status);
    h.run();
    if (receive) {
      EXPECT_EQ(h.host.quits, std::vector<std::string>{std::string("Pas de réponse de KALDO (c)"_cp)});
      EXPECT_TRUE(h.prompter.messages.empty());
    } else {
      EXPECT_TRUE(h.host.quits.empty());
      EXPECT_EQ(h.prompter.messages.size(), 1u);
    }
  }
}

TEST(NoReply, AnAnsweredCallIsLoggedAndHungUpWithoutAMessage) {
  EngineHarness h;
  useFastLink(h);
  h.next.run.answeredCall = true;
  h.engine.setCallUp(true);
  h.start(ExchangeKind::Status);
  h.run();
  EXPECT_TRUE(h.prompter.messages.empty());
  EXPECT_EQ(h.host.logEntries, std::vector<std::string>{std::string("Pas de réponse de KALDO (c)"_cp)});
  EXPECT_EQ(h.host.autoAnswerHangUps, 1);
  EXPECT_FALSE(h.ctx().linkUp);
  EXPECT_EQ(h.ctx().autoAnswerCounter, 0);
  EXPECT_FALSE(h.port.isOpen());
}

// ---- the configuration send ---------------------------------------------------

TEST(ConfigurationSend, EveryPartAcknowledgedTakesExactlyPartCountReplies) {
  EngineHarness h;
  useFastLink(h);
  for (const char* p : {">0AAA", ">2BBB", ">3CCC", ">4DDD"}) h.logger.when(p, "OK\r", 2);
  h.start(ExchangeKind::SendSetup);
  h.run();
  const std::vector<std::string> expected = {
      EngineHarness::framed("0AAA"), EngineHarness::framed("2BBB"),
      EngineHarness::framed("3CCC"), EngineHarness::framed("4DDD")};
  EXPECT_EQ(h.frames(), expected);
  // each next part goes 4 ticks after the acknowledgement
  EXPECT_EQ(h.traced("> >2BBB")[0].substr(0, 4), "[9] ");
  EXPECT_EQ(h.messageTexts(),
            std::vector<std::string>{"EnregisKaldo  en marche nouvelle config: default.set"});
  EXPECT_EQ(h.observer.statusTexts[1], "Send:  0 " + EngineHarness::framed("0AAA"));
  EXPECT_FALSE(h.engine.running());
  EXPECT_TRUE(h.outcome().succeeded);
}

TEST(ConfigurationSend, OddAcknowledgementsAreLoggedForAnAnsweredCall) {
  EngineHarness h;
  useFastLink(h);
  h.next.run.answeredCall = true;
  h.engine.setCallUp(true);
  h.next.dataFileName = "siteB000001.qx1";
  h.logger.when(">0AAA", "OK\r", 2);
  h.logger.when(">2BBB", "KO\r", 2);
  h.logger.when(">3CCC", "O\r", 2);
  h.logger.when(">4DDD", "OK\r", 2);
  h.start(ExchangeKind::SendSetup);
  h.run();
  EXPECT_EQ(h.host.logEntries, std::vector<std::string>{"Sent siteB000001.qx1 KO,O, 0,0"});
  EXPECT_EQ(h.host.autoAnswerHangUps, 1);
  EXPECT_EQ(h.ctx().autoAnswerCounter, 0);
  EXPECT_FALSE(h.ctx().linkUp);
  EXPECT_TRUE(h.prompter.messages.empty());
}

TEST(ConfigurationSend, CommandLineSetupLogsAndQuits) {
  EngineHarness h;
  useFastLink(h);
  h.next.run.commandLineSetup = true;
  h.settings.SetupFileName = "field.set";
  h.logger.when(">", "OK\r", 2, true);
  h.start(ExchangeKind::SendSetup);
  h.run();
  EXPECT_EQ(h.host.quits, std::vector<std::string>{"Running new configuration: field.set"});
}

TEST(ConfigurationSend, AReplyWithoutOOrKRestartsFromPartOne) {
  EngineHarness h;
  useFastLink(h);
  h.configuration.parts = {"0AAA", "2BBB", "3CCC"};
  h.logger.when(">0AAA", "OK\r", 2);
  h.logger.when(">2BBB", "XX\r", 2);
  h.logger.when(">0AAA", "OK\r", 2);
  h.logger.when(">2BBB", "OK\r", 2);
  h.logger.when(">3CCC", "OK\r", 2);
  h.start(ExchangeKind::SendSetup);
  h.run();
  EXPECT_EQ(h.frames().size(), 5u);
  EXPECT_EQ(h.frames()[2], EngineHarness::framed("0AAA"));
  EXPECT_EQ(h.ctx().configurationErrorCount, 1);
  EXPECT_EQ(h.prompter.messages.size(), 1u);
}

TEST(ConfigurationSend, NineGarbledRepliesAndOneMoreLineFail) {
  EngineHarness h;
  useFastLink(h);
  h.next.run.commandLineSetup = true;
  h.logger.when(">", "XX\r", 2, true);
  h.start(ExchangeKind::SendSetup);
  h.run();
  EXPECT_EQ(h.frames(), std::vector<std::string>(10, EngineHarness::framed("0AAA")));
  EXPECT_EQ(h.host.quits, std::vector<std::string>{"Impossible envoi conf.(com errors)  9,0"});
}

TEST(ConfigurationSend, NineTimeOutsFail) {
  EngineHarness h;
  useFastLink(h);
  h.start(ExchangeKind::SendSetup);
  h.run();
  EXPECT_EQ(h.frames(), std::vector<std::string>(9, EngineHarness::framed("0AAA")));
  ASSERT_EQ(h.prompter.messages.size(), 1u);
  EXPECT_EQ(h.prompter.messages[0].text, std::string("Impossible envoi configuration (pas réponse)"_cp));
  EXPECT_EQ(h.prompter.messages[0].kind, MessageKind::Error);
}

TEST(ConfigurationSend, LabelsOnlyTexts) {
  struct Row {
    const char* ident;  // "" for the fast link ('q')
    bool garbled;
    std::string text;
  };
  const Row rows[] = {
      {"", false, "EnregisKaldo  station # 12 en marche avec nouvel Echelle ou label."},
      {"", true, "Impossible d'envoyer Echelle   /  labels"},
      {"5T\r", true,
       "Sending new scaling and/or labels is not supported by this logger.  A firmware upgrade "
       "is available; contact factory for details."},
  };
  for (const Row& r : rows) {
    EngineHarness h;
    if (std::string(r.ident).empty()) {
      useFastLink(h);
    } else {
      h.logger.when(std::string(250, '\x55'), "\x80", 2);
      h.logger.when("\x80", r.ident, 2);
    }
    h.settings.NetworkMode = 1;
    h.settings.StationAddress = 12;
    h.next.labelsOnly = true;
    h.logger.when(">", r.garbled ? "XX\r" : "OK\r", 2, true);
    h.start(ExchangeKind::SendSetup);
    h.run();
    EXPECT_EQ(h.messageTexts(), std::vector<std::string>{r.text}) << r.ident;
  }
}

// ---- baud change --------------------------------------------------------------

TEST(ChangeBaud, SilenceTriesFiveFallbackRatesThenB) {
  EngineHarness h;  // normal protocol: the port opens at 1200
  h.settings.BaudRate = 19200;
  h.next.targetBaud = 9600;
  h.start(ExchangeKind::ChangeBaud);
  EXPECT_EQ(h.traced("> wake"), std::vector<std::string>{"[0] > wake 55 5x1 @1200"});
  h.run();
  const std::string command = EngineHarness::framed("IH");
  EXPECT_EQ(h.frames(), std::vector<std::string>(6, command));
  std::vector<std::string> bauds;
  for (const auto& e : h.port.events())
    if (e.text.rfind("baud ", 0) == 0) bauds.push_back(e.text.substr(5));
  EXPECT_EQ(bauds, (std::vector<std::string>{"1200", "19200", "9600", "4800", "2400", "1200"}));
  EXPECT_EQ(count(h.observer.statusTexts, "Sending command: " + command), 5u);
  ASSERT_EQ(h.prompter.messages.size(), 1u);
  EXPECT_EQ(h.prompter.messages[0].text, "No response from logger (b)");
  EXPECT_EQ(h.prompter.messages[0].helpTopic, 26);
  EXPECT_EQ(h.settings.BaudRate, 9600u);
  EXPECT_FALSE(h.observer.display.meterShown);
}

TEST(ChangeBaud, OkAfterOtherLinesSetsTheNewRate) {
  EngineHarness h;
  useFastLink(h);
  h.next.targetBaud = 57600;
  h.logger.when(">Ip", "XX\rOK\r", 2);
  h.start(ExchangeKind::ChangeBaud);
  h.run();
  EXPECT_EQ(h.frames().size(), 1u);
  EXPECT_EQ(h.messageTexts(), std::vector<std::string>{std::string("Appareil réglé avec  57600 baud."_cp)});
  EXPECT_EQ(h.settings.BaudRate, 57600u);
}

// ---- station address ----------------------------------------------------------

TEST(StationAddress, ProgrammedWithAddressZeroFrames) {
  EngineHarness h;
  useFastLink(h);
  h.settings.NetworkMode = 1;
  h.settings.StationAddress = 5;
  h.next.newStationAddress = 12;
  h.logger.when(">C", link::frameCommand("5q", 'R', 0) + "\r", 2);
  h.logger.when(">F0C", "OK\r", 2);
  h.start(ExchangeKind::StationAddressKind);
  h.run();
  EXPECT_EQ(h.frames(), (std::vector<std::string>{">C005D", EngineHarness::framed("F0C")}));
  EXPECT_EQ(h.messageTexts(),
            std::vector<std::string>{"Station Address #12 programmed into logger."});
  EXPECT_EQ(h.outcome().kind, ExchangeKind::StationAddressKind);
  EXPECT_EQ(h.settings.StationAddress, 5);
}

TEST(StationAddress, Failures) {
  struct Row {
    const char* name;
    const char* ident;
    std::string reply;
    std::string text;
    MessageKind kind;
  };
  const Row rows[] = {
      {"old", "5R\r", link::frameCommand("5R", 'R', 0) + "\r",
       "This Brevik Logger can not be networked.  Contact factory for upgrade.",
       MessageKind::Information},
      {"checksum", "", "5q99\r", "5q99 4", MessageKind::Error},
      {"silence", "", link::frameCommand("5q", 'R', 0) + "\r", "Unable to program Station Address",
       MessageKind::Error},
  };
  for (const Row& r : rows) {
    EngineHarness h;
    if (std::string(r.ident).empty()) {
      useFastLink(h);
    } else {
      h.logger.when(std::string(250, '\x55'), "\x80", 2);
      h.logger.when("\x80", r.ident, 2);
    }
    h.next.newStationAddress = 12;
    h.logger.when(">C", r.reply, 2);
    h.start(ExchangeKind::StationAddressKind);
    h.run();
    ASSERT_EQ(h.prompter.messages.size(), 1u) << r.name;
    EXPECT_EQ(h.prompter.messages[0].text, r.text) << r.name;
    EXPECT_EQ(h.prompter.messages[0].kind, r.kind) << r.name;
    EXPECT_FALSE(h.port.isOpen()) << r.name;
  }
}

}  // namespace
}  // namespace brevik::testing
