// Identification after the wake-up: by the length of the line, by time-out,
// and through the Identify step's status reply.

#include <gtest/gtest.h>

#include "common/cp1252.h"
#include "engine_harness.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;
using link::IdentificationDigits;
using link::LinkState;

// A direct 9600 logger that answers the burst, then sends `ident`.
void wakeThenIdentify(EngineHarness& h, const std::string& ident) {
  h.logger.when(std::string(250, '\x55'), "\x80", 2);
  if (!ident.empty()) h.logger.when("\x80", ident, 2);
}

struct IdentCase {
  const char* line;
  char firmware;
  bool shortReply;
  std::optional<IdentificationDigits> digits;
  const char* firstFrame;
};

class IdentificationLineTest : public ::testing::TestWithParam<IdentCase> {};

TEST_P(IdentificationLineTest, FirmwareAndDigitsByLength) {
  const auto& c = GetParam();
  EngineHarness h;
  wakeThenIdentify(h, std::string(c.line) + "\r");
  h.start(ExchangeKind::Status);
  h.ticks.advance(10);
  EXPECT_EQ(h.ctx().firmwareLetter, c.firmware) << c.line;
  EXPECT_EQ(h.ctx().shortReply, c.shortReply) << c.line;
  EXPECT_TRUE(h.ctx().identified);
  EXPECT_EQ(h.engine.identificationDigits(), c.digits) << c.line;
  EXPECT_EQ(h.frames(), std::vector<std::string>{c.firstFrame}) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, IdentificationLineTest,
    ::testing::Values(IdentCase{"x", 'A', true, std::nullopt, ">CBD"},
                      IdentCase{"5R", 'R', false, std::nullopt, ">CBD"},
                      IdentCase{"5q", 'q', false, std::nullopt, ">C005D"},
                      // odd length: the first character goes, the third is the letter
                      IdentCase{"#5S", 'S', false, std::nullopt, ">C005D"},
                      IdentCase{"5q12", 'q', false, IdentificationDigits{1, 98}, ">C005D"},
                      IdentCase{"#5q12", 'q', false, IdentificationDigits{1, 98}, ">C005D"}));

TEST(Identification, SixCharactersOrMoreEndTheExchange) {
  EngineHarness h;
  wakeThenIdentify(h, "abcdef\r");
  h.start(ExchangeKind::Status);
  h.run();
  ASSERT_EQ(h.prompter.messages.size(), 1u);
  EXPECT_EQ(h.prompter.messages[0].text, "Rcvd Ack str/6 abcdef");
  EXPECT_EQ(h.prompter.messages[0].kind, MessageKind::Error);
  EXPECT_TRUE(h.frames().empty());
  EXPECT_FALSE(h.port.isOpen());
  EXPECT_EQ(h.ctx().kind, ExchangeKind::None);
}

TEST(Identification, OneCharacterWithoutCrCountsAtTheTimeOut) {
  EngineHarness h;
  wakeThenIdentify(h, "k");
  h.start(ExchangeKind::Status);
  h.ticks.advance(2 + 1 + 6);
  EXPECT_TRUE(h.frames().empty());
  h.ticks.advance(1);  // 7 ticks after the switch
  EXPECT_EQ(h.ctx().firmwareLetter, 'A');
  EXPECT_EQ(h.frames(), std::vector<std::string>{">CBD"});
}

std::string statusReply(std::size_t length, char revision) {
  std::string r(length, '0');
  if (length >= 250) r[249] = revision;
  return r;
}

TEST(IdentifyStep, SilenceSendsTheStatusRequestAsFirmwareS) {
  EngineHarness h;
  h.settings.NetworkMode = 1;
  h.settings.StationAddress = 12;
  wakeThenIdentify(h, "");
  h.start(ExchangeKind::Status);
  h.ticks.advance(2 + 1 + 7);
  EXPECT_EQ(h.ctx().kind, ExchangeKind::Identify);
  EXPECT_EQ(h.frames(), std::vector<std::string>{">C0C4A"});
}

TEST(IdentifyStep, AFullReplyGivesTheRevisionAndIsHandedOn) {
  EngineHarness h;
  wakeThenIdentify(h, "");
  // Noise before the reply is stripped up to the first digit.
  const std::string reply = statusReply(256, 'r');
  h.logger.when(">C", "\x11\x13" + reply + "\r", 3);
  h.replies.then = [&](std::string_view) { h.engine.endExchange(); };
  h.start(ExchangeKind::Status);
  h.run();
  EXPECT_EQ(h.ctx().firmwareLetter, 'r');
  ASSERT_EQ(h.replies.replies.size(), 1u);
  EXPECT_EQ(h.replies.replies[0], reply);
  EXPECT_EQ(h.frames().size(), 1u);  // no second status request
}

TEST(IdentifyStep, AShortReplyCountsAsFirmwareQ) {
  EngineHarness h;
  wakeThenIdentify(h, "");
  h.logger.when(">C", statusReply(251, 'E') + "\r", 3);
  h.replies.then = [&](std::string_view) { h.engine.endExchange(); };
  h.start(ExchangeKind::Status);
  h.run();
  EXPECT_EQ(h.ctx().firmwareLetter, 'q');
  EXPECT_FALSE(h.ctx().shortReply);
  EXPECT_EQ(h.replies.replies.size(), 1u);
}

TEST(IdentifyStep, ResumesASetupSendWithItsFirstPart) {
  EngineHarness h;
  wakeThenIdentify(h, "");
  h.logger.when(">C", statusReply(256, 'E') + "\r", 3);
  h.start(ExchangeKind::SendSetup);
  h.ticks.advance(40);
  EXPECT_EQ(h.ctx().kind, ExchangeKind::SendSetup);
  EXPECT_TRUE(h.ctx().shortReply);  // 'E' lies in A..G
  EXPECT_EQ(h.configuration.builtFor, 'E');
  ASSERT_EQ(h.frames().size(), 2u);
  EXPECT_EQ(h.frames()[1], EngineHarness::framed("0AAA", 'E'));
}

TEST(IdentifyStep, NoReplyEndsWithTextsByResumedKind) {
  struct Row {
    ExchangeKind kind;
    bool receiveFlag;
    std::string text;
    int help;
    bool quits;
  };
  const Row rows[] = {
      {ExchangeKind::Receive, false, std::string("Pas réponse de   KALDO ; Pas de nouveau fichier d."_cp), 0, false},
      {ExchangeKind::Receive, true, std::string("Pas réponse de   KALDO ; Pas de nouveau fichier d."_cp), 0, true},
      {ExchangeKind::Status, false, "No response from logger (a)", 24, false},
      {ExchangeKind::Status, true, "No response from logger (a)", 24, true},
  };
  for (const Row& r : rows) {
    EngineHarness h;
    h.next.run.commandLineReceive = r.receiveFlag;
    wakeThenIdentify(h, "");
    h.start(r.kind);
    h.run();
    if (r.quits) {
      EXPECT_EQ(h.host.quits, std::vector<std::string>{r.text});
      EXPECT_TRUE(h.prompter.messages.empty());
    } else {
      ASSERT_EQ(h.prompter.messages.size(), 1u);
      EXPECT_EQ(h.prompter.messages[0].text, r.text);
      EXPECT_EQ(h.prompter.messages[0].helpTopic, r.help);
    }
    EXPECT_EQ(h.frames().size(), 1u);
    EXPECT_EQ(h.ctx().kind, ExchangeKind::None);
  }
}

}  // namespace
}  // namespace brevik::testing
