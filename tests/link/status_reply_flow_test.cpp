// What follows a status reply, by exchange kind, with a scripted decode.

#include "link/status_reply_flow.h"

#include <gtest/gtest.h>

#include "engine_harness.h"
#include "protocol/download_precheck.h"

namespace brevik::testing {
namespace {

using link::ExchangeKind;
using link::LinkState;

class FakeSteps final : public link::StatusReplySteps {
 public:
  protocol::StatusDecodeResult decode(std::string_view reply) override {
    decoded.emplace_back(reply);
    protocol::StatusDecodeResult r;
    r.outcome = reply.size() < 10 ? protocol::StatusOutcome::Rejected : outcome;
    if (r.outcome == protocol::StatusOutcome::TableFailed) r.tableError = Error{ErrorKind::InvalidData, "k.Rvt: improper format"};
    r.status = status;
    return r;
  }
  void fillStatusForm(const protocol::LoggerStatus&) override { ++filled; }
  void showStatusForm() override { ++shown; }
  std::optional<std::string> csvFileName() const override { return csv; }
  Status appendReadingsLine(const std::string& fileName, const protocol::LoggerStatus&) override {
    csvWrites.push_back(fileName);
    return {};
  }
  std::string autoAnswerFileName(const protocol::LoggerStatus&) override {
    return "siteB000001.qx1";
  }
  Status startDownload(const protocol::LoggerStatus&) override {
    ++downloads;
    return {};
  }

  protocol::StatusOutcome outcome = protocol::StatusOutcome::Accepted;
  protocol::LoggerStatus status;
  std::optional<std::string> csv;
  std::vector<std::string> decoded;
  std::vector<std::string> csvWrites;
  int filled = 0, shown = 0, downloads = 0;
};

const std::string kReply = std::string(256, '1');

struct FlowHarness : EngineHarness {
  FakeSteps steps;
  link::StatusReplyFlow flow{engine, steps};

