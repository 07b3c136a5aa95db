// Auto-answer mode on a scripted port: the preparation with its pauses, the
// connect line and the five seconds before the call is served, the hang-up
// that follows every call, and what must never start a call.

#include "program/auto_answer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "program/port_share.h"
#include "support/fake_serial_port.h"
#include "support/recording_host.h"
#include "support/scripted_observer.h"
#include "support/scripted_prompter.h"
#include "support/virtual_tick_scheduler.h"

namespace brevik::program {
namespace {

using brevik::testing::FakeSerialPort;

class RecordingView final : public AutoAnswerView {
 public:
  void answerText(std::string_view text) override { texts.emplace_back(text); }
  void callServed() override { ++served; }
  void callEnded(std::uint64_t) override { ++ended; }
  void logEntry(std::string_view text) override { log.emplace_back(text); }
  std::vector<std::string> texts;
  std::vector<std::string> log;
  int served = 0;
  int ended = 0;
};

struct AnswerFixture : ::testing::Test {
  brevik::testing::VirtualTickScheduler ticks;
  FakeSerialPort device{&ticks};
  PortShare share{device};
  brevik::testing::ScriptedObserver observer;
  brevik::testing::ScriptedPrompter prompter;
  brevik::testing::RecordingHost host;
  settings::LoggerSettings settings = [] {
    settings::LoggerSettings s;
    s.PortNumber = 2;
    s.BaudRate = 9600;
    s.UseModem = 1;
    s.AutoAnswer = 1;
    return s;
  }();
  link::ExchangeEngine engine{{share.linkPort(), ticks, observer, prompter, host}, settings};
  RecordingView view;
  AutoAnswer answer{share.answerPort(), ticks, engine, settings, view};

