// Schedule replies, the reporting rule, real-time readings, receiving rules,
// abort and Timer2.

#include <gtest/gtest.h>

#include "engine_harness.h"
#include "link/reporting.h"

namespace brevik::testing {
namespace {

using link::CommandLineFlags;
using link::ExchangeKind;
using link::LinkState;
using link::ReportRoute;

void useFastLink(EngineHarness& h) {
  h.settings.FastProtocol = 1;
  h.settings.BaudRate = 19200;
}

TEST(ReportRule, RouteByCallAndCommandLineFlags) {
  struct Row {
    bool call, receive, setup;
    CommandLineFlags flags;
    ReportRoute route;
  };
  const Row rows[] = {
      {true, true, true, CommandLineFlags::None, ReportRoute::AutoAnswerLog},
      {false, true, false, CommandLineFlags::Receive, ReportRoute::LogAndQuit},
      {false, false, true, CommandLineFlags::Receive, ReportRoute::MessageBox},
      {false, false, true, CommandLineFlags::Setup, ReportRoute::LogAndQuit},
      {false, true, false, CommandLineFlags::Setup, ReportRoute::MessageBox},
      {false, false, true, CommandLineFlags::ReceiveOrSetup, ReportRoute::LogAndQuit},
      {false, true, false, CommandLineFlags::ReceiveOrSetup, ReportRoute::LogAndQuit},
      {false, true, true, CommandLineFlags::None, ReportRoute::MessageBox},
      {false, false, false, CommandLineFlags::ReceiveOrSetup, ReportRoute::MessageBox},
  };
  for (const Row& r : rows)
    EXPECT_EQ(link::routeReport(r.call, r.flags, r.receive, r.setup), r.route);
}

// A Status exchange whose status reply asks for the schedule.
void scheduleExchange(EngineHarness& h, const std::string& scheduleReply) {
  useFastLink(h);
  h.logger.when(">C", "STATUS\r", 2);
  if (!scheduleReply.empty()) h.logger.when(">DA01D0", scheduleReply, 2);
  h.replies.then = [&h](std::string_view) {
    h.engine.setState(LinkState::AwaitSchedule);
    h.engine.sendCommand("DA01D0");
  };
  h.start(ExchangeKind::Status);
  h.run();
}

TEST(Schedule, ReplyGoesToTheStatusDisplay) {
  struct Row {
    std::string reply;
    std::string text;
  };
  const Row rows[] = {{"9830073300AA99\r", "Weekly dialout: Tuesday at 07:30"},
                      {"970000002200FF\r", "Monthly dialout on the 22th at 00:00"},
                      {"0030073300AA99\r", ""}};
  for (const Row& r : rows) {
    EngineHarness h;
    h.recorder.scheduleText() = "old";
    scheduleExchange(h, r.reply);
    EXPECT_EQ(h.frames().back(), EngineHarness::framed("DA01D0"));
    EXPECT_EQ(h.recorder.scheduleText(), r.text);
    EXPECT_TRUE(h.outcome().scheduleText.has_value());
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_TRUE(h.prompter.messages.empty());
  }
}

TEST(Schedule, SilenceEndsQuietly) {
  EngineHarness h;
  scheduleExchange(h, "");
  EXPECT_EQ(h.ctx().state, LinkState::Idle);
  EXPECT_FALSE(h.outcome().scheduleText.has_value());
  EXPECT_TRUE(h.prompter.messages.empty());
  EXPECT_FALSE(h.port.isOpen());
}

TEST(Receiving, ALineErrorLeavesTheBytesUnread) {
  EngineHarness h;
  useFastLink(h);
  h.replies.then = [&h](std::string_view) { h.engine.endExchange(); };
  h.start(ExchangeKind::Status);
  h.ticks.advance(3);
  h.port.raiseLineError();
  h.port.receive("STATUS\r");
  EXPECT_EQ(h.port.bytesWaiting(), 7u);
  EXPECT_TRUE(h.replies.replies.empty());
  h.port.receive("");  // nothing arrives: nothing happens
  h.port.receive("X");
  // The next arrival reads everything waiting.
  EXPECT_EQ(h.replies.replies, std::vector<std::string>{"STATUS"});
}

TEST(Receiving, NulIsKeptAndEachCrEndsALine) {
  EngineHarness h;
  useFastLink(h);
  h.start(ExchangeKind::Status);
  h.ticks.advance(3);
  h.replies.then = [&h](std::string_view) { h.engine.sendCommand("C"); };
  h.port.receive(std::string("A\0B\rCD", 6));
  h.port.receive("E\r");
  EXPECT_EQ(h.replies.replies, (std::vector<std::string>{std::string("A\0B", 3), "CDE"}));
}

TEST(Receiving, TraceShowsWhatWentBothWays) {
  EngineHarness h;
  useFastLink(h);
  h.logger.when(">C", "S\xE9\r", 4);
  h.replies.then = [&h](std::string_view) { h.engine.endExchange(); };
  h.start(ExchangeKind::Status);
  h.run();
  const std::vector<std::string> expected = {
      "[0] * open Status",    "[0] * baud 19200",       "[0] * open COM1 @19200",
      "[0] * state FastStart", "[0] > wake 55 5x16 @19200", "[3] * timeout",
      "[3] * state AwaitReply", "[3] > >C005D",           "[7] < S\\xE9",
      "[7] * end Status",     "[7] * close",            "[7] * state Idle"};
  EXPECT_EQ(h.trace.lines, expected);
}

// ---- real time ------------------------------------------------------------------

using Readings = ReadingsRecorder;

void startReadings(EngineHarness& h, Readings& readings) {
  useFastLink(h);
  h.engine.setReadingsView(&readings);
  h.logger.when(">C", "STATUS\r", 2);
  h.replies.then = [&h](std::string_view) {
    h.engine.setState(LinkState::AwaitData);
    h.engine.sendCommand("Y");
  };
  h.start(ExchangeKind::RealTime);
}

TEST(RealTime, ReadingsAreStrippedCheckedAndTheNextOneRequested) {
  EngineHarness h;
  Readings readings;
  // twelve characters of readings, two more, and the checksum
  const std::string reading = link::frameCommand("0102030405AA00", 'R', 0);
  h.logger.when(">Y", "noise before the reading >" + reading + "\r", 2);
  h.logger.when(">Y", ">" + reading.substr(0, 12) + "00\r", 2);
  h.logger.when(">Y", "OK\r", 2);
  startReadings(h, readings);
  h.ticks.advance(3 + 2 + 2 + 2 + 2);
  EXPECT_EQ(readings.lines, std::vector<std::string>{reading});
  EXPECT_EQ(readings.failures, std::vector<std::string>{"Checksum error"});
  EXPECT_EQ(h.frames().size(), 4u);  // C, Y, Y, Y
  EXPECT_EQ(h.ctx().state, LinkState::AwaitData);
}

TEST(RealTime, FiveSilencesAskToRetryOrStop) {
  for (Answer answer : {Answer::Retry, Answer::Ok}) {
    EngineHarness h;
    Readings readings;
    h.prompter.answers.push_back(answer);
    startReadings(h, readings);
    h.ticks.advance(3 + 2);
    h.replies.then = nullptr;
    h.ticks.advance(5 * 9);  // four more requests, then the fifth silence
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.prompter.messages[0].text, "Real Time Display: Comm Failure");
    EXPECT_EQ(h.prompter.messages[0].buttons, Buttons::OkRetry);
    EXPECT_EQ(h.prompter.messages[0].helpTopic, 29);
    EXPECT_EQ(h.frames().size(), 6u);  // C and five Y
    if (answer == Answer::Retry) {
      EXPECT_EQ(h.port.openCount(), 2);
      EXPECT_EQ(h.ctx().kind, ExchangeKind::RealTime);
      EXPECT_EQ(h.ctx().state, LinkState::FastStart);
    } else {
      EXPECT_EQ(readings.ended, 1);
      EXPECT_FALSE(h.port.isOpen());
      EXPECT_FALSE(h.outcome().succeeded);
      EXPECT_EQ(h.outcome().lastText(), "Real Time Display: Comm Failure");
    }
  }
}

// ---- abort and Timer2 -----------------------------------------------------------

TEST(Abort, WhileTheModemIsSetUpHangsUpAndEnds) {
  EngineHarness h;
  h.settings.UseModem = 1;
  h.start(ExchangeKind::Status);
  h.ticks.advance(14);
  ASSERT_EQ(h.ctx().state, LinkState::ModemSetup);
  h.engine.abort();
  EXPECT_EQ(h.host.modemHangUps, 1);
  EXPECT_EQ(h.ctx().state, LinkState::Idle);
  EXPECT_FALSE(h.port.isOpen());
}

TEST(Abort, DuringADownloadStopsIt) {
  struct Download : link::DownloadSession {
    bool stopped = false;
    void onLine(std::string_view) override {}
    void onTimeout() override {}
    bool running() const override { return !stopped; }
    std::uint32_t blocksReceived() const override { return 0; }
    void abort() override { stopped = true; }
  } download;
  EngineHarness h;
  useFastLink(h);
  h.engine.setDownloadSession(&download);
  h.start(ExchangeKind::Receive);
  h.engine.abort();  // not downloading yet: nothing to stop
  EXPECT_FALSE(download.stopped);
  h.ticks.advance(3);
  h.engine.setState(LinkState::AwaitData);
  h.engine.abort();
  EXPECT_TRUE(download.stopped);
  EXPECT_TRUE(h.ctx().abortRequested);
  EXPECT_EQ(h.ctx().kind, ExchangeKind::Receive);  // the download finishes it
}

TEST(Timer2, ThirtySixSecondsLaterTheConfigurationGoesAgain) {
  EngineHarness h;
  useFastLink(h);
  h.engine.startTimer2();
  h.ticks.advance(654);
  EXPECT_EQ(h.ctx().timer2Count, 35);
  EXPECT_EQ(h.ctx().kind, ExchangeKind::None);
  h.ticks.advance(1);
  EXPECT_EQ(h.ctx().timer2Count, 36);
  EXPECT_EQ(h.ctx().kind, ExchangeKind::SendSetup);
  EXPECT_EQ(h.ctx().state, LinkState::FastStart);
}

}  // namespace
}  // namespace brevik::testing