  FlowHarness() {
    settings.FastProtocol = 1;
    settings.BaudRate = 19200;
    engine.setStatusReplyHandler(&flow);
    steps.status.revision = 'q';
    steps.status.memoryPointer = 0x0800;
    steps.status.channelBits = 1;
    steps.status.activeChannels = 1;
  }
};

TEST(StatusReplyFlow, StatusAsksForTheScheduleAndShowsTheForm) {
  FlowHarness h;
  h.logger.when(">C", kReply + "\r", 2);
  h.start(ExchangeKind::Status);
  h.ticks.advance(5);
  EXPECT_EQ(h.frames().back(), EngineHarness::framed("DA01D0"));
  EXPECT_EQ(h.ctx().state, LinkState::AwaitSchedule);
  EXPECT_EQ(h.steps.filled, 1);
  EXPECT_EQ(h.steps.shown, 1);
  EXPECT_TRUE(h.host.logEntries.empty());
}

TEST(StatusReplyFlow, CsvModeWritesTheReadingsLineFirst) {
  FlowHarness h;
  h.steps.csv = "site.csv";
  h.logger.when(">C", kReply + "\r", 2);
  h.start(ExchangeKind::Status);
  h.ticks.advance(5);
  EXPECT_EQ(h.steps.csvWrites, std::vector<std::string>{"site.csv"});
  EXPECT_EQ(h.host.logEntries, std::vector<std::string>{"Data written to site.csv"});
  EXPECT_EQ(h.ctx().state, LinkState::AwaitSchedule);
}

TEST(StatusReplyFlow, RealTimeByRevisionAndModem) {
  struct Row {
    char revision;
    bool modem;
    const char* command;  // "" when refused
    const char* text;
  };
  const Row rows[] = {
      {'N', false, "",
       "Real Time mode not supported in this logger; a firmware upgrade is available; contact "
       "factory for details."},
      {'O', true, "", "Real Time is not available on this logger when using modems"},
      {'o', false, "Z", ""},
      {'p', true, "Y", ""},
  };
  for (const Row& r : rows) {
    FlowHarness h;
    h.steps.status.revision = r.revision;
    if (r.modem) {
      h.settings.UseModem = 1;
      h.engine.setCallUp(true);
      ASSERT_TRUE(h.port.open(1, 19200).ok());
    }
    h.logger.when(">", kReply + "\r", 2);
    h.start(ExchangeKind::RealTime);
    h.ticks.advance(r.modem ? 11 : 5);
    if (std::string(r.command).empty()) {
      EXPECT_EQ(h.messageTexts(), std::vector<std::string>{r.text}) << r.revision;
      EXPECT_EQ(h.ctx().kind, ExchangeKind::None);
    } else {
      EXPECT_TRUE(h.prompter.messages.empty());
      EXPECT_EQ(h.frames().back(), EngineHarness::framed(r.command)) << r.revision;
      EXPECT_EQ(h.ctx().state, LinkState::AwaitData);
      EXPECT_TRUE(h.ctx().realTime);
    }
  }
}

TEST(StatusReplyFlow, ReceiveDownloadsOrSaysWhyNot) {
  for (bool empty : {false, true}) {
    FlowHarness h;
    if (empty) h.steps.status.memoryPointer = protocol::kEmptyMemoryPointer;
    h.logger.when(">C", kReply + "\r", 2);
    h.start(ExchangeKind::Receive);
    h.ticks.advance(5);
    if (empty) {
      const auto check = protocol::downloadPrecheck(h.steps.status);
      EXPECT_EQ(h.messageTexts(), std::vector<std::string>{protocol::precheckMessage(check)});
      EXPECT_EQ(h.steps.downloads, 0);
      EXPECT_FALSE(h.port.isOpen());
    } else {
      EXPECT_EQ(h.steps.downloads, 1);
      EXPECT_TRUE(h.prompter.messages.empty());
    }
  }
}

TEST(StatusReplyFlow, AnAnsweredCallTurnsAStatusReadIntoAReceive) {
  FlowHarness h;
  h.next.run.answeredCall = true;
  h.engine.setCallUp(true);
  h.logger.when(">C", kReply + "\r", 2, true);
  h.start(ExchangeKind::Status);
  h.ticks.advance(5);
  EXPECT_EQ(h.ctx().kind, ExchangeKind::Receive);
  EXPECT_EQ(h.ctx().dataFileName, "siteB000001.qx1");
  EXPECT_EQ(h.ctx().state, LinkState::FastStart);
  h.ticks.advance(5);
  EXPECT_EQ(h.steps.downloads, 1);
  EXPECT_EQ(h.frames().size(), 2u);  // a status request in each exchange
}

TEST(StatusReplyFlow, AnAnsweredCallWithNothingToFetchLogsAndStartsTimer2) {
  FlowHarness h;
  h.next.run.answeredCall = true;
  h.engine.setCallUp(true);
  h.steps.status.activeChannels = 0;
  h.logger.when(">C", kReply + "\r", 2);
  h.start(ExchangeKind::Receive);
  h.ticks.advance(5);
  const auto check = protocol::downloadPrecheck(h.steps.status);
  EXPECT_EQ(h.host.logEntries,
            std::vector<std::string>{protocol::precheckLogLine(check, h.steps.status)});
  EXPECT_TRUE(h.prompter.messages.empty());
  EXPECT_EQ(h.ctx().kind, ExchangeKind::None);
  h.ticks.advance(18 + 655);
  EXPECT_EQ(h.ctx().kind, ExchangeKind::SendSetup);
}

TEST(StatusReplyFlow, ARejectedReplyIsAskedOnceMore) {
  FlowHarness h;
  h.logger.when(">C", "short\r", 2, true);
  h.start(ExchangeKind::Status);
  h.run();
  EXPECT_EQ(h.frames(), std::vector<std::string>(2, ">C005D"));
  EXPECT_EQ(h.messageTexts(),
            std::vector<std::string>{protocol::invalidResponseText("short", "C005D")});
  EXPECT_FALSE(h.port.isOpen());
}

// Noise ahead of the answer: the answer to the first request, even when it
// comes some ticks after the noise, is dropped, and only the answer to the
// resend is decoded.
TEST(StatusReplyFlow, AnAnswerLateBehindNoiseIsDroppedBeforeTheResend) {
  FlowHarness h;
  const std::string late(256, '1');
  const std::string fresh(256, '2');
  h.logger.when(">C", "noise\r", 2);
  h.logger.when(">C", fresh + "\r", 2);
  h.start(ExchangeKind::Status);
  for (int i = 0; i < 50 && h.frames().empty(); ++i) h.ticks.advance(1);
  ASSERT_EQ(h.frames().size(), 1u);
  h.logger.sendLater(late + "\r", 7);
  h.run();
  EXPECT_EQ(h.steps.decoded, (std::vector<std::string>{"noise", fresh}));
  EXPECT_EQ(h.frames(), (std::vector<std::string>{">C005D", ">C005D", EngineHarness::framed("DA01D0")}));
  EXPECT_TRUE(h.prompter.messages.empty());
}

TEST(StatusReplyFlow, ATableFailureIsReportedByTheOneRuleAndClosesTheLink) {
  // A box for the user, the log and the end of the program for a
  // command-line receive.
  for (const bool commandLine : {false, true}) {
    FlowHarness h;
    h.steps.outcome = protocol::StatusOutcome::TableFailed;
    h.logger.when(">C", kReply + "\r", 2);
    h.next.run.commandLineReceive = commandLine;
    h.start(ExchangeKind::Status);
    h.run();
    EXPECT_TRUE(h.ctx().scalingFailed);
    EXPECT_EQ(h.frames().size(), 1u);
    EXPECT_EQ(h.steps.shown, 0);
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_FALSE(h.outcome().succeeded);
    const link::ReportedText told{"k.Rvt: improper format",
                                  commandLine ? link::ReportedTo::LogAndQuit : link::ReportedTo::MessageBox};
    EXPECT_EQ(h.outcome().reported, std::vector<link::ReportedText>{told});
    EXPECT_EQ(h.host.quits.size(), commandLine ? 1u : 0u);
  }
}

}  // namespace
}  // namespace brevik::testing