  AnswerFixture() {
    host.onAutoAnswerHangUp = [this] { answer.callOver(); };
  }
  bool runUntil(AutoAnswerState state, link::Ticks limit) {
    for (link::Ticks i = 0; i < limit && answer.state() != state; ++i) ticks.advance(1);
    return answer.state() == state;
  }
  // The device's events from `from` on, as "[tick] text".
  std::vector<std::string> logFrom(std::size_t from) const {
    const auto all = device.log();
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end()};
  }
};

TEST_F(AnswerFixture, PreparesWaitsAndServesTheCallFiveSecondsAfterConnectThenHangsUpAndWaitsAgain) {
  answer.enter();
  EXPECT_EQ(answer.state(), AutoAnswerState::Preparing);
  ASSERT_TRUE(runUntil(AutoAnswerState::Waiting, 100));
  EXPECT_EQ(ticks.now(), 60u);
  EXPECT_EQ(device.log(), (std::vector<std::string>{
                              "[0] open COM2 9600",
                              "[20] write +++",
                              "[40] write ATH\\x0D",
                              "[60] flush in",
                          }));
  EXPECT_EQ(view.texts, std::vector<std::string>{"WaitForConnect"});

  // What the modem says before a call is not one; a ring is not either.
  ticks.advance(40);
  device.receive("\r\nOK\r\n\r\nRING\r\nCONNECT");
  EXPECT_EQ(answer.state(), AutoAnswerState::Waiting);
  device.receive(" 9600\r\n");
  EXPECT_EQ(answer.state(), AutoAnswerState::Delay);
  EXPECT_FALSE(device.isOpen());
  EXPECT_EQ(view.texts.back(), "CONNECT 9600");

  // Timer1 counts the seconds; at five the call is served on the link port.
  const std::size_t atConnect = device.events().size();
  for (const link::Ticks at : {118u, 136u, 155u, 173u}) {
    ticks.advance(at - ticks.now());
    EXPECT_EQ(answer.state(), AutoAnswerState::Delay) << at;
  }
  EXPECT_EQ(answer.delayCount(), 4);
  ticks.advance(190 - ticks.now());
  EXPECT_EQ(answer.state(), AutoAnswerState::Delay);
  ticks.advance(1);
  EXPECT_EQ(answer.state(), AutoAnswerState::Serving);
  EXPECT_EQ(view.served, 1);
  EXPECT_TRUE(engine.running());
  EXPECT_TRUE(engine.context().autoAnswerCall());
  const auto served = logFrom(atConnect);
  ASSERT_FALSE(served.empty());
  // No DTR pulse and no dialling on an answered call: the wake-up at once.
  const auto opened = std::find_if(served.begin(), served.end(),
                                   [](const std::string& e) { return e.find("open") != std::string::npos; });
  ASSERT_NE(opened, served.end());
  EXPECT_EQ(*opened, "[191] open COM2 9600");
  for (const auto& e : served) EXPECT_EQ(e.find("dtr"), std::string::npos) << e;
  for (const auto& e : served) EXPECT_EQ(e.find("ATD"), std::string::npos) << e;

  // Nobody answers the wake-up: one line in the log, the hang-up on the
  // auto-answer port and waiting again.
  ASSERT_TRUE(runUntil(AutoAnswerState::HangingUp, 3000));
  const link::Ticks over = ticks.now();
  EXPECT_EQ(host.logEntries.size(), 1u);
  EXPECT_FALSE(engine.context().linkUp);
  const std::size_t atOver = device.events().size();
  ASSERT_TRUE(runUntil(AutoAnswerState::Waiting, 100));
  EXPECT_EQ(logFrom(atOver), (std::vector<std::string>{
                                 "[" + std::to_string(over + 20) + "] open COM2 9600",
                                 "[" + std::to_string(over + 20) + "] write +++",
                                 "[" + std::to_string(over + 40) + "] write ATH\\x0D",
                                 "[" + std::to_string(over + 60) + "] flush in",
                             }));
  EXPECT_EQ(answer.callsServed(), 1u);
  EXPECT_EQ(view.ended, 1);
  EXPECT_EQ(view.texts.back(), "WaitForConnect");
  EXPECT_TRUE(view.log.empty());
}

TEST_F(AnswerFixture, TheModemTalkingOutsideTheWaitNeverStartsASecondCall) {
  answer.enter();
  // A connect line during the preparation is the call being hung up.
  ticks.advance(30);
  device.receive("CONNECT 9600\r\n");
  ASSERT_TRUE(runUntil(AutoAnswerState::Waiting, 100));
  device.receive("CONNECT 9600\r\n");
  ASSERT_TRUE(runUntil(AutoAnswerState::Serving, 200));
  // A ring and a connect while the call is served reach the exchange only.
  ticks.advance(5);
  device.receive("\r\nRING\r\n\r\nCONNECT 2400\r\n");
  ASSERT_TRUE(runUntil(AutoAnswerState::HangingUp, 3000));
  // The modem answers +++ and ATH, and a late connect line comes while the
  // hang-up runs: none of it is a call.
  ticks.advance(25);
  device.receive("\r\nOK\r\nCONNECT 9600\r\n");
  ASSERT_TRUE(runUntil(AutoAnswerState::Waiting, 100));
  ticks.advance(2000);
  EXPECT_EQ(answer.state(), AutoAnswerState::Waiting);
  EXPECT_EQ(view.served, 1);
  EXPECT_EQ(answer.callsServed(), 1u);
  EXPECT_EQ(host.logEntries.size(), 1u);
}

TEST_F(AnswerFixture, APortThatCannotBeOpenedIsTriedAgainEveryHalfMinuteAndLoggedOnce) {
  device.refuseOpen("no such device");
  answer.enter();
  EXPECT_TRUE(answer.firstOpenFailed());
  ticks.advance(3 * AutoAnswer::kPortRetryTicks);
  EXPECT_EQ(device.openCount(), 0);
  EXPECT_EQ(view.log, std::vector<std::string>{std::string(kAnswerPortFailedText) + "no such device"});
  EXPECT_EQ(answer.state(), AutoAnswerState::Preparing);
  device.acceptOpen();
  ASSERT_TRUE(runUntil(AutoAnswerState::Waiting, AutoAnswer::kPortRetryTicks + 61));
  EXPECT_EQ(device.openCount(), 1);
  EXPECT_EQ(view.log.size(), 1u);
}

TEST_F(AnswerFixture, StoppingDuringACallCutsItHangsUpAndLeavesThePortClosed) {
  answer.enter();
  ASSERT_TRUE(runUntil(AutoAnswerState::Waiting, 100));
  device.receive("CONNECT 9600\r");
  ASSERT_TRUE(runUntil(AutoAnswerState::Serving, 200));
  ticks.advance(10);
  bool done = false;
  answer.stopAfterHangUp([&] { done = true; });
  EXPECT_FALSE(engine.running());
  EXPECT_EQ(view.log, std::vector<std::string>{std::string(kStoppedDuringCallText)});
  const std::size_t atStop = device.events().size();
  ticks.advance(59);
  EXPECT_FALSE(done);
  ticks.advance(1);
  EXPECT_TRUE(done);
  EXPECT_EQ(answer.state(), AutoAnswerState::Off);
  EXPECT_FALSE(device.isOpen());
  const auto after = logFrom(atStop);
  ASSERT_GE(after.size(), 3u);
  EXPECT_NE(after[after.size() - 3].find("write +++"), std::string::npos);
  EXPECT_NE(after[after.size() - 2].find("write ATH"), std::string::npos);
  EXPECT_NE(after.back().find("close"), std::string::npos);
  ticks.advance(5000);
  EXPECT_EQ(ticks.pending(), 0u);
}

TEST_F(AnswerFixture, LeavingTheModeForgetsTheCallAndLeavesThePortClosed) {
  answer.enter();
  ASSERT_TRUE(runUntil(AutoAnswerState::Waiting, 100));
  device.receive("CONNECT 9600\r");
  ticks.advance(30);
  answer.leave();
  EXPECT_EQ(answer.state(), AutoAnswerState::Off);
  EXPECT_FALSE(device.isOpen());
  ticks.advance(5000);
  EXPECT_FALSE(engine.running());
  EXPECT_EQ(view.served, 0);
  EXPECT_EQ(ticks.pending(), 0u);
}

}  // namespace
}  // namespace brevik::program
